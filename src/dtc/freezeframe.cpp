#include "dtc/freezeframe.h"

#include "base/numbers.h"

namespace zelcor {

void FreezeFrame::clear() {
    for (qsizetype r = 1; r < rows.size(); ++r)
        rows[r] = FreezeFrameRow{};
    rows[0].value.clear();
    rows[0].visible = true;
    explanation.clear();
}

bool isFreezeFrameBitmapReply(const QString& reply, const QString& ecuaddr) {
    return reply.mid(4, 6) == ecuaddr + QLatin1String("4200");
}

QList<int> freezeFramePids(const QString& bitmapReply) {
    QList<int> pids;
    int pid = 0;
    for (int i = 0; i < 4; ++i) {
        const int bits = hexByteAt(bitmapReply, 13 + 2 * i);
        for (int bit = 7; bit >= 0; --bit) {
            ++pid;
            if ((bits >> bit & 1) && pid != 0x1C && pid != 0x1F && pid != 0x20) pids.append(pid);
        }
    }
    return pids;
}

QString freezeFrameRequest(int pid) {
    return QStringLiteral("02") + hex2(pid) + QStringLiteral("00");
}

QString asServiceOneReply(const QString& reply) {
    QString line = reply;
    if (line.size() >= 8) line[7] = QLatin1Char('1');
    line.remove(10, 2);
    return line;
}

FreezeFrameReader::FreezeFrameReader(FreezeFrame& frame, FreezeFrameServices services)
    : frame_(frame), services_(std::move(services)) {}

bool FreezeFrameReader::start(const QString& bitmapReply, const QString& ecuaddr) {
    pids_.clear();
    nextPid_ = 0;
    pid_ = 0;
    row_ = 0;
    stopped_ = false;
    if (!isFreezeFrameBitmapReply(bitmapReply, ecuaddr)) return false;
    pids_ = freezeFramePids(bitmapReply);
    return true;
}

QString FreezeFrameReader::nextRequest() {
    pid_ = 0;
    if (stopped_ || row_ >= FreezeFrame::maxRows || nextPid_ >= pids_.size()) return {};
    pid_ = pids_[nextPid_++];
    FreezeFrameRow& row = frame_.rows[row_];
    row.label = services_.pidname ? services_.pidname(pid_) : QString();
    row.visible = true;
    return freezeFrameRequest(pid_);
}

void FreezeFrameReader::takeReply(const QString& reply) {
    if (pid_ == 0 || reply.size() <= 8) return; // no answer: the next parameter reuses this row
    frame_.rows[row_].value = services_.decodepid ? services_.decodepid(pid_, asServiceOneReply(reply)) : QString();
    if (pid_ == 0x02) {
        // The causing code is read back from row 0, its row whenever PID 01 is not stored.
        const QString code = frame_.rows[0].value.trimmed();
        if (!code.isEmpty()) {
            frame_.explanation = services_.explaincode ? services_.explaincode(code) : QString();
        } else {
            frame_.explanation = noFreezeFrameText;
            if (frame_.rows[0].value.isEmpty()) stopped_ = true;
        }
    }
    pid_ = 0;
    ++row_;
}

bool readFreezeFrame(FreezeFrame& frame, const QString& ecuaddr,
                     const std::function<QString(const QString& command)>& exchange,
                     const FreezeFrameServices& services) {
    frame.clear();
    FreezeFrameReader reader(frame, services);
    if (!reader.start(exchange(freezeFrameBitmapRequest), ecuaddr)) return false;
    for (QString request = reader.nextRequest(); !request.isEmpty(); request = reader.nextRequest())
        reader.takeReply(exchange(request));
    return true;
}

} // namespace zelcor
