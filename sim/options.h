#pragma once
// What the simulated adapter and car are, and the faults they show on request.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace zelcor::sim {

// Every fault is deterministic (the same options and the same times give the same bytes)
// and may be switched on and off while the simulator runs. "Every n-th" counts from the
// start: 0 = never, 1 = always. Faults of the answers to OBD requests count OBD requests
// (the first request is number 1); the others count every answer.
struct Options {
    QString profile = QStringLiteral("can11");
    int protocol = 0;        // protocol the car speaks (1..9); 0 = the profile's own
    bool realTiming = false; // answer times, adapter waits and serial line time as on a real adapter
    double latencyMs = 0;    // extra delay on everything the adapter sends

    // The adapter and the car.
    bool silentAdapter = false; // reads commands, never answers (not even the echo)
    bool silentVehicle = false; // the adapter works, no controller ever answers
    int garbageEvery = 0;       // every n-th answer starts with junk bytes
    int missingPromptEvery = 0; // every n-th answer lacks its ">"
    int unplugAfter = 0;        // the device goes away after n OBD requests (0 = never)

    // Damaged answers to OBD requests: every message of every n-th answer.
    // Short data: the bytes after those that repeat the request (service, parameter and
    // frame number) are lost between bus and serial line, the framing the car sent is
    // kept. So a CAN frame's length byte, and an ISO 14230 format byte, announce bytes
    // that never come ("7E8 04 41 0C", without headers "41 0C"); a segmented message ends
    // after its first frame ("7E8 10 14 49 02"); a legacy message loses its check byte
    // too ("48 6B 10 41 0C").
    int shortDataEvery = 0;
    int oddDigitsEvery = 0; // the last data byte loses its second digit: "41 0C 1A F"
    int nonHexEvery = 0;    // the last data byte's last nonHexDigits digits become 'Z': "41 0C 1A 8Z"
    int nonHexDigits = 1;   // 1 or 2 ("41 0C 1A ZZ")
    // Hex in lower case, headers included ("7e8 06 41 00 be 3f a8 13"); words such as
    // NO DATA stay as they are.
    bool lowercase = false;
    bool ignoreHeaders = false; // ATH1 is acknowledged, the answers still come without headers
    // Every n-th answer is held up on the way for lateSeconds: the adapter itself is done
    // and takes the next command at once, so the late answer arrives in the middle of
    // later exchanges.
    int lateEvery = 0;
    double lateSeconds = 10;
    // After the first errorAfter OBD requests, the answers to the trouble code and freeze
    // frame reads (services 03, 07, 02), or with errorOnAll to every OBD request, are this
    // error word (one of errorWords(); empty: off) instead: "CAN ERROR\r\r>".
    QByteArray errorWord;
    int errorAfter = 0;
    bool errorOnAll = false;
    // Segmented CAN answers that end early: the first frame announces segmentAnnounce
    // bytes (up to 4095; applies when that is more than the message has), and only the
    // first segmentFrames frames come (0 = all).
    int segmentAnnounce = 0;
    int segmentFrames = 0;
    // After the first floodAfter OBD requests, each OBD request is answered by its
    // answer's lines over and over, floodKilobytes kB (1000 bytes) per simulated second
    // (0 = off), never a prompt, until the client writes again: that character stops it
    // as it stops any request ("STOPPED"). With the adapter's timing on, the serial line
    // carries what it can and the rest is lost.
    int floodKilobytes = 0;
    int floodAfter = 0;
    // A hostile peer rather than an adapter: from the start, pseudo-random bytes without
    // end at garbageFloodKilobytes kB per simulated second (no serial line slows them),
    // commands never read; every 64 KiB the banner, a sound answer to 0100 and a prompt
    // are mixed in.
    bool garbageFlood = false;
    int garbageFloodKilobytes = 8000;

    // Line feeds after carriage returns after a reset (the adapter's LF pin).
    bool linefeedsByDefault = true;

    // Adapters as they are sold. The seconds below are the quirk itself, so they apply
    // with and without the adapter's real timing.
    QByteArray banner;            // what ATZ, ATWS and ATI print (empty: the chip's own)
    QByteArray commandSet;        // "1.0" .. "1.4": commands of later versions answer "?" (empty: all)
    QByteArrayList refused;       // AT commands answered "?": "ATAT", "ATCAF"; "ATSH3" the three-byte header
    QByteArray strayBeforeBanner; // bytes a reset sends ahead of its banner ("\xFC", "+CONNECTING<<...>>")
    QByteArray strayAfterBanner;  // and right after it
    double resetSilence = 0;      // ATZ stays silent this long before its banner
    bool resetHangsUp = false;    // ATZ drops a TCP client (the Wi-Fi module restarts with the chip)
    bool silentSettings = false;  // ATE, ATL and ATH answered with an empty line, no OK
    bool stickyEcho = false;      // ATE0 acknowledged, the echo stays
    bool stickyLinefeeds = false; // ATL0 acknowledged, the line feeds stay
    enum class ResponseCount { Honoured, Ignored, OneMore };
    ResponseCount responseCount = ResponseCount::Honoured; // the digit after a request
    double searchSeconds = 0;        // an automatic search shows SEARCHING... this long before the car answers
    int busInitFailures = 0;         // the first n K-line initialisations end in BUS INIT: ...ERROR
    bool stopOnAnyCharacter = false; // any character during a request stops it, a line feed after its CR too
    int bufferBytes = 0;             // answers longer than this end in BUFFER FULL at 38400 baud or less (0: never)
    // Sleep: sleepAfter seconds after the ignition came on (or, with sleepWhenIdle, after
    // the client's last character) the adapter says sleepWord and sleeps: characters are
    // lost for asleepSeconds, then the next one wakes it and it restarts as on ATZ.
    double sleepAfter = 0; // 0: never
    bool sleepWhenIdle = false;
    double asleepSeconds = 0;
    QByteArray sleepWord = QByteArrayLiteral("LP ALERT");
    double ignitionAfter = 0; // the car answers only from this long after the start
    // The ignition goes off this long after the start, for ignitionOffSeconds (0: never).
    double ignitionOffAfter = 0;
    double ignitionOffSeconds = 0;
    bool unlistedVehicleInfo = false; // no controller answers 09 00, the items themselves are answered
    double idleHangUp = 0;            // a TCP client is dropped after this long without a character (0: never)
    int baud = 38400;                 // the adapter's line rate at power-up; a client at another rate reads junk
    int lineFailsAbove = 0;           // above this rate only the banner comes through intact (0: any rate works)
};

// The words with which a sleeping adapter says it goes.
inline QByteArrayList sleepWords() {
    return {"ACT ALERT", "LP ALERT", "LV RESET"};
}

// The words with which the adapter reports a failed request, as it prints them.
inline QByteArrayList errorWords() {
    return {"?",   "ACT ALERT", "BUFFER FULL", "BUS BUSY", "BUS ERROR", "CAN ERROR", "DATA ERROR", "<DATA ERROR",
            "ERR", "FB ERROR",  "LP ALERT",    "LV RESET", "NO DATA",   "<RX ERROR", "STOPPED",    "UNABLE TO CONNECT"};
}

// Options for a transport that runs on the real clock: the adapter's own timing is on.
inline Options realTimeOptions(const QString& profile = QStringLiteral("can11")) {
    Options options;
    options.profile = profile;
    options.realTiming = true;
    return options;
}

} // namespace zelcor::sim
