#pragma once
// What the engine-speed and speed panels show.

#include "instruments/accelerationtest.h"
#include "instruments/dials.h"

#include <QString>

namespace zelcor {

struct InstrumentPanels {
    double speedValue = 0;                      // the speedometer needle's value, in speedUnit
    DialUnit speedUnit = DialUnit::KPH;         // the unit of the last speed shown (MPH or KPH)
    QString speedReadout = QStringLiteral("0"); // Label14
    double rpmValue = 0;                        // the tachometer needle's value
    QString rpmReadout = QStringLiteral("0");   // Label23
    QString startText = QStringLiteral("0");    // Text6
    QString endText = QStringLiteral("60");     // Text7
    AccelerationTest test;                      // Text8 and Text9 come from it
};

} // namespace zelcor
