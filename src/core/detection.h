#pragma once
// Detection: the protocol, the controllers that answer, the controller the program works
// with, the parameters it supports, and from them the function list and the channel lists.

#include "link/link.h"

#include <QString>
#include <array>

namespace zelcor {

class LiveData;
class Navigation;
class TroubleCodes;
class VehicleStatus;

class Detection {
public:
    Detection(Link& link, Navigation& navigation, VehicleStatus& vehicle, TroubleCodes& codes, LiveData& live);

    // The detection pass; true when the car offers functions (the list has more than the
    // two entries of a car that answered nothing useful), false when the link must be
    // woken again.
    bool run();

    // Another controller picked in the controller list: true when the next detection must
    // switch to it.
    bool chooseController(int index);

    // The adapter's protocol description, as shown.
    const QString& protocolText() const { return protocolText_; }
    // What the adapter said to the last detection's requests (its protocol, then the
    // answers to "0100"), for an error message.
    const QString& lastAnswer() const { return lastAnswer_; }
    // The selected controller supports service 01 PID `pid` (01..40).
    bool supports(int pid) const { return pid >= 0 && pid < int(supported_.size()) && supported_[size_t(pid)]; }

private:
    void forgetEverything();
    void chooseSelectedController();
    void readSupport();
    void listSupported(int pid);
    void readSupport21To40();
    void listInformationFunctions();

    Link& link_;
    Navigation& navigation_;
    VehicleStatus& vehicle_;
    TroubleCodes& codes_;
    LiveData& live_;

    QString pendingController_;     // picked by the user, applied at the next detection
    bool controllersReady_ = false; // the controller list may be clicked
    int misses_ = 0;                // detections in a row without the selected controller
    QString protocolText_;
    QString lastAnswer_;
    std::array<bool, 0x41> supported_{};
};

} // namespace zelcor
