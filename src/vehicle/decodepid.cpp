#include "vehicle/decodepid.h"

#include "base/format.h"
#include "base/numbers.h"

namespace zelcor {

namespace {

// Position of data byte A in a normalised reply line (1-based).
constexpr int kDataStart = 11;

int dataByte(const QString& reply, int index) {
    return hexByteAt(reply, kDataStart + 2 * index);
}

// Data bytes A and B as one unsigned 16-bit number.
int word(const QString& reply) {
    return dataByte(reply, 0) * 256 + dataByte(reply, 1);
}

double percentOfByte(int a) {
    return a * 100.0 / 255.0;
}

void setGauge(PidOutputs& out, double value, double needle, int decimals, const char* units, const char* range) {
    out.value = value;
    out.needle = needle;
    out.decimals = decimals;
    out.units = QString::fromLatin1(units);
    out.range = QString::fromLatin1(range);
}

QString text(double x, const char* pattern) {
    return formatNumber(x, QString::fromLatin1(pattern));
}

QString fuelStatus(int byte) {
    static const char* const kBitTexts[] = {"Open Loop- Warmup", "Closed Loop", "Open Loop- Acc/Dec",
                                            "Open Loop- Fault", "Closed Loop- 1 O2S"};
    if (byte == 0) return QString();
    QString status = QStringLiteral("n/a");
    for (int bit = 0; bit < 5; ++bit)
        if (byte & (1 << bit)) status = QString::fromLatin1(kBitTexts[bit]);
    return status;
}

bool isO2Voltage(int pid) {
    return pid >= 0x14 && pid <= 0x1B;
}
bool isO2Lambda(int pid) {
    return (pid >= 0x24 && pid <= 0x2B) || (pid >= 0x34 && pid <= 0x3B);
}

// The freeze frame trouble code of four hex digits ("0133" gives "P0133").
QString troubleCode(const QString& digits) {
    const int d = int(hexval(digits.left(1)));
    if (d <= 3) return QLatin1Char('P') + digits;
    static const char kSystems[] = {'C', 'B', 'U'};
    const int group = d / 4; // 1..3
    return QLatin1Char(kSystems[group - 1]) + QString::number(d - 4 * group) + digits.mid(1);
}

} // namespace

QString fuelSystemStatusText(int a, int b) {
    QString result;
    if (a != 0) result = QStringLiteral("S1: ") + fuelStatus(a);
    if (b != 0) result += QStringLiteral("; S2: ") + fuelStatus(b);
    return result.isEmpty() ? QStringLiteral("n/a") : result;
}

QString secondaryAirText(int a) {
    if (a & 0x01) return QStringLiteral("Upstream of first cat");
    if (a & 0x02) return QStringLiteral("Downstream of first cat");
    if (a & 0x04) return QStringLiteral("Atmosphere / off");
    return QStringLiteral("None");
}

QString decodepid(int pid, const QString& reply, const QString& ecuaddr, const Settings& settings, PidOutputs& out) {
    out.needle = -1;
    if (pid < 0 || pid > 0xFF) return QString(); // derived channels and other non-PID codes
    if (pid != 0x02 && reply.mid(4, 6) != ecuaddr + QStringLiteral("41") + hex2(pid)) return QString();

    const int a = dataByte(reply, 0);
    const int b = dataByte(reply, 1);

    if (isO2Voltage(pid)) {
        const double volts = a * 0.005;
        QString t = text(volts, "0.000") + QStringLiteral(" V");
        if (b != 255)
            t += QStringLiteral(",   Fuel Trim: ") + text(b * 100.0 / 128.0 - 100.0, "##0.0") + QLatin1Char('%');
        setGauge(out, volts, percentOfByte(a), 3, "V", "0.0~327.675");
        return t;
    }
    if (isO2Lambda(pid)) {
        const double lambda = word(reply) * 0.0000305;
        setGauge(out, lambda, percentOfByte(a), 3, "-", "0.0~2.0");
        return text(lambda, "0.000");
    }

    switch (pid) {
    case 0x02: {
        QString digits = reply.mid(kDataStart - 1, 4);
        digits = digits.leftJustified(4, QLatin1Char('0')); // missing digits read as 0
        if (digits == QLatin1String("0000")) return QString();
        return troubleCode(digits) + QStringLiteral("   ");
    }
    case 0x03:
        out.decimals = -1;
        return fuelSystemStatusText(a, b);
    case 0x04:
    case 0x11:
    case 0x2C:
    case 0x2E:
    case 0x2F: {
        const double pct = percentOfByte(a);
        setGauge(out, pct, pct, 1, "%", "0.0~100.0");
        return text(pct, "##0.0") + QLatin1Char('%');
    }
    case 0x05:
    case 0x0F: {
        if (settings.usedegf) {
            const double f = (a - 40) * 9.0 / 5.0 + 32.0;
            // The F dials span -40..310 (coolant) and -40..200 (intake air).
            const double needle = percentOfByte(a) * (pid == 0x05 ? 1.311 : 1.9125);
            setGauge(out, f, needle, 1, "deg F", "-40.0~419.0");
            return text(f, "##0.0") + QStringLiteral(" deg F");
        }
        setGauge(out, a - 40, percentOfByte(a), 1, "deg C", "-40.0~215.0");
        return text(a - 40, pid == 0x05 ? "##0.0" : "##0") + QStringLiteral(" deg C");
    }
    case 0x06:
    case 0x07:
    case 0x08:
    case 0x09: {
        const double trim = a * 100.0 / 128.0 - 100.0;
        setGauge(out, trim, percentOfByte(a), 1, "%", "0.0~100.0");
        return text(trim, "##0.0") + QLatin1Char('%');
    }
    case 0x0A: {
        if (settings.usepsi) {
            const double psi = a * 3 * 0.14504;
            setGauge(out, psi, percentOfByte(a), 1, "psiG", "0.0~111.0");
            return text(psi, "##0.00") + QStringLiteral(" psiG");
        }
        setGauge(out, a * 3, percentOfByte(a), 0, "kPaG", "0~765");
        return generalNumber(a * 3) + QStringLiteral(" kPaG");
    }
    case 0x0B:
    case 0x33: {
        if (settings.usepsi) {
            const double inhg = a / 3.386;
            setGauge(out, inhg, percentOfByte(a), 1, "inHg", "0.0~75.3");
            return text(inhg, "##0.00") + QStringLiteral(" inHg");
        }
        setGauge(out, a, percentOfByte(a), 0, "kPaA", "0~255");
        return generalNumber(a) + QStringLiteral(" kPaA");
    }
    case 0x0C: {
        const int raw = word(reply);
        const double rpm = roundHalfEven(raw / 4.0);
        setGauge(out, rpm, raw * 100.0 / 65536.0 * 1.6384, 0, "RPM", "0~16384");
        return generalNumber(rpm) + QStringLiteral(" RPM");
    }
    case 0x0D: {
        const double mph = a * 0.621371192;
        if (settings.usemph)
            setGauge(out, roundHalfEven(mph), percentOfByte(a), 0, "MPH", "0~158");
        else
            setGauge(out, a, percentOfByte(a), 0, "km/h", "0~255");
        return generalNumber(a) + QStringLiteral(" km/h    ") + text(mph, "##0.0") + QStringLiteral(" MPH");
    }
    case 0x0E: {
        const double deg = a / 2.0 - 64.0;
        setGauge(out, deg, percentOfByte(a), 1, "deg", "-64.0~63.5");
        return text(deg, "0.0") + QStringLiteral(" deg");
    }
    case 0x10: {
        const int raw = word(reply);
        const double needle = raw * 100.0 / 65536.0;
        if (settings.uselbmin) {
            const double lbmin = raw / 100.0 * 0.132277;
            setGauge(out, lbmin, needle, 2, "lb/min", "0.00~86.69");
            return text(lbmin, "0.00") + QStringLiteral(" lb/min");
        }
        const double gs = raw / 100.0;
        setGauge(out, gs, needle, 2, "gm/sec", "0.00~655.35");
        return text(gs, "0.00") + QStringLiteral(" gm/sec");
    }
    case 0x12:
        return secondaryAirText(a);
    case 0x1F:
        out.value = word(reply);
        return text(word(reply), "##0") + QStringLiteral(" sec");
    case 0x21:
    case 0x31:
        out.value = word(reply);
        return text(word(reply), "0.0") + QStringLiteral(" km");
    case 0x22: {
        const double kpa = word(reply) * 0.079;
        out.value = kpa;
        return text(kpa, "0.00") + QStringLiteral(" kPa");
    }
    case 0x23: {
        // The needle follows the whole 16-bit reading, so it spans the full range.
        const double needle = word(reply) * 100.0 / 65536.0;
        if (settings.usepsi) {
            const double psi = word(reply) * 10 * 0.14504;
            setGauge(out, psi, needle, 1, "psiG", "0.0~95051.9");
            return text(psi, "0.0") + QStringLiteral(" psiG");
        }
        const double kpa = word(reply) * 10.0;
        setGauge(out, kpa, needle, 0, "kPaG", "0~655350");
        return text(kpa, "0") + QStringLiteral(" kPa (gauge)");
    }
    case 0x2D: {
        const double error = a * 0.78125 - 100.0;
        // The offset centres 0 % at mid-scale; it must not push -100 % below the dial.
        setGauge(out, error, qMax(0.0, percentOfByte(a) - 0.19), 1, "%", "-100.0~100.0");
        return text(error, "##0.00") + QLatin1Char('%');
    }
    case 0x30:
        out.value = a;
        return generalNumber(a);
    case 0x32: {
        const double pa = qint16(quint16(word(reply))) / 4.0;
        if (settings.usepsi) {
            const double inh2o = pa / 249.0893;
            out.value = inh2o;
            return text(inh2o, "0.00") + QStringLiteral(" inH2O");
        }
        out.value = pa;
        return text(pa, "0.00") + QStringLiteral(" Pa");
    }
    case 0x3C:
    case 0x3D:
    case 0x3E:
    case 0x3F:
        out.value = 0;
        return QString();
    default:
        return QString();
    }
}

} // namespace zelcor
