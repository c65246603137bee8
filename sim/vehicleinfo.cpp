#include "sim/vehicleinfo.h"

#include <algorithm>

namespace zelcor::sim {

namespace {

enum InfoItem : quint8 {
    Support = 0x00,
    VinCount = 0x01,
    Vin = 0x02,
    CalibrationCount = 0x03,
    CalibrationIds = 0x04,
    VerificationCount = 0x05,
    Verifications = 0x06,
    PerformanceCount = 0x07,
    SparkPerformance = 0x08,
    ControllerName = 0x0A,
    CompressionPerformance = 0x0B,
};

quint8 performanceItem(const VehicleInfoDefinition& info) {
    return info.compressionIgnition ? CompressionPerformance : SparkPerformance;
}

QByteArray padded(const QByteArray& text, int length) {
    return text.left(length) + QByteArray(std::max<qsizetype>(0, length - text.size()), '\0');
}

QByteArray word32(quint32 value) {
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
    return out;
}

// The items answered, in the four-byte support bitmap of item 00.
QByteArray infoBitmap(const VehicleInfoDefinition& info, bool can) {
    QList<quint8> items{CalibrationIds, Verifications};
    if (!can) items << CalibrationCount << VerificationCount;
    if (!info.vin.isEmpty()) items << Vin;
    if (!info.vin.isEmpty() && !can) items << VinCount;
    if (!info.name.isEmpty()) items << ControllerName;
    if (!info.performance.isEmpty()) items << performanceItem(info);
    if (!info.performance.isEmpty() && !can && !info.compressionIgnition) items << PerformanceCount;
    QByteArray map(4, '\0');
    for (const quint8 item : items)
        map[(item - 1) / 8] = char(quint8(map[(item - 1) / 8]) | (0x80 >> ((item - 1) % 8)));
    return map;
}

// The data of an item and how many four-byte messages it takes on a legacy bus.
QByteArray itemData(const VehicleInfoDefinition& info, quint8 pid, int* count) {
    switch (pid) {
    case Vin:
        *count = info.vin.isEmpty() ? 0 : 1;
        return info.vin.left(17);
    case CalibrationIds: {
        QByteArray data;
        for (const Calibration& c : info.calibrations)
            data += padded(c.id, 16);
        *count = int(info.calibrations.size());
        return data;
    }
    case Verifications: {
        QByteArray data;
        for (const Calibration& c : info.calibrations)
            data += word32(c.verification);
        *count = int(info.calibrations.size());
        return data;
    }
    case SparkPerformance:
    case CompressionPerformance: {
        if (pid != performanceItem(info)) break;
        QByteArray data;
        for (const quint16 counter : info.performance)
            data.append(char(counter >> 8)).append(char(counter & 0xFF));
        *count = int(info.performance.size());
        return data;
    }
    case ControllerName:
        *count = info.name.isEmpty() ? 0 : 1;
        return info.name.isEmpty() ? QByteArray() : padded(info.name, 20);
    default:
        break;
    }
    *count = 0;
    return {};
}

} // namespace

QList<QByteArray> vehicleInfoAnswer(const VehicleInfoDefinition& info, quint8 pid, bool can) {
    if (info.calibrations.isEmpty()) return {};
    const QByteArray head = QByteArray(1, char(0x49)) + char(pid);
    if (pid == Support) return {head + (can ? QByteArray() : QByteArray(1, char(1))) + infoBitmap(info, can)};
    if (pid == VinCount || pid == CalibrationCount || pid == VerificationCount || pid == PerformanceCount) {
        if (can) return {};
        int items = 0;
        const QByteArray data = itemData(info, quint8(pid + 1), &items);
        if (data.isEmpty()) return {};
        return {head + char((data.size() + (pid == VinCount ? 3 : 0) + 3) / 4)};
    }
    int items = 0;
    QByteArray data = itemData(info, pid, &items);
    if (data.isEmpty()) return {};
    if (can) return {head + char(items) + data};
    // Legacy buses: four bytes a message, numbered from 1; the VIN is led by three 00 bytes.
    if (pid == Vin) data = QByteArray(3, '\0') + data;
    QList<QByteArray> messages;
    for (qsizetype at = 0, n = 1; at < data.size(); at += 4, ++n)
        messages.append(head + char(n) + padded(data.mid(at, 4), 4));
    return messages;
}

QList<QByteArray> monitorTestAnswer(const VehicleInfoDefinition& info, quint8 monitor, bool can) {
    if (!can || info.tests.isEmpty()) return {};
    QByteArray out(1, char(0x46));
    if (monitor % 0x20 == 0) {
        // Bitmap of the monitors monitor+1 .. monitor+32; the last bit tells of a next bitmap.
        QByteArray map(4, '\0');
        bool any = monitor == 0;
        for (const MonitorTest& t : info.tests) {
            const int bit = t.monitor - monitor - 1;
            if (t.monitor > monitor + 0x20) {
                map[3] = char(quint8(map[3]) | 0x01);
                any = true;
            } else if (bit >= 0) {
                map[bit / 8] = char(quint8(map[bit / 8]) | (0x80 >> (bit % 8)));
                any = true;
            }
        }
        if (!any) return {};
        return {out + char(monitor) + map};
    }
    for (const MonitorTest& t : info.tests) {
        if (t.monitor != monitor) continue;
        out.append(char(t.monitor)).append(char(t.test)).append(char(t.scaling));
        for (const quint16 v : {t.value, t.minimum, t.maximum})
            out.append(char(v >> 8)).append(char(v & 0xFF));
    }
    if (out.size() == 1) return {};
    return {out};
}

} // namespace zelcor::sim
