#include "sim/vehicle.h"

#include "sim/protocol.h"

namespace zelcor::sim {

Vehicle::Vehicle(const Profile& profile, int protocol) : profile_(profile), protocol_(profile.protocol) {
    if (protocol_ != 0 && protocol >= firstVehicleProtocol && protocol <= lastVehicleProtocol) protocol_ = protocol;
    for (const ControllerDefinition& definition : profile_.controllers)
        controllers_.append(Controller(definition));
}

bool Vehicle::canTrafficAt(int protocol) const {
    return protocol_ != 0 && isCan(protocol_) && isCan(protocol) &&
           protocolInfo(protocol_).kbits == protocolInfo(protocol).kbits;
}

QList<Vehicle::Reply> Vehicle::request(const QByteArray& request, int protocol, double time, int sequence,
                                       const std::function<bool(const ControllerDefinition&)>& reaches) {
    QList<Reply> replies;
    if (!answersOn(protocol)) return replies;
    const bool can = isCan(protocol);
    for (int i = 0; i < controllers_.size(); ++i) {
        const ControllerDefinition& definition = controllers_[i].definition();
        if (reaches && !reaches(definition)) continue;
        // A little jitter, the same for the same request number.
        const double jitter = double((sequence * 7 + i * 3) % 5) * 0.0006;
        const double delay = (can ? definition.canDelay : definition.legacyDelay) + jitter;
        const QList<QByteArray> messages = controllers_[i].answer(request, can, time + delay);
        if (!messages.isEmpty()) replies.append({i, delay, messages});
    }
    return replies;
}

} // namespace zelcor::sim
