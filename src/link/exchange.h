#pragma once
// The conversation a diagnostic pass holds with the adapter: commands out, replies in.

#include "link/reply.h"

#include <QString>

namespace zelcor {

class Exchange {
public:
    virtual ~Exchange() = default;

    // Writes a command and waits for the adapter's prompt (at most a second).
    virtual void send(const QString& command) = 0;
    // The reply to the last command: the selected controller's line when it answered,
    // else everything received. An empty reply means the link is lost.
    virtual Reply receive() = 0;
    // Everything received within `wait` seconds, one line per controller and frame,
    // separated by CR (blanks, LF and the prompt removed): answers of several controllers.
    virtual QString receiveAll(double wait = 1.0) = 0;

    // A stop was requested: DISCONNECT, a removed device, the end of a replay or of the program.
    virtual bool stopRequested() const = 0;
    // No reply came: the adapter must be woken again before the next pass.
    virtual bool linkLost() const = 0;
    // A pass found that the car no longer answers (NO DATA to everything it asked).
    virtual void setLinkLost(bool lost) = 0;
    virtual HeaderLayout headerLayout() const = 0;

    // A command and its reply.
    Reply request(const QString& command) {
        send(command);
        return receive();
    }
};

} // namespace zelcor
