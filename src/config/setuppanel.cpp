#include "config/setuppanel.h"

#include "base/format.h"
#include "base/numbers.h"

namespace zelcor {

SetupPanelState setupFromSettings(const Settings& s) {
    SetupPanelState p;
    p.portOption = (s.startPort >= 1 && s.startPort <= 8) ? s.startPort - 1 : -1;
    p.promptDelayText = generalNumber(s.promptDelay);
    p.miles = s.milesPerHour;
    p.poundsPerMinute = s.poundsPerMinute;
    p.noPortSearch = s.noPortSearch;
    p.degreesF = s.fahrenheit;
    p.psi = s.psi;
    p.weightText = formatNumber(s.vehicleWeight, QStringLiteral("###0"));
    p.initModeText = QString::number(s.initMode);
    p.debug = s.debugTrace;
    return p;
}

QString setupFormProblem(const SetupPanelState& p) {
    const double delay = leadingNumber(p.promptDelayText);
    if (!(delay >= 0 && delay <= kMaxPromptDelay))
        return QStringLiteral("SR Time must be between 0 and %1 seconds.").arg(kMaxPromptDelay);
    return {};
}

void settingsFromSetup(const SetupPanelState& p, Settings& s) {
    if (p.portOption >= 0 && p.portOption <= 7) s.startPort = qint16(p.portOption + 1);
    s.promptDelay = leadingNumber(p.promptDelayText);
    s.milesPerHour = p.miles;
    s.poundsPerMinute = p.poundsPerMinute;
    s.noPortSearch = p.noPortSearch;
    s.fahrenheit = p.degreesF;
    s.psi = p.psi;
    // Saved in range, as setup.cfg brings it into range when it is read.
    s.vehicleWeight = qBound(0.0, leadingNumber(p.weightText), 9999.0);
    // A value beyond 16 bits would not survive the file; keep the old one instead.
    if (const auto mode = toInt16(leadingNumber(p.initModeText))) s.initMode = *mode;
    s.debugTrace = p.debug;
}

} // namespace zelcor
