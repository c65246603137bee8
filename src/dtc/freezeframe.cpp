#include "dtc/freezeframe.h"

#include "base/numbers.h"
#include "obd/parameters.h"

namespace zelcor {

void FreezeFrame::clear() {
    for (qsizetype r = 1; r < rows.size(); ++r)
        rows[r] = FreezeFrameRow{};
    rows[0].value.clear();
    rows[0].visible = true;
    explanation.clear();
    problem.clear();
}

QList<int> freezeFramePids(const QByteArray& bitmapData) {
    QList<int> pids;
    int pid = 0;
    for (int i = 0; i < 4; ++i) {
        const int bits = dataByte(bitmapData, i);
        for (int bit = 7; bit >= 0; --bit) {
            ++pid;
            if ((bits >> bit & 1) && pid != 0x1C && pid != 0x1F && pid != 0x20) pids.append(pid);
        }
    }
    return pids;
}

QString freezeFrameRequest(int pid) {
    return QStringLiteral("02") + hexByte(pid) + QStringLiteral("00");
}

FreezeFrameReader::FreezeFrameReader(FreezeFrame& frame, FreezeFrameServices services)
    : frame_(frame), services_(std::move(services)) {}

bool FreezeFrameReader::start(const Reply& bitmapReply) {
    pids_.clear();
    nextPid_ = 0;
    pid_ = 0;
    row_ = 0;
    stopped_ = false;
    if (!bitmapReply.answers(0x02, 0x00)) {
        // NO DATA: nothing is stored, or the car does not offer service 02. No reply at all
        // is a lost link, not the frame's problem.
        if (adapterErrorIn(bitmapReply.text) == QLatin1String("NO DATA"))
            frame_.explanation = textWhenNoFreezeFrameIsStored;
        else if (!bitmapReply.isEmpty())
            frame_.problem = bitmapReply.whyNotAnswer(0x02, 0x00);
        return false;
    }
    pids_ = freezeFramePids(bitmapReply.data.mid(1));
    return true;
}

QString FreezeFrameReader::nextRequest() {
    pid_ = 0;
    if (stopped_ || row_ >= FreezeFrame::maxRows || nextPid_ >= pids_.size()) return {};
    pid_ = pids_[nextPid_++];
    FreezeFrameRow& row = frame_.rows[row_];
    row.label = parameterName(pid_);
    row.visible = true;
    return freezeFrameRequest(pid_);
}

void FreezeFrameReader::takeReply(const Reply& reply) {
    if (pid_ == 0 || reply.text.size() <= 8) return; // no answer: the next parameter reuses this row
    if (!reply.isSound()) {
        frame_.problem = reply.problem;
        stopped_ = true;
        pid_ = 0;
        return;
    }
    // The data after the frame number; the causing code is shown whoever sent it.
    const bool answers = pid_ == pid::freezeFrameCode || reply.answers(0x02, pid_);
    frame_.rows[row_].value = answers && services_.decode ? services_.decode(pid_, reply.data.mid(1)) : QString();
    if (pid_ == pid::freezeFrameCode) {
        // The causing code is read back from row 0, its row whenever PID 01 is not stored.
        const QString code = frame_.rows[0].value.trimmed();
        if (!code.isEmpty()) {
            frame_.explanation = services_.explain ? services_.explain(code) : QString();
        } else {
            frame_.explanation = textWhenNoFreezeFrameIsStored;
            if (frame_.rows[0].value.isEmpty()) stopped_ = true;
        }
    }
    pid_ = 0;
    ++row_;
}

} // namespace zelcor
