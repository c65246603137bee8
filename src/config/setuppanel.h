#pragma once
// What the setup panel's controls show, and how they are read back into the settings.

#include "config/settings.h"

#include <QString>

namespace zelcor {

struct SetupPanelState {
    int portOption = 0;        // Option1: element i = port i + 1; -1 when the port has no button
    QString srTimeText;        // Text11, shown with no format
    bool miles = true;         // Option2
    bool poundsPerMinute = false; // Option3
    bool noPortSearch = false; // Check3
    bool degreesF = true;      // Option4
    bool psi = true;           // Option5
    QString weightText;        // Text19, "###0"
    QString initModeText;      // Text18, shown with no format
    bool debug = false;        // Check8
};

SetupPanelState setupFromSettings(const Settings& settings);
// Reads the controls back. No validation: numbers by the text-to-number rule; a port
// with no selected button keeps its value; an init mode beyond 16 bits keeps its value.
void settingsFromSetup(const SetupPanelState& panel, Settings& settings);

} // namespace zelcor
