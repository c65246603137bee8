#pragma once
// Who a request reaches and which answers the adapter passes on: the header it sends
// requests with (AT SH) and its receive filter (AT CRA) on CAN.

#include "sim/controller.h"

#include <QByteArray>

namespace zelcor::sim {

class CanAddressing {
public:
    // AT SH: three hex digits (an 11-bit identifier), six (the low three bytes of a 29-bit
    // identifier, priority 18) or eight (all of it). False for anything else.
    bool setHeader(const QByteArray& digits);
    // AT CRA: three or eight hex digits, or none to pass every frame again.
    bool setFilter(const QByteArray& digits);
    void reset();

    // A request sent on `protocol` reaches `controller`: the functional identifier reaches
    // every controller, a physical one only the controller it names. Legacy buses ignore
    // the header here.
    bool reaches(const ControllerDefinition& controller, int protocol) const;
    // A frame with identifier `id` gets through the receive filter.
    bool passes(quint32 id, bool extended) const;

private:
    bool headerSet_ = false;
    quint32 header_ = 0;
    int headerDigits_ = 0;
    bool filterSet_ = false;
    quint32 filter_ = 0;
    bool filterExtended_ = false;
};

} // namespace zelcor::sim
