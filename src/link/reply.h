#pragma once
// A reply line of the adapter parsed and checked once, where it arrives: the controller
// that sent it, the service and parameter it answers, the data bytes after them, or why
// it is not a reply that can be trusted.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zelcor {

// How the adapter writes the header of a reply line (headers on). The numbers are the
// positions the layouts were once known by.
enum class HeaderLayout {
    Legacy = 5, // three header bytes: priority, receiver, sender ("48 6B 10 41 0C ...")
    Can11 = 2,  // an 11-bit identifier, then the length byte ("7E8 04 41 0C ...")
    Can29 = 7,  // a 29-bit identifier, then the length byte ("18DAF110 04 41 0C ...")
};

// A line without blanks rewritten so that every layout reads alike: two header digits,
// two more (on CAN the length byte), the sender's address, then the message
// ("7E80441..." -> "0704E841..."). Legacy lines are already in this form.
QString normaliseLine(const QString& line, HeaderLayout layout);

// The bytes of hex text, two digits each (either case), up to the first pair that is not
// two hex digits.
QByteArray hexBytes(QStringView text);

// True when `text` holds an even number of hex digits (either case) and nothing else.
bool isHexText(QStringView text);

// The adapter's error words, which stand where a reply should be.
const QStringList& adapterErrorWords();
// The error word `text` holds ("CAN ERROR"), empty when it holds none.
QString adapterErrorIn(const QString& text);
// `text` as a message can quote it: at most `length` characters, the unprintable ones as "?".
QString quotable(const QString& text, qsizetype length = 60);

struct Reply {
    QString text;              // the normalised line (the form recordings keep)
    int controller = -1;       // the sender's address, -1 when the line has none
    int service = -1;          // the response byte: 0x41 answers service 01
    int parameter = -1;        // the byte after it: the PID
    QByteArray data;           // the bytes after the parameter, A first (CAN: no padding)
    bool fromSelected = false; // sent by the controller the program works with
    QString problem;           // why the line cannot be trusted; empty for a sound reply

    bool isEmpty() const { return text.isEmpty(); }
    bool isSound() const { return problem.isEmpty(); }
    // The selected controller's sound answer to `service` (0x01 for "01") about `parameter`.
    bool answers(int service, int parameter) const;
    // answers(), or why not ("the reply answers 41 0D, not 41 0C").
    QString whyNotAnswer(int service, int parameter) const;
};

// Parses and checks a normalised line: hex digits only, an even count, and on CAN a
// single frame whose length byte the data fills. `selectedController` is two hex digits
// (empty for none); `layout` tells whether the line carries a length byte.
Reply parseReply(const QString& normalisedLine, const QString& selectedController = QString(),
                 HeaderLayout layout = HeaderLayout::Legacy);

} // namespace zelcor
