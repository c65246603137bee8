#pragma once
// Text items of the vehicle information (VIN, calibration IDs, controller names): the
// characters without their padding, or why they are no text.

#include <QByteArray>
#include <QString>

namespace zelcor {

struct TextItem {
    QString text;    // padding removed; unprintable characters shown as "?"
    QString problem; // empty when every character is printable ASCII
};

// Leading and trailing 00 and FF bytes are padding; any other byte outside printable
// ASCII makes it no text.
TextItem itemText(const QByteArray& bytes);

// A calibration verification number: four bytes as eight hex digits ("5E2A91C4").
QString verificationText(const QByteArray& bytes);

} // namespace zelcor
