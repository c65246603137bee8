#pragma once
// A port for tests whose answers come from a script: every CR-ended line the program
// writes is passed to `respond`, and the answer arrives `delay` seconds later on the
// fake clock.

#include "fakeclock.h"
#include "link/port.h"

#include <QList>
#include <functional>
#include <set>

namespace zelcor::test {

class ScriptPort : public Port {
    Q_OBJECT
public:
    explicit ScriptPort(FakeClock& clock);

    std::function<QByteArray(const QByteArray& line)> respond;
    double delay = 0.002;
    std::set<int> present{1}; // port numbers that exist
    std::set<int> busy;       // port numbers another program holds
    QList<QByteArray> lines;  // every line written, without CR / LF
    QList<int> opened;        // every port number opened, in order

    bool open(int number) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(const QByteArray& bytes) override;
    qint64 bytesWaiting() override { return input_.size(); }
    QByteArray readAll() override;
    int errorNumber() const override { return error_; }
    QString errorDescription() const override { return description_; }
    QString deviceName(int number) const override { return QStringLiteral("tty%1").arg(number); }

    // Input that arrives at `when` without being asked for.
    void deliverAt(double when, const QByteArray& bytes) { pending_.append({when, bytes}); }
    void unplug();
    int openNumber() const { return number_; }

private:
    void tick();

    FakeClock& clock_;
    bool open_ = false;
    int number_ = 0;
    int error_ = 0;
    QString description_;
    QByteArray partial_;
    QByteArray input_;
    QList<QPair<double, QByteArray>> pending_;
};

} // namespace zelcor::test
