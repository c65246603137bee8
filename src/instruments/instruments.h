#pragma once
// The instruments: the tachometer panel, and the speedometer panel with its acceleration
// timer, and the passes that move their needles.

#include "instruments/accelerationtest.h"
#include "instruments/dials.h"
#include "link/passcontext.h"

#include <QObject>
#include <QString>

namespace zelcor {

// What the two panels show.
struct InstrumentPanels {
    double speedValue = 0;                      // the speedometer needle's value, in speedUnit
    DialUnit speedUnit = DialUnit::KPH;         // the unit of the last speed shown (MPH or KPH)
    QString speedReadout = QStringLiteral("0"); // the speed as digits
    double engineSpeedValue = 0;                // the tachometer needle's value
    QString engineSpeedReadout = QStringLiteral("0");
    QString startText = QStringLiteral("0"); // the acceleration test's start speed entry
    QString endText = QStringLiteral("60");  // and its end speed entry
    AccelerationTest test;
};

class Instruments : public QObject {
    Q_OBJECT
public:
    const InstrumentPanels& panels() const { return panels_; }

    // One request each; a reply that does not answer leaves the needle where it is.
    void readEngineSpeed(PassContext& pass);
    void readVehicleSpeed(PassContext& pass);

    // The needles: the speedometer in mph or km/h, the tachometer in rpm.
    void showSpeed(double value, DialUnit unit);
    void showEngineSpeed(double rpm);

    // The acceleration test's entries and Reset/Arm.
    void setStartText(const QString& text) { panels_.startText = text; }
    void setEndText(const QString& text) { panels_.endText = text; }
    void arm(bool milesPerHour);

signals:
    void speedChanged();
    void engineSpeedChanged();

private:
    std::optional<Reply> ask(PassContext& pass, int pid);

    InstrumentPanels panels_;
};

} // namespace zelcor
