#pragma once
// The setup panel's adapter choice: the serial and Bluetooth devices present (kept up to
// date while the panel shows), a Wi-Fi adapter's address, the simulated car, or the
// numbered port search.

#include "link/devicelist.h"

#include <QGroupBox>
#include <functional>

class QComboBox;
class QLineEdit;
class QTimer;

namespace zelcor {

class DeviceChoiceBox : public QGroupBox {
    Q_OBJECT
public:
    static constexpr const char* kDefaultWifiAddress = "192.168.0.10:35000";

    explicit DeviceChoiceBox(QWidget* parent = nullptr);

    // The choice as stored: a device path, "host:port", the simulated car, or empty.
    QString device() const;
    void setDevice(const QString& device);

    // Lists the devices present now; keeps the current choice, even one that is unplugged.
    void refresh();
    // Where the list of devices comes from (tests give their own).
    void setDeviceSource(std::function<QList<DeviceOption>()> source) { source_ = std::move(source); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void fill(const QList<DeviceOption>& present, const QString& current);
    void updateAddressBox();

    QComboBox* choices_;
    QLineEdit* wifiAddress_;
    QTimer* poll_;
    std::function<QList<DeviceOption>()> source_ = &DeviceList::offered;
    QList<DeviceOption> listed_; // the devices in the list now
};

} // namespace zelcor
