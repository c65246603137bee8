#pragma once
// Check bytes of the legacy OBD messages.

#include <QByteArray>

namespace zelcor::sim {

// SAE J1850: CRC-8, polynomial x^8 + x^4 + x^3 + x^2 + 1, start value FF, result inverted.
quint8 j1850Crc(const QByteArray& bytes);
// ISO 9141-2 and ISO 14230-4: the sum of all bytes, modulo 256.
quint8 additiveSum(const QByteArray& bytes);

} // namespace zelcor::sim
