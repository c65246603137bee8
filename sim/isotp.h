#pragma once
// ISO 15765-2 segmentation: how one diagnostic message travels as eight-byte CAN frames.

#include <QByteArray>
#include <QList>

namespace zelcor::sim::isotp {

// The longest message a first frame can announce.
constexpr int maxLength = 4095;

// A single frame when the message fits in seven bytes, otherwise a first frame (six data
// bytes) and consecutive frames (seven each) whose sequence numbers run 1..F, 0, 1, ...
// Every frame is eight bytes long, the unused tail filled with `padding`.
QList<QByteArray> segment(const QByteArray& message, quint8 padding = 0x00);

// The message carried by a single frame or by a first frame and its consecutive frames;
// empty with *ok false when the frames do not form one message.
QByteArray reassemble(const QList<QByteArray>& frames, bool* ok = nullptr);

} // namespace zelcor::sim::isotp
