#include "vehicle/vehiclestatus.h"

#include "base/numbers.h"
#include "obd/parameters.h"
#include "vehicle/statuspanels.h"

namespace zelcor {

std::optional<Reply> VehicleStatus::ask(PassContext& pass, int pid) {
    if (pass.stopRequested()) return std::nullopt;
    pass.exchange().send(QStringLiteral("01") + hexByte(pid));
    if (pass.stopRequested()) return std::nullopt;
    return pass.exchange().receive();
}

void VehicleStatus::readGeneralInfo(PassContext& pass) {
    const auto reply = ask(pass, pid::monitorStatus);
    if (!reply || !reply->answers(0x01, pid::monitorStatus)) return;
    const GeneralInfoStatus status = generalInfoStatus(reply->data);
    generalInfo_.mil = status.mil;
    generalInfo_.codeCount = QString::number(status.codeCount);
    generalInfo_.continuous = status.continuous;
    generalInfo_.nonContinuous = status.nonContinuous;
    generalInfo_.incomplete = status.incomplete;
    emit generalInfoChanged();

    if (driveCycle_ == DriveCycle::Unanswered) return;
    const auto cycle = ask(pass, pid::monitorStatusThisCycle);
    if (!cycle) return;
    if (!cycle->answers(0x01, pid::monitorStatusThisCycle)) {
        if (driveCycle_ == DriveCycle::Unknown) driveCycle_ = DriveCycle::Unanswered;
        return;
    }
    driveCycle_ = DriveCycle::Answered;
    const DriveCycleStatus drive = driveCycleStatus(cycle->data);
    generalInfo_.driveCycleShown = true;
    generalInfo_.driveCycleEnabled = drive.enabled;
    generalInfo_.driveCycleIncomplete = drive.incomplete;
    emit generalInfoChanged();
}

void VehicleStatus::readFuelSystems(PassContext& pass) {
    const auto reply = ask(pass, pid::fuelSystems);
    if (!reply || !reply->answers(0x01, pid::fuelSystems)) return;
    fuelSystems_.highlighted = fuelSystemHighlights(reply->data);
    emit fuelSystemsChanged();
}

void VehicleStatus::setCaption(const QString& caption) {
    parameterPanel_.caption = caption;
    emit parameterPanelChanged();
}

void VehicleStatus::readParameter(PassContext& pass, int pid) {
    const QString title = panelTitle(pid);
    setCaption(title.isEmpty() ? QLatin1Char(' ') + parameterName(pid) + QLatin1Char(' ') : title);
    const auto reply = ask(pass, pid);
    if (!reply) return;
    // A reply that does not answer empties the value.
    parameterPanel_.value =
        reply->answers(0x01, pid) ? decodeParameter(pid, reply->data, pass.settings()).text : QString();
    emit parameterPanelChanged();
}

void VehicleStatus::readPowerTakeOff(PassContext& pass) {
    setCaption(panelTitle(pid::powerTakeOff));
    const auto reply = ask(pass, pid::powerTakeOff);
    if (!reply || !reply->answers(0x01, pid::powerTakeOff)) return;
    parameterPanel_.value = powerTakeOffText(reply->data);
    emit parameterPanelChanged();
}

void VehicleStatus::readSupportBytes(PassContext& pass) {
    setCaption(panelTitle(pid::supported21To40));
    const auto reply = ask(pass, pid::supported21To40);
    if (!reply || !reply->answers(0x01, pid::supported21To40)) return;
    parameterPanel_.value = supportBytesText(reply->data);
    emit parameterPanelChanged();
}

void VehicleStatus::readOxygenSensors(PassContext& pass) {
    const auto reply = ask(pass, pid::oxygenSensors);
    if (!reply) return;
    if (reply->answers(0x01, pid::oxygenSensors)) {
        oxygen_.present = oxygenSensorsPresent(reply->data);
        emit oxygenChanged();
    }
    Exchange& exchange = pass.exchange();
    for (int i = 0; i < kOxygenSensors; ++i) {
        if (!pass.mayGoOn()) break;
        if (!oxygen_.present[size_t(i)] || exchange.linkLost()) continue;
        const int sensorPid = pid::firstOxygenSensor + i;
        const Reply sensor = exchange.request(QStringLiteral("01") + hexByte(sensorPid));
        if (sensor.answers(0x01, sensorPid)) {
            const OxygenSensorReading reading = oxygenSensorReading(sensor.data);
            oxygen_.voltage[size_t(i)] = reading.voltage;
            oxygen_.fuelTrim[size_t(i)] = reading.fuelTrim;
            emit oxygenChanged();
        }
    }
}

void VehicleStatus::setDriveCycleOffered(bool offered) {
    if (generalInfo_.driveCycleShown == offered) return;
    generalInfo_.driveCycleShown = offered;
    emit generalInfoChanged();
}

void VehicleStatus::setVin(const QString& vin) {
    generalInfo_.vin = vin;
    emit generalInfoChanged();
}

void VehicleStatus::clearForDetection() {
    oxygen_.reset();
    driveCycle_ = DriveCycle::Unknown;
    generalInfo_.driveCycleShown = false;
    generalInfo_.driveCycleEnabled.clear();
    generalInfo_.driveCycleIncomplete.clear();
    generalInfo_.vin.clear();
    generalInfo_.continuous.clear();
    generalInfo_.nonContinuous.clear();
    generalInfo_.incomplete.clear();
    generalInfo_.controllers.clear();
    generalInfo_.controllerIndex = -1;
    generalInfo_.codeCount.clear();
    generalInfo_.mil.clear();
    parameterPanel_.value.clear();
    emit generalInfoChanged();
    emit parameterPanelChanged();
    emit oxygenChanged();
}

void VehicleStatus::setControllers(const QStringList& decimalAddresses) {
    generalInfo_.controllers = decimalAddresses;
    emit generalInfoChanged();
}

void VehicleStatus::setCurrentAddress(const QString& shown) {
    generalInfo_.currentAddress = shown;
    emit generalInfoChanged();
}

void VehicleStatus::setControllerIndex(int index) {
    generalInfo_.controllerIndex = index;
    emit generalInfoChanged();
}

} // namespace zelcor
