#pragma once
// A reply line of the adapter parsed once, where it arrives: the controller that sent
// it, the service and parameter it answers and the data bytes after them.

#include <QByteArray>
#include <QString>

namespace zelcor {

// How the adapter writes the header of a reply line (headers on). The numbers are the
// positions the layouts were once known by.
enum class HeaderLayout {
    Legacy = 5, // three header bytes: priority, receiver, sender ("48 6B 10 41 0C ...")
    Can11 = 2,  // an 11-bit identifier, then the length byte ("7E8 04 41 0C ...")
    Can29 = 7,  // a 29-bit identifier, then the length byte ("18DAF110 04 41 0C ...")
};

// A line without blanks rewritten so that every layout reads alike: two header digits,
// two more, the sender's address, then the message ("7E80441..." -> "0704E841...").
// Legacy lines are already in this form.
QString normaliseLine(const QString& line, HeaderLayout layout);

// The bytes of hex text, two digits each, up to the first pair that is not two hex digits.
QByteArray hexBytes(QStringView text);

struct Reply {
    QString text;              // the normalised line (the form recordings keep)
    int controller = -1;       // the sender's address, -1 when the line has none
    int service = -1;          // the response byte: 0x41 answers service 01
    int parameter = -1;        // the byte after it: the PID
    QByteArray data;           // the bytes after the parameter, A first
    bool fromSelected = false; // sent by the controller the program works with

    bool isEmpty() const { return text.isEmpty(); }
    // The selected controller's answer to `service` (0x01 for "01") about `parameter`.
    bool answers(int service, int parameter) const;
};

// Parses a normalised line; `fromSelected` tells whether `selectedController` (two hex
// digits, empty for none) sent it.
Reply parseReply(const QString& normalisedLine, const QString& selectedController = QString());

} // namespace zelcor
