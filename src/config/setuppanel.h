#pragma once
// What the setup panel's controls show, and how they are read back into the settings.

#include "config/settings.h"

#include <QString>

namespace zelcor {

struct SetupPanelState {
    int portOption = 0;      // the port buttons: button i is port i + 1; -1 when the port has none
    QString promptDelayText; // shown with no format
    bool miles = true;
    bool poundsPerMinute = false;
    bool noPortSearch = false;
    bool degreesF = true;
    bool psi = true;
    QString weightText;   // "###0"
    QString initModeText; // shown with no format
    bool debug = false;
    QString device;          // the adapter chosen by name (zelcor.ini); empty: the numbered port search
    bool fastPolling = true; // kept in zelcor.ini, not in setup.cfg
    bool fasterLine = true;  // a faster line rate for the session where the adapter takes one (zelcor.ini)
};

SetupPanelState setupFromSettings(const Settings& settings);
// Reads the controls back: numbers by the text-to-number rule; a port with no selected
// button keeps its value; an init mode beyond 16 bits keeps its value.
void settingsFromSetup(const SetupPanelState& panel, Settings& settings);
// Why the controls cannot be saved (a value outside its range), as the user reads it;
// empty when they can.
QString setupFormProblem(const SetupPanelState& panel);

} // namespace zelcor
