// The main window: its buttons during a connection, Ctrl+D, the function items, the
// function list and the Functions menu, the setup panel, where the window first appears,
// closing it, and the program's icon.

#include "config/adaptermemory.h"
#include "config/pollingchoice.h"
#include "testmain.h"
#include "ui/main/panelstack.h"
#include "ui/main/programicon.h"
#include "ui/main/windowplacement.h"
#include "uirig.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QList<ListEntry> kFirstFive = {{"General Info", 1},
                                     {"DTC (Trouble Codes)", 254},
                                     {"Freeze Frame Data", 248},
                                     {"Real-Time Gauges", 250},
                                     {"Real-Time Graphs", 240}};
const ListEntry kRpm{"Engine RPM", 12}, kSpeed{"Vehicle Speed", 13}, kOxygen{"Oxygen Sensors", 19};

// Of `names`, those enabled, and "help" when the help button shows.
QString enabled(const UiRig& rig, const QStringList& names) {
    QStringList on;
    for (const QString& name : names)
        if (rig.find(name)->isEnabled()) on << name;
    if (!rig.find("Command20")->isHidden()) on << "help";
    return on.join(' ');
}

// The colour in the middle of the status lamp as drawn.
QColor lampColour(const UiRig& rig) {
    const QImage image = rig.find("Shape1")->grab().toImage();
    return image.pixelColor(image.rect().center());
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    // CONNECT, SET&UP, E&XIT and both replay buttons stay off for the whole connection and
    // come back on however it ends; the help button hides for good.
    void buttonsLockedWhileConnecting_data() {
        QTest::addColumn<bool>("adapterAnswers");
        QTest::addColumn<QColor>("lampDuringError");
        QTest::newRow("no adapter: error 0") << false << QColor(Qt::black);
        QTest::newRow("vehicle silent: error 1") << true << QColor(Qt::red);
    }
    void buttonsLockedWhileConnecting() {
        QFETCH(bool, adapterAnswers);
        const QStringList locked{"Command1", "Command3", "Command7", "Command13", "Command17"};
        UiRig rig;
        rig.clock.setStep(0.01);
        rig.port.respond = [adapterAnswers](const QByteArray& line) -> QByteArray {
            if (!adapterAnswers) return {};
            if (line.startsWith("ATWS")) return "\r\rELM327 v1.5\r\r>";
            return line.startsWith("AT") ? QByteArray("OK\r\r>") : QByteArray();
        };
        rig.window.show();
        QString enabledDuringError = "-";
        QColor lampShown;
        rig.host.onMessage = [&](const RecordedMessage&) {
            enabledDuringError = enabled(rig, locked);
            lampShown = lampColour(rig);
        };
        rig.find<QPushButton>("Command1")->click();
        QCOMPARE(rig.host.messages.size(), 1);
        QCOMPARE(enabledDuringError, QString());
        QTEST(lampShown, "lampDuringError");
        QCOMPARE(enabled(rig, locked), locked.join(' ')); // the help button stays hidden
        QCOMPARE(lampColour(rig), QColor(Qt::black));
        auto* status = rig.find<QLabel>("Label39"); // in the error style: large red text
        QVERIFY(status->text().contains("problem,") && status->font().pointSize() == 16);
        QCOMPARE(status->palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    // Ctrl+D, and not D alone, reveals "Debug log"; another panel in front does not hide it.
    void debugLogRevealedByCtrlD() {
        UiRig rig;
        rig.window.show();
        rig.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        QCOMPARE(rig.window.focusWidget(), rig.find("Command1")); // the first activation focuses CONNECT
        QWidget* debugLog = rig.find("Command19");
        QTest::keyClick(&rig.window, Qt::Key_D);
        QVERIFY(debugLog->isHidden());
        QTest::keyClick(&rig.window, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!debugLog->isHidden());
        rig.session.showPanel(Panel::Setup);
        rig.session.showPanel(Panel::Connection);
        QVERIFY(!debugLog->isHidden());
    }

    // A function item, an entry of the Functions menu or a click on the function list
    // selects an entry and serves it; with no connection running its panel shows at once.
    // The items find their function by its code, wherever the list holds it.
    void functionSelection_data() {
        QTest::addColumn<QList<ListEntry>>("list");
        QTest::addColumn<QString>("action"); // a function item, or a click on a row
        QTest::addColumn<int>("expected");   // the selected entry afterwards
        QTest::addColumn<QString>("panel");
        const auto full = kFirstFive + QList<ListEntry>{kRpm, kSpeed, kOxygen};
        const auto noOxygen = kFirstFive + QList<ListEntry>{kRpm, kSpeed};
        const auto oxygenOnly = kFirstFive + QList<ListEntry>{kOxygen};
        QTest::newRow("General, selected") << kFirstFive << "m_0" << 0 << "D0101";
        QTest::newRow("Codes") << kFirstFive << "m_1" << 1 << "D03";
        QTest::newRow("Freeze Frame") << kFirstFive << "m_2" << 2 << "D0200";
        QTest::newRow("Gauges") << kFirstFive << "m_3" << 3 << "D250";
        QTest::newRow("Graphs") << kFirstFive << "m_4" << 4 << "D240";
        QTest::newRow("click on the selected entry") << kFirstFive << "row 0" << 0 << "D0101";
        QTest::newRow("click on another entry") << kFirstFive << "row 3" << 3 << "D250";
        QTest::newRow("RPM, own place holds Speed") << full << "m_6" << 5 << "D012";
        QTest::newRow("Speed, own place holds O2") << full << "m_7" << 6 << "D013";
        QTest::newRow("O2 Sens after RPM and Speed") << full << "m_5" << 7 << "D0113";
        QTest::newRow("Functions menu, last entry") << full << "menu 7" << 7 << "D0113";
        QTest::newRow("Functions menu, selected entry") << kFirstFive << "menu 0" << 0 << "D0101";
        QTest::newRow("RPM without O2") << noOxygen << "m_6" << 5 << "D012";
        QTest::newRow("O2 Sens listed") << oxygenOnly << "m_5" << 5 << "D0113";
        QTest::newRow("Speed not supported") << oxygenOnly << "m_7" << 0 << "Frame1";
        QTest::newRow("Codes with no list") << QList<ListEntry>() << "m_1" << -1 << "Frame1";
    }
    void functionSelection() {
        QFETCH(QList<ListEntry>, list);
        QFETCH(QString, action);
        QFETCH(int, expected);
        QFETCH(QString, panel);
        UiRig rig;
        rig.window.show();
        Navigation& navigation = rig.session.navigation();
        for (const ListEntry& entry : list)
            navigation.addFunction(entry);
        navigation.setFunctionIndex(0);
        navigation.functionsComplete();
        navigation.setFunction(Function::Idle); // something else was served meanwhile
        auto* shown = rig.find<QListWidget>("List4");
        if (action.startsWith("m_"))
            rig.window.findChild<QAction*>(action)->trigger();
        else if (action.startsWith("menu "))
            rig.find<QMenu>("functionsMenu")->actions().at(action.mid(5).toInt())->trigger();
        else
            clickRow(shown, action.mid(4).toInt());
        QCOMPARE(navigation.functionIndex(), expected);
        QCOMPARE(shown->currentRow(), expected);
        QCOMPARE(rig.window.panels()->currentWidget()->objectName(), panel);
        QCOMPARE(navigation.function(), panel == "Frame1" ? Function::Idle : Function(list.at(expected).code));
        if (expected >= 0) QCOMPARE(shown->item(expected)->text(), list.at(expected).name); // names only
        QStringList names, menu; // the Functions menu holds the list in its order
        for (const ListEntry& entry : list)
            names << entry.name;
        for (const QAction* entry : rig.find<QMenu>("functionsMenu")->actions())
            menu << entry->text();
        QCOMPARE(menu, names);
    }

    // The status line and the window title follow every transition of the connection:
    // finding the adapter, connected with the controller in both numberings, and how it
    // ended (disconnected, the adapter pulled, no adapter, a trace replay's start and end).
    void statusLine_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QString>("during"); // the status line at the first General Info pass
        QTest::addColumn<QString>("after");  // its start once the connection ended
        const QString connected = "Connected (AUTO, ISO 15765-4 (CAN 11/500), controller 232 (E8))";
        QTest::newRow("disconnect") << "disconnect" << connected << "Not connected";
        QTest::newRow("adapter pulled") << "unplug" << connected << "Connection lost: ";
        QTest::newRow("no adapter") << "no adapter" << QString() << "Not connected: ";
        QTest::newRow("trace replay") << "replay"
                                      << "Replaying log.txt"
                                      << "Not connected";
    }
    void statusLine() {
        QFETCH(QString, ending);
        QFETCH(QString, during);
        QFETCH(QString, after);
        sim::Options options;
        if (ending == "unplug") options.unplugAfter = 40; // after detection and General Info
        CarWindowRig rig(QStringLiteral("can11"), options);
        rig.session.settings().debugTrace = ending == "replay";
        if (ending == "no adapter") rig.port.setSimulatorPort(17);
        rig.window.show();
        const auto status = [&] { return rig.text("ConnectionState"); };
        QStringList seen;
        rig.clock.onYield = [&](double) {
            if (seen.isEmpty() || seen.last() != status()) seen << status();
        };
        QString atGeneralInfo;
        rig.afterPass = [&](Function served) {
            if (served == Function::GeneralInfo && atGeneralInfo.isEmpty()) atGeneralInfo = status();
            return !atGeneralInfo.isEmpty() && ending != "unplug";
        };
        QString duringBox; // the status line while an error box is open
        rig.host.onMessage = [&](const RecordedMessage&) { duringBox = status(); };
        rig.session.connection().run();
        if (ending == "unplug") QCOMPARE(duringBox, QStringLiteral("Connection lost: the adapter at sim went away"));
        if (ending == "replay") {
            atGeneralInfo.clear();
            rig.afterPass = [&](Function) {
                if (atGeneralInfo.isEmpty()) atGeneralInfo = status();
                return false;
            };
            rig.clock.onYield = [&](double) {
                if (!atGeneralInfo.isEmpty()) rig.session.traceReplay().end();
            };
            rig.session.traceReplay().controls().setPlay(true);
            rig.session.traceReplay().run();
            QVERIFY(!rig.session.traceReplay().running());
        } else if (ending != "no adapter") {
            QVERIFY(seen.contains("Connecting: finding the adapter") && seen.contains("Connecting: waking the link"));
        }
        QCOMPARE(atGeneralInfo, during);
        QVERIFY2(status().startsWith(after), qPrintable(status()));
        // Values the car sent before the connection ended are marked as old; none came otherwise.
        QCOMPARE(rig.find("staleValues")->isVisible(), ending == "disconnect" || ending == "unplug");
        QCOMPARE(rig.window.windowTitle(),
                 after == "Not connected" ? Session::caption() : Session::caption() + " - " + status());
    }

    // SET&UP shows setup.cfg (naming port `filePort`), not the settings in memory; one control
    // changed, then SAVE or CANCEL: the file. A port beyond the eight options shows none, kept.
    void setupControlsReadBack_data() {
        QTest::addColumn<int>("filePort");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("typed"); // for a text box; other controls are clicked
        QTest::addColumn<int>("lineNumber");
        QTest::addColumn<QString>("saved");
        QTest::newRow("port 5") << 1 << "Option1_4" << true << "" << 1 << "5";
        QTest::newRow("port 12 kept") << 12 << "Text19" << true << "3200" << 1 << "12";
        QTest::newRow("port 12 changed to 4") << 12 << "Option1_3" << true << "" << 1 << "4";
        QTest::newRow("SR time") << 1 << "Text11" << true << "0.25" << 2 << "0.25";
        QTest::newRow("kilometers") << 1 << "Option2_1" << true << "" << 3 << "0";
        QTest::newRow("pounds/min") << 1 << "Option3_0" << true << "" << 4 << "1";
        QTest::newRow("no port search") << 1 << "Check3" << true << "" << 5 << "1";
        QTest::newRow("deg C") << 1 << "Option4_1" << true << "" << 6 << "0";
        QTest::newRow("kPa") << 1 << "Option5_1" << true << "" << 7 << "0";
        QTest::newRow("weight not a number") << 1 << "Text19" << true << "abc" << 8 << "0";
        QTest::newRow("weight at the top of the range") << 1 << "Text19" << true << "9999" << 8 << "9999";
        QTest::newRow("init mode") << 1 << "Text18" << true << "-2" << 9 << "-2";
        QTest::newRow("init mode beyond 16 bits") << 1 << "Text18" << true << "70000" << 9 << "0";
        QTest::newRow("debug") << 1 << "Check8" << true << "" << 10 << "1";
        QTest::newRow("fast polling: zelcor.ini only") << 1 << "fastPolling" << true << "" << 10 << "0";
        QTest::newRow("faster line: zelcor.ini only") << 1 << "fasterLine" << true << "" << 10 << "0";
        QTest::newRow("cancel") << 1 << "Text19" << false << "1234" << 8 << "3200";
    }
    void setupControlsReadBack() {
        QFETCH(int, filePort);
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(bool, save);
        QFETCH(int, lineNumber);
        QFETCH(QString, saved);
        const QStringList outside{"Command1", "Command2", "Command17", "Command3", "Label2"};
        UiRig rig;
        Settings& settings = rig.session.settings();
        settings.startPort = qint16(filePort);
        QVERIFY(saveSettings(settings, rig.dir.path()));
        const QByteArray before = rig.file("setup.cfg");
        settings.vehicleWeight = 1234;
        rig.window.show();
        rig.find<QPushButton>("Command3")->click();
        QCOMPARE(rig.window.panels()->currentWidget()->objectName(), QStringLiteral("Frame2"));
        QCOMPARE(rig.window.focusWidget(), rig.find("Command9"));
        QCOMPARE(enabled(rig, outside), QStringLiteral("help"));
        QCOMPARE(rig.find<QLineEdit>("Text19")->text(), QStringLiteral("3200"));
        QCOMPARE(rig.find<QRadioButton>("Option1_0")->text(), QStringLiteral("1  (tty1)"));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(rig.find<QRadioButton>(QStringLiteral("Option1_%1").arg(i))->isChecked(), i == filePort - 1);
        if (auto* box = rig.find<QLineEdit>(control))
            box->setText(typed);
        else
            rig.find<QAbstractButton>(control)->click();
        rig.find<QPushButton>(save ? "Command8" : "Command9")->click();
        const QByteArray after = rig.file("setup.cfg");
        QStringList lines = QString::fromLatin1(before).split("\r\n"); // every other control as the file had it
        lines[lineNumber - 1] = saved;
        QCOMPARE(QString::fromLatin1(after).split("\r\n"), lines);
        QCOMPARE(settingsFileText(rig.session.settings()), after);
        QCOMPARE(loadFastPolling(rig.dir.path()), control != QLatin1String("fastPolling"));
        QCOMPARE(loadFasterBaudRate(rig.dir.path()) > 0, control != QLatin1String("fasterLine"));
        QCOMPARE(rig.window.panels()->currentWidget()->objectName(), QStringLiteral("Frame1"));
        QCOMPARE(enabled(rig, outside), outside.join(' ') + " help");
    }

    // The setup panel shows what the last connection learned about the adapter; Copy puts
    // it on the clipboard as shown.
    void setupShowsTheAdapterReport() {
        UiRig rig;
        AdapterReport& adapter = rig.session.link().adapter();
        adapter.banner = QStringLiteral("ELM327 v2.1");
        adapter.chip = AdapterChip::Elm327;
        adapter.baseRate = adapter.lineRate = 38400;
        adapter.note(AdapterCommand::AdaptiveTiming, false);
        rig.window.show();
        rig.find<QPushButton>("Command3")->click();
        const QString shown = rig.find<QPlainTextEdit>("adapterReport")->toPlainText();
        QVERIFY2(shown.contains("Banner: ELM327 v2.1") && shown.contains("Commands refused: ATAT"), qPrintable(shown));
        rig.find<QPushButton>("copyAdapterReport")->click();
        QCOMPARE(rig.host.clipboard.value(0), shown);
    }

    // A value outside its range is refused with the reason; nothing is saved and the
    // panel stays open.
    void setupRefusesValuesOutOfRange() {
        UiRig rig;
        rig.window.show();
        rig.find<QPushButton>("Command3")->click();
        const QByteArray before = rig.file("setup.cfg");
        rig.find<QLineEdit>("Text11")->setText("1e9");
        rig.find<QPushButton>("Command8")->click();
        QCOMPARE(rig.file("setup.cfg"), before);
        QCOMPARE(rig.window.panels()->currentWidget()->objectName(), QStringLiteral("Frame2"));
        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY(rig.host.messages[0].text.startsWith("SR Time must be between 0 and 5 seconds."));
    }

    void placement_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("1024x768") << QRect(0, 0, 1024, 768) << QSize(613, 465) << QPoint(205, 101);
        QTest::newRow("second screen") << QRect(1920, 0, 1280, 1024) << QSize(600, 424) << QPoint(1920 + 340, 200);
        QTest::newRow("larger than the screen") << QRect(0, 0, 800, 600) << QSize(900, 700) << QPoint(0, 0);
    }
    void placement() {
        QFETCH(QRect, screen);
        QFETCH(QSize, window);
        QTEST(initialWindowPosition(screen, window), "expected");
    }

    // Closing the window while the connection wakes the vehicle ends it at once: no more
    // wake-up rounds, no error box, the port closed. E&XIT closes it when idle.
    void closing() {
        UiRig rig;
        rig.port.respond = [](const QByteArray& line) -> QByteArray {
            return line.startsWith("ATWS") ? QByteArray("\r\rELM327 v1.5\r\r>") : QByteArray();
        };
        rig.window.show();
        int yieldsAtClose = -1;
        QColor lampAtClose;
        rig.clock.onYield = [&](double) {
            if (yieldsAtClose >= 0 || rig.session.connection().panel().lamp != Lamp::Yellow) return;
            yieldsAtClose = rig.clock.yields();
            lampAtClose = lampColour(rig);
            rig.window.close();
        };
        rig.find<QPushButton>("Command1")->click();
        QCOMPARE(lampAtClose, QColor(Qt::yellow));
        QVERIFY(!rig.window.isVisible());
        QVERIFY(!rig.session.connection().running() && rig.session.link().stopRequested());
        QVERIFY(rig.clock.yields() - yieldsAtClose < 100);
        QVERIFY(rig.host.messages.isEmpty() && !rig.port.isOpen());
        UiRig idle;
        idle.window.show();
        idle.find<QPushButton>("Command7")->click();
        QVERIFY(!idle.window.isVisible() && !idle.clock.waitsAbandoned());
    }

    // The icon is drawn from the resources at the sizes a desktop asks for: the gauge's
    // face in the middle, nothing outside its rim. An empty icon means the resource or
    // Qt's SVG icon engine is missing.
    void programIconDrawn_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("menu") << 16;
        QTest::newRow("task bar") << 48;
        QTest::newRow("large") << 256;
    }
    void programIconDrawn() {
        QFETCH(int, size);
        const QImage image = programIcon().pixmap(size, size).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(image.pixelColor(image.rect().center()).alpha(), 255);
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    }
};

ZELCOR_TEST(MainWindowTest)
#include "mainwindow_test.moc"
