#pragma once
// How often each live-data row is asked: on every pass, every 2nd or every 10th as the
// user chose, or by itself. Left to itself, a quantity the driver moves in an instant
// (engine speed, speed, throttle, load, air flow, pedal) is asked on every pass, since
// no earlier value tells when the foot moves; any other row is asked as often as its
// value changes: an answer that comes back the same makes it wait one pass more (up to
// every 10th pass), a changed one brings it back to every pass.

#include <QByteArray>
#include <QString>
#include <array>

namespace zelcor {

// A quantity the driver moves in an instant: asked on every pass when left to itself.
bool isQuickChannel(int code);

class RowSchedule {
public:
    static constexpr int kRows = 10;
    static constexpr int kSlowest = 10;
    // The choices the live panel offers, in its order; 0 is automatic.
    static constexpr std::array<int, 4> kChoices = {0, 1, 2, 10};

    // Rows left to themselves follow their values only while this is on (fast polling,
    // where a pass is as long as what it asks); off, they are asked on every pass.
    void setAutomatic(bool automatic);
    // 0: automatic; else asked on every `interval`-th pass. The row is asked on the next pass.
    void choose(int row, int interval);
    int choice(int row) const { return rows_[size_t(row)].choice; }
    // The passes between two requests of the row now.
    int interval(int row) const;
    // The row is asked on the coming pass.
    bool due(int row) const { return rows_[size_t(row)].wait <= 0; }
    // The row was asked: `data` is the answer's bytes, `answered` false when no sound one
    // came; `quick`: its channel is one the driver moves in an instant.
    void asked(int row, const QByteArray& data, bool answered, bool quick);
    // The row's turn did not come this pass.
    void skipped(int row) { --rows_[size_t(row)].wait; }
    // A new channel or a row switched on: asked on the next pass, nothing learned.
    void restart(int row);

private:
    struct Row {
        int choice = 0;
        int automatic = 1;
        int wait = 0; // passes until its turn; due at 0 or less
        QByteArray last;
        bool known = false;
    };
    std::array<Row, kRows> rows_;
    bool automatic_ = true;
};

} // namespace zelcor
