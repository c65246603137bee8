#pragma once
// Vehicle status: the General Info, fuel system, single-parameter and oxygen sensor
// panels, and the passes that read them. Widgets draw the panel states.

#include "link/passcontext.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

namespace zelcor {

struct GeneralInfoPanel {
    QString codeCount;                // "Number of Trouble Codes"
    QString mil;                      // "Check-Engine (MIL) Light"
    QStringList continuous;           // continuous tests supported
    QStringList nonContinuous;        // non-continuous tests supported
    QStringList incomplete;           // tests failed or not completed
    QStringList controllers;          // the controllers that answered, addresses in decimal
    int controllerIndex = -1;         // the controller list's selection
    QString currentAddress;           // the controller the program works with, as shown
    QString vin;                      // the VIN on one line with its decoded parts; empty when not read
    bool driveCycleShown = false;     // the controller reports its monitors this drive cycle
    QStringList driveCycleEnabled;    // monitors enabled this drive cycle
    QStringList driveCycleIncomplete; // of those, not completed yet
};

struct FuelSystemPanel {
    std::array<bool, 10> highlighted{}; // the status texts that apply, enabled and bold
};

// The panel that shows one parameter as text.
struct ParameterPanel {
    QString caption = QStringLiteral(" Calculated Load Value ");
    QString value;
};

struct OxygenPanel {
    std::array<bool, 8> present{};
    std::array<QString, 8> voltage;
    std::array<QString, 8> fuelTrim;
    OxygenPanel() { reset(); }
    void reset() {
        voltage.fill(QStringLiteral("0.0"));
        fuelTrim.fill(QStringLiteral("0.0%"));
    }
};

class VehicleStatus : public QObject {
    Q_OBJECT
public:
    const GeneralInfoPanel& generalInfo() const { return generalInfo_; }
    const FuelSystemPanel& fuelSystems() const { return fuelSystems_; }
    const ParameterPanel& parameterPanel() const { return parameterPanel_; }
    const OxygenPanel& oxygen() const { return oxygen_; }

    // The passes: one request each (a few for the oxygen sensors); a reply that does not
    // answer leaves the panel as it was.
    void readGeneralInfo(PassContext& pass);
    void readFuelSystems(PassContext& pass);
    // A parameter shown as text on the single-parameter panel (PIDs 04..0B, 0E..12).
    void readParameter(PassContext& pass, int pid);
    void readPowerTakeOff(PassContext& pass);
    void readSupportBytes(PassContext& pass);
    void readOxygenSensors(PassContext& pass);

    // Detection: everything read before is forgotten, then the controllers that answered.
    void clearForDetection();
    // The VIN line, read by the vehicle information pass.
    void setVin(const QString& vin);
    // The car lists PIDs 41 to 60: General Info shows this drive cycle's monitors.
    void setDriveCycleOffered(bool offered);
    void setControllers(const QStringList& decimalAddresses);
    void setControllerIndex(int index);
    void setCurrentAddress(const QString& shown);

signals:
    void generalInfoChanged();
    void fuelSystemsChanged();
    void parameterPanelChanged();
    void oxygenChanged();

private:
    void setCaption(const QString& caption);
    // Sends a service 01 request unless a stop is requested; the reply when it was received.
    std::optional<Reply> ask(PassContext& pass, int pid);

    // Whether the selected controller answers "0141": not asked yet, yes, or no (then it
    // is not asked again until the next detection).
    enum class DriveCycle { Unknown, Answered, Unanswered };
    DriveCycle driveCycle_ = DriveCycle::Unknown;
    GeneralInfoPanel generalInfo_;
    FuelSystemPanel fuelSystems_;
    ParameterPanel parameterPanel_;
    OxygenPanel oxygen_;
};

} // namespace zelcor
