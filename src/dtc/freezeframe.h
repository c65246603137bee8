#pragma once
// Reading frame 0 of the selected controller's freeze frame (service 02) into the panel's rows.

#include "link/reply.h"

#include <QList>
#include <QString>
#include <functional>

namespace zelcor {

// One label/value pair of the freeze frame panel.
struct FreezeFrameRow {
    QString label; // parameter name
    QString value; // decoded value
    bool visible = false;
};

// What the freeze frame panel shows. Rows are filled from 0 up; row 0 holds the code
// that caused the freeze frame.
struct FreezeFrame {
    static constexpr int rowCount = 29; // rows that exist
    static constexpr int maxRows = 22;  // rows ever filled (0 to 21)

    QList<FreezeFrameRow> rows = QList<FreezeFrameRow>(rowCount);
    QString explanation; // explanation of the causing code, or textWhenNoFreezeFrameIsStored
    QString problem;     // why the frame could not be read (damaged replies); empty when it was

    FreezeFrame() { rows[0].visible = true; }
    // Empties the panel before a read: rows 1 on empty and hidden, row 0's value and the
    // explanation empty; row 0 stays visible and keeps its label.
    void clear();
};

// What the freeze-frame panel and the reports show when the car stores no freeze frame.
inline const QString textWhenNoFreezeFrameIsStored = QStringLiteral("THERE IS NO FREEZE FRAME DATA STORED");
// What the explanation says when the frame could not be read, before the reason.
inline const QString unreadableFreezeFrameText = QStringLiteral("Freeze frame could not be read: ");

// Request for the bit map of the parameters stored in frame 0.
inline const QString freezeFrameBitmapRequest = QStringLiteral("020000");

// The parameters flagged in the bit map of the reply to "020000" (the data bytes after
// the frame number), PIDs 01 to 20 hex in order, without 1C, 1F and 20, which are never read.
QList<int> freezeFramePids(const QByteArray& bitmapData);

// The request for one stored parameter of frame 0: "02", the PID in two hex digits, "00".
QString freezeFrameRequest(int pid);

// What reading needs from the rest of the program.
struct FreezeFrameServices {
    std::function<QString(int pid, const QByteArray& data)> decode; // display text of a parameter's bytes
    std::function<QString(const QString& code)> explain;            // explanation of a trouble code
};

// Reads the stored parameters one request at a time:
//   frame.clear(); send freezeFrameBitmapRequest;
//   if (reader.start(reply))
//       for (QString r = reader.nextRequest(); !r.isEmpty(); r = reader.nextRequest())
//           reader.takeReply(exchange(r));
// A parameter that does not answer leaves its row to the next one. When the causing
// code reads as empty, no further parameters are requested.
class FreezeFrameReader {
public:
    FreezeFrameReader(FreezeFrame& frame, FreezeFrameServices services);

    // Takes the reply to "020000"; false when it is not the selected controller's sound
    // answer (nothing to read; NO DATA shows that no frame is stored, a damaged or refused
    // answer is the frame's problem).
    bool start(const Reply& bitmapReply);
    // The next request to send, after naming and showing the row that will take its value;
    // empty when the read is complete.
    QString nextRequest();
    // Takes the reply to the request last returned by nextRequest(). A damaged reply ends
    // the read: the frame's problem says why.
    void takeReply(const Reply& reply);

private:
    FreezeFrame& frame_;
    FreezeFrameServices services_;
    QList<int> pids_;
    qsizetype nextPid_ = 0;
    int pid_ = 0; // PID of the request awaiting its reply, 0 when none
    int row_ = 0; // row the next value goes into
    bool stopped_ = false;
};

} // namespace zelcor
