#include "sim/checksum.h"

namespace zelcor::sim {

quint8 j1850Crc(const QByteArray& bytes) {
    quint8 crc = 0xFF;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80) ? quint8((crc << 1) ^ 0x1D) : quint8(crc << 1);
    }
    return quint8(~crc);
}

quint8 additiveSum(const QByteArray& bytes) {
    quint8 sum = 0;
    for (const char c : bytes)
        sum = quint8(sum + quint8(c));
    return sum;
}

} // namespace zelcor::sim
