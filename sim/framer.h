#pragma once
// How the adapter prints what it received from the vehicle: hex bytes with or without
// blanks, with or without headers, CAN frames and legacy (J1850, ISO 9141, ISO 14230)
// messages.

#include <QByteArray>

namespace zelcor::sim {

struct PrintFormat {
    bool headers = false; // header bytes, CAN PCI byte and check byte shown
    bool spaces = true;   // a blank between bytes
};

// One byte of a frame printed wrong (a damaged adapter): the byte at `index` shows `text`
// instead of its two digits.
struct Misprint {
    qsizetype index = -1; // -1: none
    QByteArray text;
};

// Upper-case hex pairs, separated by blanks when `spaces`.
QByteArray hexText(const QByteArray& bytes, bool spaces);

// A legacy message as it travels on the bus: three header bytes, the data, the check byte.
// J1850 PWM: 41 6B src; J1850 VPW and ISO 9141-2: 48 6B src; ISO 14230-4: format byte
// (80 + data length), F1, src. J1850 carries a CRC, the ISO protocols a sum.
QByteArray legacyFrame(int protocol, quint8 source, const QByteArray& data);

// The printed line of a legacy frame (no line end): all of it with headers, else the data
// (all after the header when the frame lacks its check byte, `checked` false).
QByteArray legacyLine(const QByteArray& frame, const PrintFormat& format, const Misprint& misprint = {},
                      bool checked = true);

// The printed form of one received CAN frame (eight bytes, PCI first). With headers: the
// identifier, the PCI byte and the data (a single frame only up to its length). Without:
// a single frame shows its data; a first frame shows the message length on a line of its
// own, then "0:" and its data; a consecutive frame shows its sequence digit, ":" and data.
// Lines are separated by `eol`; no line end after the last.
QByteArray canLines(quint32 id, bool extended, const QByteArray& frame, const PrintFormat& format,
                    const QByteArray& eol, const Misprint& misprint = {});

} // namespace zelcor::sim
