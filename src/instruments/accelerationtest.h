#pragma once
// The speed panel's acceleration timer, and the speed and engine speed values of its passes.

#include <QByteArray>
#include <QString>

namespace zelcor {

// Miles per hour in one km/h.
inline constexpr double mphPerKmh = 0.62137;

// Times how long the vehicle takes from a start speed to an end speed, from the speed
// samples of the speed pass. Speeds are kept in km/h, as the vehicle reports them.
class AccelerationTest {
public:
    // Reset/Arm: reads the start and end speed entries (in mph when `milesPerHour`), shows
    // "Ready" and waits for the start speed. The start speed is at least 1 (a standing
    // start begins at the first sample showing movement), the end speed at most 255.
    void arm(const QString& startText, const QString& endText, bool milesPerHour);

    // One speed sample `kmh` taken at clock reading `now` (seconds).
    void sample(int kmh, double now);

    QString elapsedText() const { return elapsedText_; } // elapsed seconds, or "Ready"
    QString spreadText() const { return spreadText_; }   // uncertainty of the time in seconds
    bool armed() const { return armed_; }
    bool running() const { return running_; }
    int startSpeed() const { return startSpeed_; } // km/h
    int endSpeed() const { return endSpeed_; }     // km/h

private:
    bool armed_ = false;
    bool running_ = false;
    int startSpeed_ = 1;
    int endSpeed_ = 255;
    double startTime_ = 0.0;
    double lastTime_ = 0.0; // last sample below the end speed
    QString elapsedText_ = QStringLiteral("0.0");
    QString spreadText_ = QStringLiteral("0.0");
};

// Engine speed in rpm from the data bytes of a reply to "010C": A and B as an unsigned
// number, divided by 4 and rounded, halves to even.
int engineSpeed(const QByteArray& data);

// Vehicle speed in km/h from the data bytes of a reply to "010D": byte A.
int vehicleSpeed(const QByteArray& data);

// The value the speedometer needle shows for `kmh`: km/h, or whole mph when `milesPerHour`.
int speedNeedleValue(int kmh, bool milesPerHour);

} // namespace zelcor
