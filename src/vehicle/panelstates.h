#pragma once
// What the General Info and status panels show; the passes write it, the widgets draw it.

#include <QString>
#include <QStringList>
#include <array>

namespace zelcor {

struct GeneralInfoPanel {
    QString codeCount;          // Text3(0), "Number of Trouble Codes"
    QString mil;                // Text3(1), "Check-Engine (MIL) Light"
    QStringList continuous;     // List1
    QStringList nonContinuous;  // List2
    QStringList incomplete;     // List3
    QStringList controllers;    // List7: addresses in decimal
    int controllerIndex = -1;   // List7's selection
    QString currentAddress;     // Text13
};

struct FuelSystemPanel {
    std::array<bool, 10> highlighted{}; // Label4(i): enabled and bold
};

struct TextPanel {
    QString caption = QStringLiteral(" Calculated Load Value "); // D0104's caption
    QString value;                                            // Text4
};

struct OxygenPanel {
    std::array<bool, 8> present{};  // Label6/7/8(i) enabled and bold
    std::array<QString, 8> voltage; // Label7(i)
    std::array<QString, 8> fuelTrim; // Label8(i)
    OxygenPanel() { reset(); }
    void reset() {
        voltage.fill(QStringLiteral("0.0"));
        fuelTrim.fill(QStringLiteral("0.0%"));
    }
};

} // namespace zelcor
