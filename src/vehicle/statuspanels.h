#pragma once
// What the General Info, fuel system, power take-off, supported-PID and oxygen sensor
// panels show for the data bytes of a reply.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace zelcor {

// General Info ("0101"): lamp, stored code count and the three monitor lists.
struct GeneralInfoStatus {
    QString mil;               // "ON" or "OFF"
    int codeCount = 0;         // stored trouble codes
    QStringList continuous;    // continuous tests supported
    QStringList nonContinuous; // non-continuous tests supported
    QStringList incomplete;    // tests failed or not completed
};
GeneralInfoStatus generalInfoStatus(const QByteArray& data);

// Monitor status this drive cycle ("0141"): the monitors enabled, and of those the ones
// not completed yet.
struct DriveCycleStatus {
    QStringList enabled;
    QStringList incomplete;
};
DriveCycleStatus driveCycleStatus(const QByteArray& data);

// The monitor names: 0..2 continuous, 3..10 non-continuous; empty outside.
QString monitorName(int index);

// Fuel systems ("0103"): label i (0..4) is highlighted when bit i of A is set,
// label i + 5 when bit i of B is set.
inline constexpr int kFuelSystemLabels = 10;
std::array<bool, kFuelSystemLabels> fuelSystemHighlights(const QByteArray& data);

// The text of fuel system label i (0..9; i and i + 5 carry the same text).
QString fuelSystemLabelText(int index);

// Power take-off status ("011E").
QString powerTakeOffText(const QByteArray& data);

// PIDs supported 21h-40h ("0120"): the four bytes in decimal, separated by blanks.
QString supportBytesText(const QByteArray& data);

// Oxygen sensors ("0113"): sensor i (0..7, bank 1 sensors 1-4 then bank 2) is present
// when bit i of A is set.
inline constexpr int kOxygenSensors = 8;
std::array<bool, kOxygenSensors> oxygenSensorsPresent(const QByteArray& data);

// Name label of sensor i ("Bank 1 - Sensor 1" ...); empty outside 0..7.
QString oxygenSensorLabel(int index);

// The reading of one sensor ("0114" to "011B").
struct OxygenSensorReading {
    QString voltage;  // "0.450" (volts, no unit)
    QString fuelTrim; // "-2.3%", or "n/a" when the sensor does not trim
};
OxygenSensorReading oxygenSensorReading(const QByteArray& data);

} // namespace zelcor
