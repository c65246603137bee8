#pragma once
// The simulated car on its diagnostic bus: which protocol it speaks, and which of its
// controllers answer a request, how soon and with what.

#include "sim/controller.h"
#include "sim/profiles.h"

#include <QList>
#include <functional>

namespace zelcor::sim {

class Vehicle {
public:
    // `protocol` overrides the profile's own (1..9); 0 keeps it. A profile without a car
    // stays without one.
    Vehicle(const Profile& profile, int protocol);

    const Profile& profile() const { return profile_; }
    // The protocol the car speaks; 0 when no vehicle is there.
    int protocol() const { return protocol_; }
    // The car answers on `protocol` right now.
    bool answersOn(int protocol) const { return protocol_ != 0 && protocol == protocol_ && !silent_; }
    // Something drives a CAN bus at the bit rate of `protocol`, answering or not.
    bool canTrafficAt(int protocol) const;
    // Controllers stop answering (a fault), or answer again.
    void setSilent(bool silent) { silent_ = silent; }

    QList<Controller>& controllers() { return controllers_; }
    const QList<Controller>& controllers() const { return controllers_; }

    struct Reply {
        int controller; // index in controllers()
        double delay;   // seconds from the end of the request to the first message
        QList<QByteArray> messages;
    };
    // The replies to `request` sent on `protocol` at drive time `time`, in controller order.
    // `sequence` numbers the requests (it varies the answer times a little). Only the
    // controllers `reaches` accepts hear it (all when it is empty).
    QList<Reply> request(const QByteArray& request, int protocol, double time, int sequence,
                         const std::function<bool(const ControllerDefinition&)>& reaches = {});

private:
    Profile profile_;
    int protocol_ = 0;
    bool silent_ = false;
    QList<Controller> controllers_;
};

} // namespace zelcor::sim
