#include "config/setuppanel.h"

#include "base/format.h"
#include "base/numbers.h"

namespace zelcor {

SetupPanelState setupFromSettings(const Settings& s) {
    SetupPanelState p;
    p.portOption = (s.comport >= 1 && s.comport <= 8) ? s.comport - 1 : -1;
    p.srTimeText = generalNumber(s.srtime);
    p.miles = s.usemph;
    p.poundsPerMinute = s.uselbmin;
    p.noPortSearch = s.noportsearch;
    p.degreesF = s.usedegf;
    p.psi = s.usepsi;
    p.weightText = formatNumber(s.vehicleweight, QStringLiteral("###0"));
    p.initModeText = QString::number(s.initmode);
    p.debug = s.recording;
    return p;
}

void settingsFromSetup(const SetupPanelState& p, Settings& s) {
    if (p.portOption >= 0 && p.portOption <= 7)
        s.comport = qint16(p.portOption + 1);
    s.srtime = val(p.srTimeText);
    s.usemph = p.miles;
    s.uselbmin = p.poundsPerMinute;
    s.noportsearch = p.noPortSearch;
    s.usedegf = p.degreesF;
    s.usepsi = p.psi;
    s.vehicleweight = val(p.weightText);
    // A value beyond 16 bits would not survive the file; keep the old one instead.
    if (const auto mode = toInt16(val(p.initModeText)))
        s.initmode = *mode;
    s.recording = p.debug;
}

} // namespace zelcor
