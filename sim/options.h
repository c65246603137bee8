#pragma once
// What the simulated adapter and car are, and the faults they show on request.

#include <QString>

namespace zelcor::sim {

struct Options {
    QString profile = QStringLiteral("can11");
    int protocol = 0;        // protocol the car speaks (1..9); 0 = the profile's own
    bool realTiming = false; // answer times, adapter waits and serial line time as on a real adapter
    double latencyMs = 0;    // extra delay on everything the adapter sends

    // Faults.
    bool silentAdapter = false; // reads commands, never answers (not even the echo)
    bool silentVehicle = false; // the adapter works, no controller ever answers
    int garbageEvery = 0;       // every n-th answer starts with junk bytes (0 = never, 1 = always)
    int missingPromptEvery = 0; // every n-th answer lacks its ">" (0 = never, 1 = always)
    int unplugAfter = 0;        // the device goes away after n OBD requests (0 = never)

    // Line feeds after carriage returns after a reset (the adapter's LF pin).
    bool linefeedsByDefault = true;
};

// Options for a transport that runs on the real clock: the adapter's own timing is on.
inline Options realTimeOptions(const QString& profile = QStringLiteral("can11")) {
    Options options;
    options.profile = profile;
    options.realTiming = true;
    return options;
}

} // namespace zelcor::sim
