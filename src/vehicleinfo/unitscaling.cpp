#include "vehicleinfo/unitscaling.h"

#include <array>

namespace zelcor {

namespace {

// IDs 01..41 are unsigned, 81..FE signed.
constexpr std::array kScalings{
    UnitScaling{0x01, false, 1, 0, ""},
    UnitScaling{0x02, false, 0.1, 0, ""},
    UnitScaling{0x03, false, 0.01, 0, ""},
    UnitScaling{0x04, false, 0.001, 0, ""},
    UnitScaling{0x05, false, 0.0000305, 0, ""},
    UnitScaling{0x06, false, 0.000305, 0, ""},
    UnitScaling{0x07, false, 0.25, 0, "rpm"},
    UnitScaling{0x08, false, 0.01, 0, "km/h"},
    UnitScaling{0x09, false, 1, 0, "km/h"},
    UnitScaling{0x0A, false, 0.122, 0, "mV"},
    UnitScaling{0x0B, false, 0.001, 0, "V"},
    UnitScaling{0x0C, false, 0.01, 0, "V"},
    UnitScaling{0x0D, false, 0.00390625, 0, "mA"},
    UnitScaling{0x0E, false, 0.001, 0, "A"},
    UnitScaling{0x0F, false, 0.01, 0, "A"},
    UnitScaling{0x10, false, 1, 0, "ms"},
    UnitScaling{0x11, false, 100, 0, "ms"},
    UnitScaling{0x12, false, 1, 0, "s"},
    UnitScaling{0x13, false, 1, 0, "mOhm"},
    UnitScaling{0x14, false, 1, 0, "Ohm"},
    UnitScaling{0x15, false, 1, 0, "kOhm"},
    UnitScaling{0x16, false, 0.1, -40, "°C"},
    UnitScaling{0x17, false, 0.01, 0, "kPa"},
    UnitScaling{0x18, false, 0.0117, 0, "kPa"},
    UnitScaling{0x19, false, 0.079, 0, "kPa"},
    UnitScaling{0x1A, false, 1, 0, "kPa"},
    UnitScaling{0x1B, false, 10, 0, "kPa"},
    UnitScaling{0x1C, false, 0.01, 0, "°"},
    UnitScaling{0x1D, false, 0.5, 0, "°"},
    UnitScaling{0x1E, false, 0.0000305, 0, "lambda"},
    UnitScaling{0x1F, false, 0.05, 0, "A/F"},
    UnitScaling{0x20, false, 0.0039062, 0, ""},
    UnitScaling{0x21, false, 1, 0, "mHz"},
    UnitScaling{0x22, false, 1, 0, "Hz"},
    UnitScaling{0x23, false, 1, 0, "kHz"},
    UnitScaling{0x24, false, 1, 0, "counts"},
    UnitScaling{0x25, false, 1, 0, "km"},
    UnitScaling{0x26, false, 0.1, 0, "mV/ms"},
    UnitScaling{0x27, false, 0.01, 0, "g/s"},
    UnitScaling{0x28, false, 1, 0, "g/s"},
    UnitScaling{0x29, false, 0.25, 0, "Pa/s"},
    UnitScaling{0x2A, false, 0.001, 0, "kg/h"},
    UnitScaling{0x2B, false, 1, 0, "switches"},
    UnitScaling{0x2C, false, 0.01, 0, "g/cyl"},
    UnitScaling{0x2D, false, 0.01, 0, "mg/stroke"},
    UnitScaling{0x2E, false, 1, 0, "true/false"},
    UnitScaling{0x2F, false, 0.01, 0, "%"},
    UnitScaling{0x30, false, 0.001526, 0, "%"},
    UnitScaling{0x31, false, 0.001, 0, "L"},
    UnitScaling{0x32, false, 0.0007747, 0, "mm"},
    UnitScaling{0x33, false, 0.00024414, 0, "lambda"},
    UnitScaling{0x34, false, 1, 0, "min"},
    UnitScaling{0x35, false, 10, 0, "ms"},
    UnitScaling{0x36, false, 0.01, 0, "g"},
    UnitScaling{0x37, false, 0.1, 0, "g"},
    UnitScaling{0x38, false, 1, 0, "g"},
    UnitScaling{0x39, false, 0.01, -327.68, "%"},
    UnitScaling{0x3A, false, 0.001, 0, "g"},
    UnitScaling{0x3B, false, 0.0001, 0, "g"},
    UnitScaling{0x3C, false, 0.1, 0, "µs"},
    UnitScaling{0x3D, false, 0.01, 0, "mA"},
    UnitScaling{0x3E, false, 0.00006103516, 0, "mm²"},
    UnitScaling{0x3F, false, 0.01, 0, "L"},
    UnitScaling{0x40, false, 1, 0, "ppm"},
    UnitScaling{0x41, false, 0.01, 0, "µA"},
    UnitScaling{0x81, true, 1, 0, ""},
    UnitScaling{0x82, true, 0.1, 0, ""},
    UnitScaling{0x83, true, 0.01, 0, ""},
    UnitScaling{0x84, true, 0.001, 0, ""},
    UnitScaling{0x85, true, 0.0000305, 0, ""},
    UnitScaling{0x86, true, 0.000305, 0, ""},
    UnitScaling{0x87, true, 0.25, 0, "rpm"},
    UnitScaling{0x8A, true, 0.122, 0, "mV"},
    UnitScaling{0x8B, true, 0.001, 0, "V"},
    UnitScaling{0x8C, true, 0.01, 0, "V"},
    UnitScaling{0x8D, true, 0.00390625, 0, "mA"},
    UnitScaling{0x8E, true, 0.001, 0, "A"},
    UnitScaling{0x90, true, 1, 0, "ms"},
    UnitScaling{0x96, true, 0.1, 0, "°C"},
    UnitScaling{0x99, true, 0.1, 0, "kPa"},
    UnitScaling{0x9C, true, 0.01, 0, "°"},
    UnitScaling{0x9D, true, 0.5, 0, "°"},
    UnitScaling{0xA8, true, 1, 0, "g/s"},
    UnitScaling{0xA9, true, 0.25, 0, "Pa/s"},
    UnitScaling{0xAD, true, 0.01, 0, "mg/stroke"},
    UnitScaling{0xAE, true, 0.1, 0, "mg/stroke"},
    UnitScaling{0xAF, true, 0.01, 0, "%"},
    UnitScaling{0xB0, true, 0.003052, 0, "%"},
    UnitScaling{0xB1, true, 2, 0, "mV/s"},
    UnitScaling{0xFC, true, 0.01, 0, "kPa"},
    UnitScaling{0xFD, true, 0.001, 0, "kPa"},
    UnitScaling{0xFE, true, 0.25, 0, "Pa"},
};

} // namespace

std::optional<UnitScaling> unitScaling(int id) {
    for (const UnitScaling& row : kScalings)
        if (row.id == id) return row;
    return std::nullopt;
}

double scaledValue(const UnitScaling& scaling, quint16 raw) {
    const double number = scaling.isSigned ? double(qint16(raw)) : double(raw);
    return number * scaling.factor + scaling.offset;
}

} // namespace zelcor
