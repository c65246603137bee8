#include "scriptport.h"

namespace zelcor::test {

ScriptPort::ScriptPort(FakeClock& clock) : clock_(clock) {
    clock_.addTicker([this] { tick(); });
}

bool ScriptPort::open(int number) {
    opened.append(number);
    error_ = 0;
    description_.clear();
    if (!present.count(number)) {
        error_ = int(PortError::InvalidPort);
        description_ = QStringLiteral("Invalid port number");
        return false;
    }
    if (busy.count(number)) {
        error_ = int(PortError::PortOpen);
        description_ = QStringLiteral("Port already open");
        return false;
    }
    open_ = true;
    number_ = number;
    input_.clear();
    return true;
}

void ScriptPort::write(const QByteArray& bytes) {
    if (!open_) return;
    partial_ += bytes;
    int cr;
    while ((cr = partial_.indexOf('\r')) >= 0) {
        QByteArray line = partial_.left(cr);
        partial_ = partial_.mid(cr + 1);
        line.replace("\n", "");
        lines.append(line);
        if (respond) {
            const QByteArray answer = respond(line);
            if (!answer.isEmpty()) pending_.append({clock_.now() + delay, answer});
        }
    }
}

QByteArray ScriptPort::readAll() {
    QByteArray out = input_;
    input_.clear();
    return out;
}

void ScriptPort::unplug() {
    error_ = int(PortError::DeviceRemoved);
    description_ = QStringLiteral("Device removed");
    emit removed();
}

void ScriptPort::tick() {
    bool arrived = false;
    for (int i = 0; i < pending_.size();) {
        if (pending_[i].first <= clock_.now()) {
            if (open_) {
                input_ += pending_[i].second;
                arrived = true;
            }
            pending_.removeAt(i);
        } else {
            ++i;
        }
    }
    if (arrived) emit readyRead();
}

} // namespace zelcor::test
