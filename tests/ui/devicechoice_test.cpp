// The setup panel's adapter choice: what it lists, what SAVE CHANGES keeps in zelcor.ini,
// and a device plugged in while the panel shows.

#include "config/devicechoice.h"
#include "testmain.h"
#include "ui/config/devicechoicebox.h"
#include "uirig.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace zelcor;
using namespace zelcor::test;

namespace {

QStringList labels(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

class DeviceChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void choose_data() {
        QTest::addColumn<QString>("stored"); // in zelcor.ini before SET&UP
        QTest::addColumn<QString>("entry");  // chosen in the list, by its label
        QTest::addColumn<QString>("typed");  // into the Wi-Fi address box
        QTest::addColumn<QString>("saved");
        const auto row = [](const char* name, const char* stored, const char* entry, const char* typed,
                            const char* saved) { QTest::newRow(name) << stored << entry << typed << saved; };
        const char* wifi = "Wi-Fi adapter at the address below";
        row("serial device", "", "ttyUSB0  FTDI FT232R USB UART", "", "/dev/ttyUSB0");
        row("Bluetooth", "", "rfcomm0  Bluetooth", "", "/dev/rfcomm0");
        row("Wi-Fi, default address", "", wifi, "", "192.168.0.10:35000");
        row("Wi-Fi, typed address", "", wifi, "10.0.0.7:23", "10.0.0.7:23");
        row("simulated car", "", "Simulated car", "", "simulated car");
        row("back to the port search", "/dev/ttyUSB0", "Search the numbered ports", "", "");
        row("unplugged device kept", "/dev/ttyUSB3", "", "", "/dev/ttyUSB3");
        row("stored address shown", "10.1.1.1:35000", "", "", "10.1.1.1:35000");
    }
    void choose() {
        QFETCH(QString, stored);
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        UiRig rig;
        QVERIFY(saveDeviceChoice(rig.dir.path(), stored));
        QVERIFY(saveSettings(rig.session.settings(), rig.dir.path()));
        const QByteArray setup = rig.file("setup.cfg");
        auto* choice = rig.window.findChild<DeviceChoiceBox*>();
        choice->setDeviceSource([] {
            return QList<DeviceOption>{{"/dev/ttyUSB0", "ttyUSB0  FTDI FT232R USB UART"},
                                       {"/dev/rfcomm0", "rfcomm0  Bluetooth"}};
        });
        rig.window.show();
        rig.find<QPushButton>("Command3")->click();
        auto* list = rig.find<QComboBox>("DeviceChoice");
        auto* address = rig.find<QLineEdit>("WifiAddress");
        QCOMPARE(choice->device(), stored);
        if (!entry.isEmpty()) list->setCurrentIndex(labels(list).indexOf(entry));
        QCOMPARE(address->isEnabled(), list->currentText().startsWith("Wi-Fi"));
        if (!typed.isEmpty()) address->setText(typed);
        rig.find<QPushButton>("Command8")->click();
        QTEST(loadDeviceChoice(rig.dir.path()), "saved");
        QCOMPARE(rig.file("setup.cfg"), setup); // its ten lines are left alone
    }

    // A device plugged in while the panel shows joins the list; the choice stays.
    void pluggedIn() {
        UiRig rig;
        QList<DeviceOption> present{{"/dev/ttyACM0", "ttyACM0"}};
        auto* choice = rig.window.findChild<DeviceChoiceBox*>();
        choice->setDeviceSource([&present] { return present; });
        rig.window.show();
        rig.find<QPushButton>("Command3")->click();
        auto* list = rig.find<QComboBox>("DeviceChoice");
        list->setCurrentIndex(1);
        QCOMPARE(choice->device(), QStringLiteral("/dev/ttyACM0"));
        present.prepend({"/dev/ttyUSB0", "ttyUSB0  FTDI FT232R USB UART"});
        choice->refresh();
        QCOMPARE(labels(list), (QStringList{"Search the numbered ports", "ttyUSB0  FTDI FT232R USB UART", "ttyACM0",
                                            "Wi-Fi adapter at the address below", "Simulated car"}));
        QCOMPARE(choice->device(), QStringLiteral("/dev/ttyACM0"));
    }
};

ZELCOR_TEST(DeviceChoiceTest)
#include "devicechoice_test.moc"
