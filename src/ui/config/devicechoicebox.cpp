#include "ui/config/devicechoicebox.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QTimer>

namespace zelcor {

namespace {
// What the entries that are no device stand for in the list's data.
const QString kSearchEntry;                         // the numbered port search
const QString kWifiEntry = QStringLiteral("wifi:"); // the address in the box beside
// How often the list looks for devices plugged in or out while it shows.
constexpr int kPollMilliseconds = 2000;
} // namespace

DeviceChoiceBox::DeviceChoiceBox(QWidget* parent)
    : QGroupBox(QStringLiteral("ADAPTER"), parent), choices_(new QComboBox(this)), wifiAddress_(new QLineEdit(this)),
      poll_(new QTimer(this)) {
    choices_->setObjectName(QStringLiteral("DeviceChoice"));
    wifiAddress_->setObjectName(QStringLiteral("WifiAddress"));
    wifiAddress_->setText(QString::fromLatin1(kDefaultWifiAddress));
    wifiAddress_->setPlaceholderText(QString::fromLatin1(kDefaultWifiAddress));
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Device"), choices_);
    layout->addRow(QStringLiteral("Wi-Fi address"), wifiAddress_);
    poll_->setInterval(kPollMilliseconds);
    connect(poll_, &QTimer::timeout, this, &DeviceChoiceBox::refresh);
    connect(choices_, &QComboBox::currentIndexChanged, this, &DeviceChoiceBox::updateAddressBox);
    fill({}, QString());
}

QString DeviceChoiceBox::device() const {
    const QString data = choices_->currentData().toString();
    return data == kWifiEntry ? wifiAddress_->text().trimmed() : data;
}

void DeviceChoiceBox::setDevice(const QString& device) {
    fill(source_(), device);
}

void DeviceChoiceBox::refresh() {
    const QList<DeviceOption> present = source_();
    if (present != listed_) fill(present, device());
}

void DeviceChoiceBox::fill(const QList<DeviceOption>& present, const QString& current) {
    listed_ = present;
    const QSignalBlocker quiet(choices_);
    choices_->clear();
    choices_->addItem(QStringLiteral("Search the numbered ports"), kSearchEntry);
    bool currentListed = current.isEmpty();
    for (const DeviceOption& option : present) {
        choices_->addItem(option.label, option.device);
        currentListed = currentListed || option.device == current;
    }
    // A chosen device that is not plugged in now stays chosen, marked as missing.
    const bool wifi = isNetworkDevice(current) && current != kSimulatedCarDevice;
    if (!currentListed && !wifi && current != kSimulatedCarDevice)
        choices_->addItem(current + QStringLiteral("  (not present)"), current);
    choices_->addItem(QStringLiteral("Wi-Fi adapter at the address below"), kWifiEntry);
    choices_->addItem(QStringLiteral("Simulated car"), kSimulatedCarDevice);
    if (wifi) wifiAddress_->setText(current);
    choices_->setCurrentIndex(choices_->findData(wifi ? kWifiEntry : current));
    updateAddressBox();
}

void DeviceChoiceBox::updateAddressBox() {
    wifiAddress_->setEnabled(choices_->currentData().toString() == kWifiEntry);
}

void DeviceChoiceBox::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    refresh();
    poll_->start();
}

void DeviceChoiceBox::hideEvent(QHideEvent* event) {
    poll_->stop();
    QGroupBox::hideEvent(event);
}

} // namespace zelcor
