#include "obd/parameters.h"

#include "base/format.h"
#include "base/numbers.h"
#include "obd/troublecode.h"

#include <QtGlobal>
#include <array>
#include <iterator>

namespace zelcor {

namespace {

double percentOfByte(int a) {
    return a * 100.0 / 255.0;
}

// Data bytes A and B as one unsigned 16-bit number.
int word(const QByteArray& d) {
    return dataByte(d, 0) * 256 + dataByte(d, 1);
}

QString text(double x, const char* pattern) {
    return formatNumber(x, QString::fromLatin1(pattern));
}

// A reading with a round gauge: value, needle position, decimals, units and range.
Decoded gauge(const QString& text, double value, double needle, int decimals, const char* units, const char* range) {
    Decoded d;
    d.text = text;
    d.value = value;
    d.needle = needle;
    d.decimals = decimals;
    d.units = QString::fromLatin1(units);
    d.range = QString::fromLatin1(range);
    return d;
}

// A reading that is only text.
Decoded textOnly(const QString& text) {
    Decoded d;
    d.text = text;
    return d;
}

// A reading with a number but no gauge.
Decoded number(const QString& text, double value) {
    Decoded d;
    d.text = text;
    d.value = value;
    return d;
}

// --- decoders, one per way of reading the bytes ---

Decoded freezeFrameCode(const QByteArray& d, bool) {
    const QString code = troubleCodeText(word(d));
    return textOnly(code.isEmpty() ? QString() : code + QStringLiteral("   "));
}

Decoded fuelSystem(const QByteArray& d, bool) {
    Decoded out = textOnly(fuelSystemStatusText(dataByte(d, 0), dataByte(d, 1)));
    out.decimals = -1;
    return out;
}

Decoded percent(const QByteArray& d, bool) {
    const double pct = percentOfByte(dataByte(d, 0));
    return gauge(text(pct, "##0.0") + QLatin1Char('%'), pct, pct, 1, "%", "0.0~100.0");
}

Decoded temperature(int a, bool fahrenheit, double fahrenheitNeedleFactor, const char* celsiusPattern) {
    if (fahrenheit) {
        const double f = (a - 40) * 9.0 / 5.0 + 32.0;
        return gauge(text(f, "##0.0") + QStringLiteral(" deg F"), f, percentOfByte(a) * fahrenheitNeedleFactor, 1,
                     "deg F", "-40.0~419.0");
    }
    return gauge(text(a - 40, celsiusPattern) + QStringLiteral(" deg C"), a - 40, percentOfByte(a), 1, "deg C",
                 "-40.0~215.0");
}

// The Fahrenheit dials span -40..310 (coolant) and -40..200 (intake air).
Decoded coolant(const QByteArray& d, bool f) {
    return temperature(dataByte(d, 0), f, 1.311, "##0.0");
}
Decoded intakeAir(const QByteArray& d, bool f) {
    return temperature(dataByte(d, 0), f, 1.9125, "##0");
}

Decoded fuelTrim(const QByteArray& d, bool) {
    const int a = dataByte(d, 0);
    const double trim = a * 100.0 / 128.0 - 100.0;
    return gauge(text(trim, "##0.0") + QLatin1Char('%'), trim, percentOfByte(a), 1, "%", "0.0~100.0");
}

Decoded fuelPressure(const QByteArray& d, bool psi) {
    const int a = dataByte(d, 0);
    if (psi) {
        const double p = a * 3 * 0.14504;
        return gauge(text(p, "##0.00") + QStringLiteral(" psiG"), p, percentOfByte(a), 1, "psiG", "0.0~111.0");
    }
    return gauge(generalNumber(a * 3) + QStringLiteral(" kPaG"), a * 3, percentOfByte(a), 0, "kPaG", "0~765");
}

Decoded absolutePressure(const QByteArray& d, bool inchesOfMercury) {
    const int a = dataByte(d, 0);
    if (inchesOfMercury) {
        const double inhg = a / 3.386;
        return gauge(text(inhg, "##0.00") + QStringLiteral(" inHg"), inhg, percentOfByte(a), 1, "inHg", "0.0~75.3");
    }
    return gauge(generalNumber(a) + QStringLiteral(" kPaA"), a, percentOfByte(a), 0, "kPaA", "0~255");
}

Decoded engineSpeed(const QByteArray& d, bool) {
    const int raw = word(d);
    const double rpm = roundHalfEven(raw / 4.0);
    return gauge(generalNumber(rpm) + QStringLiteral(" RPM"), rpm, raw * 100.0 / 65536.0 * 1.6384, 0, "RPM", "0~16384");
}

Decoded vehicleSpeed(const QByteArray& d, bool mph) {
    const int a = dataByte(d, 0);
    const double miles = a * 0.621371192;
    const QString shown =
        generalNumber(a) + QStringLiteral(" km/h    ") + text(miles, "##0.0") + QStringLiteral(" MPH");
    if (mph) return gauge(shown, roundHalfEven(miles), percentOfByte(a), 0, "MPH", "0~158");
    return gauge(shown, a, percentOfByte(a), 0, "km/h", "0~255");
}

Decoded timingAdvance(const QByteArray& d, bool) {
    const int a = dataByte(d, 0);
    const double deg = a / 2.0 - 64.0;
    return gauge(text(deg, "0.0") + QStringLiteral(" deg"), deg, percentOfByte(a), 1, "deg", "-64.0~63.5");
}

Decoded airFlow(const QByteArray& d, bool poundsPerMinute) {
    const int raw = word(d);
    const double needle = raw * 100.0 / 65536.0;
    if (poundsPerMinute) {
        const double lbmin = raw / 100.0 * 0.132277;
        return gauge(text(lbmin, "0.00") + QStringLiteral(" lb/min"), lbmin, needle, 2, "lb/min", "0.00~86.69");
    }
    const double gs = raw / 100.0;
    return gauge(text(gs, "0.00") + QStringLiteral(" gm/sec"), gs, needle, 2, "gm/sec", "0.00~655.35");
}

Decoded secondaryAir(const QByteArray& d, bool) {
    return textOnly(secondaryAirText(dataByte(d, 0)));
}

Decoded oxygenVoltage(const QByteArray& d, bool) {
    const int a = dataByte(d, 0);
    const int b = dataByte(d, 1);
    const double volts = a * 0.005;
    QString t = text(volts, "0.000") + QStringLiteral(" V");
    if (b != 255) t += QStringLiteral(",   Fuel Trim: ") + text(b * 100.0 / 128.0 - 100.0, "##0.0") + QLatin1Char('%');
    return gauge(t, volts, percentOfByte(a), 3, "V", "0.0~327.675");
}

Decoded runTime(const QByteArray& d, bool) {
    return number(text(word(d), "##0") + QStringLiteral(" sec"), word(d));
}

Decoded distance(const QByteArray& d, bool) {
    return number(text(word(d), "0.0") + QStringLiteral(" km"), word(d));
}

Decoded railPressure(const QByteArray& d, bool) {
    const double kpa = word(d) * 0.079;
    return number(text(kpa, "0.00") + QStringLiteral(" kPa"), kpa);
}

// The needle follows the whole 16-bit reading, so it spans the full range.
Decoded railGaugePressure(const QByteArray& d, bool psi) {
    const double needle = word(d) * 100.0 / 65536.0;
    if (psi) {
        const double p = word(d) * 10 * 0.14504;
        return gauge(text(p, "0.0") + QStringLiteral(" psiG"), p, needle, 1, "psiG", "0.0~95051.9");
    }
    const double kpa = word(d) * 10.0;
    return gauge(text(kpa, "0") + QStringLiteral(" kPa (gauge)"), kpa, needle, 0, "kPaG", "0~655350");
}

Decoded lambda(const QByteArray& d, bool) {
    const double l = word(d) * 0.0000305;
    return gauge(text(l, "0.000"), l, percentOfByte(dataByte(d, 0)), 3, "-", "0.0~2.0");
}

// The offset centres 0 % at mid-scale; it must not push -100 % below the dial.
Decoded egrError(const QByteArray& d, bool) {
    const int a = dataByte(d, 0);
    const double error = a * 0.78125 - 100.0;
    return gauge(text(error, "##0.00") + QLatin1Char('%'), error, qMax(0.0, percentOfByte(a) - 0.19), 1, "%",
                 "-100.0~100.0");
}

Decoded count(const QByteArray& d, bool) {
    return number(generalNumber(dataByte(d, 0)), dataByte(d, 0));
}

Decoded vaporPressure(const QByteArray& d, bool inchesOfWater) {
    const double pa = qint16(quint16(word(d))) / 4.0;
    if (inchesOfWater) {
        const double inh2o = pa / 249.0893;
        return number(text(inh2o, "0.00") + QStringLiteral(" inH2O"), inh2o);
    }
    return number(text(pa, "0.00") + QStringLiteral(" Pa"), pa);
}

// Catalyst temperatures are listed but not shown: no text, a value of 0.
Decoded notShown(const QByteArray&, bool) {
    return number(QString(), 0);
}

// --- scales ---

constexpr Scales kNoScale{};
constexpr Scales kPercent = same({"%", 0, 100, 5, 10, 0});
constexpr Scales kPercentOneDecimal = same({"%", 0, 100, 5, 10, 1});
constexpr Scales kTrim = same({"%", -100, 100, 10, 20, 0});
constexpr Scales kTrimChannel = same({"%", -100, 100, 10, 20, 1});
constexpr Scales kOxygenVoltage = same({"V", 0, 1.275, 0.05, 0.1, 1});
constexpr Scales kLambdaChannel = same({"-", 0, 2, 0.05, 0.1, 3});
constexpr Scales kLambdaGauge = same({"-", 0, 2, 0.1, 0.2, 1});
constexpr Scales kPressureGauge765{{"kPaG", 0, 765, 10, 50, 0}, {"psiG", 0, 111, 2, 10, 0}};
constexpr Scales kDistance = same({"km", 0, 0, 5, 10, 0});

using U = UnitChoice;
using L = Listing;

// One row per parameter, by PID; the derived channels last.
// The 2B name keeps its historic spelling: saved reports and logs carry it.
constexpr Parameter kParameters[] = {
    // clang-format off
    {0x01, "General Info", nullptr, 4, U::None, nullptr, kNoScale, nullptr, kNoScale, nullptr, L::None, 0},
    {0x02, "Freeze Frame DTC", freezeFrameCode, 2, U::None, nullptr, kNoScale, nullptr, kNoScale, nullptr, L::None, 0},
    {0x03, "Fuel System Status", fuelSystem, 2, U::None, "Fuel System Status", same({"", 0, 16, 1, 1, -1}), nullptr, kNoScale, nullptr, L::ChannelLast, 0},
    {0x04, "Calculated Load", percent, 1, U::None, "Calculated Load", kPercentOneDecimal, "Calculated Load", kPercent, " Calculated Load Value ", L::ChannelLast, 0},
    {0x05, "Engine Coolant Temp", coolant, 1, U::Temperature, "Engine Coolant Temp", {{"deg C", -40, 215, 5, 20, 1}, {"deg F", -40, 310, 5, 20, 1}}, "Engine Coolant Temp", {{"deg C", -40, 215, 5, 20, 0}, {"deg F", -40, 310, 5, 20, 0}}, " Engine Coolant Temp ", L::ChannelLast, 0},
    {0x06, "Fuel Trim B1 ST", fuelTrim, 1, U::None, "Short Term Fuel Trim Bank 1", kTrimChannel, "Short Term Fuel Trim Bank 1", kTrim, " Short term Fuel Trim - Bank 1 ", L::ChannelLast, 0},
    {0x07, "Fuel Trim B1 LT", fuelTrim, 1, U::None, "Long Term Fuel Trim Bank 1", kTrimChannel, "Long Term Fuel Trim Bank 1", kTrim, " Long term Fuel Trim - Bank 1 ", L::ChannelLast, 0},
    {0x08, "Fuel Trim B2 ST", fuelTrim, 1, U::None, "Short Term Fuel Trim Bank 2", kTrimChannel, "Short Term Fuel Trim Bank 2", kTrim, " Short term Fuel Trim - Bank 2 ", L::ChannelLast, 0},
    {0x09, "Fuel Trim B2 LT", fuelTrim, 1, U::None, "Long Term Fuel Trim Bank 2", kTrimChannel, "Long Term Fuel Trim Bank 2", kTrim, " Long term Fuel Trim - Bank 2 ", L::ChannelLast, 0},
    {0x0A, "Fuel Pressure (gage)", fuelPressure, 1, U::Pressure, "Fuel Pressure", {{"kPaG", 0, 765, 10, 50, 0}, {"psiG", 0, 111, 2, 10, 1}}, "Fuel Pressure", kPressureGauge765, " Fuel Pressure ", L::ChannelLast, 0},
    {0x0B, "Intake Manifold Pres", absolutePressure, 1, U::Pressure, "Intake Manifold Pres", {{"kPaG", 0, 255, 10, 50, 0}, {"inHg", 0, 75, 2, 10, 1}}, "Manifold Pressure", {{"kPaG", 0, 255, 10, 50, 0}, {"inHg", 0, 75, 2, 10, 0}}, " Intake Manifold Absolute Pressure ", L::ChannelLast, 0},
    {0x0C, "Engine RPM", engineSpeed, 2, U::None, "RPM", same({"1/min", 0, 8000, 2, 10, 0}), "RPM", same({"x100/min", 0, 100, 2, 10, 0}), nullptr, L::FunctionAndChannelFirst, 0},
    {0x0D, "Vehicle Speed", vehicleSpeed, 1, U::Speed, "Speed", {{"km/h", 0, 255, 5, 20, 0}, {"MPH", 0, 158.5, 5, 10, 0}}, "Speed", {{"km/h", 0, 255, 5, 20, 0}, {"MPH", 0, 158.5, 5, 10, 0}}, nullptr, L::FunctionAndChannelFirst, 0},
    {0x0E, "Ignition Timing", timingAdvance, 1, U::None, "Timing Advance", same({"deg", -64, 63.5, 2, 10, 1}), "Timing Advance", same({"deg", -64, 63.5, 2, 10, 0}), " Ignition Timing Advance for #1 cylinder (not including mech adv) ", L::ChannelFirst, 0},
    {0x0F, "Intake Air Temp", intakeAir, 1, U::Temperature, "Intake Air Temp", {{"deg C", -40, 215, 5, 20, 1}, {"deg F", -40, 200, 5, 20, 1}}, "Intake Air Temp", {{"deg C", -40, 215, 5, 20, 0}, {"deg F", -40, 200, 5, 20, 0}}, " Intake Air Temp ", L::ChannelFirst, 0},
    {0x10, "MAF Air Flow Rate", airFlow, 2, U::AirFlow, "MAF Air Flow", {{"gm/sec", 0, 655.35 / 2, 10, 50, 2}, {"lb/min", 0, 86.7 / 2, 2, 10, 2}}, "MAF Air Flow", {{"gm/sec", 0, 655.35 / 2, 10, 50, 0}, {"lb/min", 0, 86.7 / 2, 2, 10, 0}}, " Air Flow Rate from MAF sensor ", L::ChannelFirst, 0},
    {0x11, "Throttle Pos Sensor", percent, 1, U::None, "Throttle Position", kPercentOneDecimal, "Throttle Position", kPercent, " Absolute Throttle Position Sensor ", L::ChannelFirst, 0},
    {0x12, "Secondary Air Status", secondaryAir, 1, U::None, nullptr, kNoScale, nullptr, kNoScale, " Commanded Secondary Air Status ", L::ChannelLast, 0},
    {0x13, "Oxygen Sensors", nullptr, 1, U::None, nullptr, kNoScale, nullptr, kNoScale, nullptr, L::Function, 0},
    {0x14, "O2S Bank 1 Sensor 1", oxygenVoltage, 2, U::None, "O2S Voltage\r\nBank 1 Sensor 1", kOxygenVoltage, "O2S Voltage\nBank 1 Sensor 1", kOxygenVoltage, nullptr, L::ChannelLast, 0},
    {0x15, "O2S Bank 1 Sensor 2", oxygenVoltage, 2, U::None, "O2S Voltage\r\nBank 1 Sensor 2", kOxygenVoltage, "O2S Voltage\nBank 1 Sensor 2", kOxygenVoltage, nullptr, L::ChannelLast, 0},
    {0x16, "O2S Bank 1 Sensor 3", oxygenVoltage, 2, U::None, "O2S Voltage\r\nBank 1 Sensor 3", kOxygenVoltage, "O2S Voltage\nBank 1 Sensor 3", kOxygenVoltage, nullptr, L::ChannelLast, 0},
    {0x17, "O2S Bank 1 Sensor 4", oxygenVoltage, 2, U::None, "O2S Voltage\r\nBank 1 Sensor 4", kOxygenVoltage, "O2S Voltage\nBank 1 Sensor 4", kOxygenVoltage, nullptr, L::ChannelLast, 0},
    {0x18, "O2S Bank 2 Sensor 1", oxygenVoltage, 2, U::None, "O2S Voltage\r\nBank 2 Sensor 1", kOxygenVoltage, "O2S Voltage\nBank 2 Sensor 1", kOxygenVoltage, nullptr, L::ChannelLast, 0},
    {0x19, "O2S Bank 2 Sensor 2", oxygenVoltage, 2, U::None, "O2S Voltage\r\nBank 2 Sensor 2", kOxygenVoltage, "O2S Voltage\nBank 2 Sensor 2", kOxygenVoltage, nullptr, L::ChannelLast, 0},
    {0x1A, "O2S Bank 2 Sensor 3", oxygenVoltage, 2, U::None, "O2S Voltage\r\nBank 2 Sensor 3", kOxygenVoltage, "O2S Voltage\nBank 2 Sensor 3", kOxygenVoltage, nullptr, L::ChannelLast, 0},
    {0x1B, "O2S Bank 2 Sensor 4", oxygenVoltage, 2, U::None, "O2S Voltage\r\nBank 2 Sensor 4", kOxygenVoltage, "O2S Voltage\nBank 2 Sensor 4", kOxygenVoltage, nullptr, L::ChannelLast, 0},
    {0x1C, "OBD Designation", nullptr, 1, U::None, "", kPercent, nullptr, kNoScale, nullptr, L::None, 0},
    {0x1D, "", nullptr, 1, U::None, "", kPercent, nullptr, kNoScale, nullptr, L::None, 0},
    {0x1E, "Aux Input Status", nullptr, 1, U::None, "", kPercent, nullptr, kNoScale, " Power Take-Off (PTO) Status ", L::Function, 0},
    {0x1F, "Time since start", runTime, 2, U::None, "", kPercent, nullptr, kNoScale, nullptr, L::None, 0},
    {0x20, "PIDs supported (21h-40h)", nullptr, 4, U::None, "", kPercent, nullptr, kNoScale, " pids supported ", L::Function, 0},
    {0x21, "Distance with MIL", distance, 2, U::None, "Dist with MIL", kDistance, nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x22, "Fuel Pres (rel)", railPressure, 2, U::None, "", kPercent, nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x23, "Fuel Pres (diesel)", railGaugePressure, 2, U::Pressure, "", kPercent, "Fuel Pres Diesel", kPressureGauge765, nullptr, L::FunctionAndChannelLast, 0},
    {0x24, "O2S1 Lambda", lambda, 2, U::None, "Wideband O2S1 Lambda", kLambdaChannel, "Wideband\nO2S1 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x25, "O2S2 Lambda", lambda, 2, U::None, "Wideband O2S2 Lambda", kLambdaChannel, "Wideband\nO2S2 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x26, "O2S3 Lambda", lambda, 2, U::None, "Wideband O2S3 Lambda", kLambdaChannel, "Wideband\nO2S3 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x27, "O2S4 Lambda", lambda, 2, U::None, "Wideband O2S4 Lambda", kLambdaChannel, "Wideband\nO2S4 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x28, "O2S5 Lambda", lambda, 2, U::None, "Wideband O2S5 Lambda", kLambdaChannel, "Wideband\nO2S5 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x29, "O2S6 Lambda", lambda, 2, U::None, "Wideband O2S6 Lambda", kLambdaChannel, "Wideband\nO2S6 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x2A, "O2S7 Lambda", lambda, 2, U::None, "Wideband O2S7 Lambda", kLambdaChannel, "Wideband\nO2S7 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x2B, "O2S8 Lamdba", lambda, 2, U::None, "Wideband O2S8 Lambda", kLambdaChannel, "Wideband\nO2S8 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x2C, "Commanded EGR", percent, 1, U::None, "Commanded EGR", kPercent, "Commanded EGR", kPercent, nullptr, L::FunctionAndChannelLast, 0},
    {0x2D, "EGR Error", egrError, 1, U::None, "EGR Error", same({"%", -100, 100, 5, 10, 0}), "EGR Error", kTrim, nullptr, L::FunctionAndChannelLast, 0},
    {0x2E, "Commanded Evap Purge", percent, 1, U::None, "Commanded EVAP", kPercent, "Commanded Evap Purge", kPercent, nullptr, L::FunctionAndChannelLast, 0},
    {0x2F, "Fuel Level input", percent, 1, U::None, "Fuel level", kPercent, "Fuel Level Input", kPercent, nullptr, L::FunctionAndChannelLast, 0},
    {0x30, "Warmups since code clear", count, 1, U::None, "Warmups since code clear", same({"#", 0, 0, 5, 10, 0}), nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x31, "Dist since code clear", distance, 2, U::None, "Dist since code clear", kDistance, nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x32, "Evap Vapor Pres", vaporPressure, 2, U::Pressure, "", kPercent, nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x33, "Baro Pres", absolutePressure, 1, U::Pressure, "Baro press", same({"inHg", 0, 0, 5, 10, 0}), nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x34, "O2S1 Lambda", lambda, 2, U::None, "Wideband O2S1 Lambda", kLambdaChannel, "Wideband\nO2S1 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x35, "O2S2 Lambda", lambda, 2, U::None, "Wideband O2S2 Lambda", kLambdaChannel, "Wideband\nO2S2 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x36, "O2S3 Lambda", lambda, 2, U::None, "Wideband O2S3 Lambda", kLambdaChannel, "Wideband\nO2S3 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x37, "O2S4 Lambda", lambda, 2, U::None, "Wideband O2S4 Lambda", kLambdaChannel, "Wideband\nO2S4 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x38, "O2S5 Lambda", lambda, 2, U::None, "Wideband O2S5 Lambda", kLambdaChannel, "Wideband\nO2S5 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x39, "O2S6 Lambda", lambda, 2, U::None, "Wideband O2S6 Lambda", kLambdaChannel, "Wideband\nO2S6 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x3A, "O2S7 Lambda", lambda, 2, U::None, "Wideband O2S7 Lambda", kLambdaChannel, "Wideband\nO2S7 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x3B, "O2S8 Lambda", lambda, 2, U::None, "Wideband O2S8 Lambda", kLambdaChannel, "Wideband\nO2S8 Lambda", kLambdaGauge, nullptr, L::FunctionAndChannelLast, 0},
    {0x3C, "Catalyst Temp B1S1", notShown, 2, U::None, "", kPercent, nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x3D, "Catalyst Temp B2S1", notShown, 2, U::None, "", kPercent, nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x3E, "Catalyst Temp B1S2", notShown, 2, U::None, "", kPercent, nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x3F, "Catalyst Temp B2S2", notShown, 2, U::None, "", kPercent, nullptr, kNoScale, nullptr, L::FunctionAndChannelLast, 0},
    {0x40, "PIDs supported (41h-60h)", nullptr, 4, U::None, nullptr, kNoScale, nullptr, kNoScale, nullptr, L::None, 0},
    {kHorsepowerCode, "HP (experimental)", nullptr, 0, U::None, "HP (experimental)", same({"HP", 0, 400, 10, 50, 0}), "HP (experimental)", same({"HP", 0, 400, 10, 50, 0}), nullptr, L::ChannelLast, pid::vehicleSpeed},
    {kTorqueCode, "Torque (experimental)", nullptr, 0, U::None, "Torque (experimental)", same({"FtLb", 0, 400, 10, 50, 0}), "Torque (experimental)", same({"FtLb", 0, 400, 10, 50, 0}), nullptr, L::ChannelLast, pid::vehicleSpeed},
    {kFuelEconomyCode, "Fuel Economy (MPG)", nullptr, 0, U::None, "Fuel Economy", same({"MPG", 0, 60, 5, 10, 1}), "Fuel Economy", same({"MPG", 0, 60, 5, 10, 0}), nullptr, L::ChannelLast, pid::airFlow},
    // clang-format on
};

// Rows by code: PIDs 00..40 and the three derived channels.
constexpr int kLastPid = 0x40;

struct Index {
    std::array<const Parameter*, kLastPid + 1> pids{};
    std::array<const Parameter*, 3> derived{}; // 997, 998, 999
    Index() {
        for (const Parameter& p : kParameters) {
            if (p.code >= 0 && p.code <= kLastPid)
                pids[size_t(p.code)] = &p;
            else if (p.code >= kTorqueCode && p.code <= kFuelEconomyCode)
                derived[size_t(p.code - kTorqueCode)] = &p;
        }
    }
};

Scale scaleFor(const Parameter& p, const Scales& scales, const Settings& settings) {
    return imperialUnits(p.unitChoice, settings) ? scales.imperial : scales.metric;
}

} // namespace

const Parameter* findParameter(int code) {
    static const Index index;
    if (code >= 0 && code <= kLastPid) return index.pids[size_t(code)];
    if (code >= kTorqueCode && code <= kFuelEconomyCode) return index.derived[size_t(code - kTorqueCode)];
    return nullptr;
}

const Parameter* parametersBegin() {
    return std::begin(kParameters);
}
const Parameter* parametersEnd() {
    return std::end(kParameters);
}

bool imperialUnits(UnitChoice choice, const Settings& settings) {
    switch (choice) {
    case UnitChoice::Temperature:
        return settings.fahrenheit;
    case UnitChoice::Pressure:
        return settings.psi;
    case UnitChoice::Speed:
        return settings.milesPerHour;
    case UnitChoice::AirFlow:
        return settings.poundsPerMinute;
    case UnitChoice::None:
        break;
    }
    return false;
}

QString parameterName(int code) {
    const Parameter* p = findParameter(code);
    return p ? QString::fromLatin1(p->name) : QString();
}

Decoded decodeParameter(int code, const QByteArray& data, const Settings& settings) {
    const Parameter* p = findParameter(code);
    if (!p || !p->decode) return {};
    if (data.size() < p->bytes) {
        Decoded d;
        d.problem = QStringLiteral("PID %1 has %2 data bytes, the reply %3")
                        .arg(QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper())
                        .arg(p->bytes)
                        .arg(data.size());
        return d;
    }
    return p->decode(data, imperialUnits(p->unitChoice, settings));
}

int parameterBytes(int code) {
    const Parameter* p = findParameter(code);
    return p ? p->bytes : 0;
}

std::optional<ChannelInfo> channelInfo(int code, const Settings& settings) {
    const Parameter* p = findParameter(code);
    if (!p || !p->channelName) return std::nullopt;
    const Scale s = scaleFor(*p, p->channel, settings);
    return ChannelInfo{QString::fromLatin1(p->channelName),
                       QString::fromLatin1(s.units),
                       s.minimum,
                       s.maximum,
                       s.tick,
                       s.step,
                       s.decimals};
}

std::optional<GaugeScale> gaugeScale(int code, const Settings& settings) {
    const Parameter* p = findParameter(code);
    if (!p || !p->gaugeName) return std::nullopt;
    const Scale s = scaleFor(*p, p->gauge, settings);
    return GaugeScale{QString::fromLatin1(p->gaugeName),
                      QString::fromLatin1(s.units),
                      s.minimum,
                      s.maximum,
                      s.tick,
                      s.step,
                      s.decimals};
}

QString panelTitle(int code) {
    const Parameter* p = findParameter(code);
    return p && p->panelTitle ? QString::fromLatin1(p->panelTitle) : QString();
}

int dataByte(const QByteArray& data, int index) {
    return index >= 0 && index < data.size() ? quint8(data.at(index)) : 0;
}

QString fuelSystemStatusText(int a, int b) {
    static const char* const kBitTexts[] = {"Open Loop- Warmup", "Closed Loop", "Open Loop- Acc/Dec",
                                            "Open Loop- Fault", "Closed Loop- 1 O2S"};
    const auto status = [](int byte) {
        QString text = QStringLiteral("n/a");
        for (int bit = 0; bit < 5; ++bit)
            if (byte & (1 << bit)) text = QString::fromLatin1(kBitTexts[bit]);
        return text;
    };
    QString result;
    if (a != 0) result = QStringLiteral("S1: ") + status(a);
    if (b != 0) result += QStringLiteral("; S2: ") + status(b);
    return result.isEmpty() ? QStringLiteral("n/a") : result;
}

QString secondaryAirText(int a) {
    if (a & 0x01) return QStringLiteral("Upstream of first cat");
    if (a & 0x02) return QStringLiteral("Downstream of first cat");
    if (a & 0x04) return QStringLiteral("Atmosphere / off");
    return QStringLiteral("None");
}

} // namespace zelcor
