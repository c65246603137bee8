// The panels drawn from their state (tests/golden/data/*/panels.txt holds it for every car) and
// what they write back; the live-data gauge windows and logging; the graphs' held axis buttons.

#include "instruments/dials.h"
#include "testmain.h"
#include "ui/instruments/dialface.h"
#include "ui/instruments/rpmpanelwidget.h"
#include "ui/instruments/speedpanelwidget.h"
#include "ui/live/activitylamp.h"
#include "ui/live/gaugewindow.h"
#include "ui/live/graphpanel.h"
#include "ui/live/plotwidget.h"
#include "ui/main/panelstack.h"
#include "uirig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>

using namespace zelcor;
using namespace zelcor::test;

Q_DECLARE_METATYPE(zelcor::DialUnit)

namespace {

// Enabled and bold go together, and follow `on`.
bool highlighted(const QWidget* label, bool on) {
    return label->isEnabled() == on && label->font().bold() == on;
}

// The needle points from the dial's centre at `angle` (radians, screen y downwards).
bool needleAt(const DialFace* dial, double angle) {
    const QLineF needle = dial->needle();
    return needle.p1() == QPointF(dial->width() / 2.0, dial->height() / 2.0) &&
           std::abs(needle.length() - 0.92 * dial->width() / 2.0) < 1e-9 &&
           std::abs(std::remainder(std::atan2(needle.dy(), needle.dx()) - angle, 2 * M_PI)) < 1e-9;
}

struct LiveRig : LiveWindowRig {
    using LiveWindowRig::LiveWindowRig;
    void choose(const char* combo, int index) const {
        find<QComboBox>(combo)->setCurrentIndex(index);
        emit find<QComboBox>(combo)->activated(index);
    }
    QStringList axisLabels() const {
        QStringList out;
        for (int k = 0; k < 4; ++k)
            out << find<QLabel>(indexedName("gl", k))->text();
        return out;
    }
};

} // namespace

class PanelsTest : public QObject {
    Q_OBJECT
private slots:
    // General Info on the simulated car; a click on the second controller makes the next pass
    // detect again and work with the transmission. Then the freeze frame: the rows it holds
    // show, the others hide.
    void simulatedCar() {
        CarWindowRig rig(QStringLiteral("can11"));
        rig.window.show();
        int passes = 0;
        rig.afterPass = [&](Function served) {
            if (served == Function::GeneralInfo && ++passes == 1) clickRow(rig.find<QListWidget>("List7"), 1);
            return passes > 1;
        };
        rig.session.connection().run();
        QCOMPARE(rig.session.link().selectedController(), QStringLiteral("E9"));
        const GeneralInfoPanel& info = rig.session.vehicle().generalInfo();
        QVERIFY(rig.find("D0101")->isVisible() && !info.mil.isEmpty() && !info.continuous.isEmpty());
        QCOMPARE(rig.text("Text3_0") + " " + rig.text("Text3_1"), info.codeCount + " " + info.mil);
        QCOMPARE(rig.items("List1") + rig.items("List2") + rig.items("List3"),
                 info.continuous + info.nonContinuous + info.incomplete);
        QCOMPARE(rig.find<QListWidget>("List7")->currentRow(), info.controllerIndex);
        QCOMPARE(rig.text("Text13"), QStringLiteral("233"));
        rig.run(Function::FreezeFrame);
        const FreezeFrame& frame = rig.session.codes().freezeFrame();
        int shown = 0;
        for (int r = 0; r < FreezeFrame::rowCount; ++r) {
            const FreezeFrameRow& row = frame.rows.at(r);
            auto* label = rig.find<QLabel>(indexedName("fflabel", r));
            auto* value = rig.find<QLineEdit>(indexedName("ffvalue", r));
            QVERIFY(label->isVisible() == row.visible && value->isVisible() == row.visible);
            if (row.visible) QCOMPARE(label->text() + "=" + value->text(), row.label + "=" + row.value);
            shown += row.visible;
        }
        QVERIFY(shown > 2 && frame.explanation.size() > 10);
        QCOMPARE(rig.text("Text16"), QString(frame.explanation).replace("\r\n", "\n"));
    }

    // On a scripted engine and transmission: the fuel system states that apply enabled and bold
    // (unused bits ignored, another controller's reply leaves the panel), the oxygen sensors too;
    // the codes as read in a fixed-pitch font, a click explaining one, the save, the erase.
    void scriptedPanels_data() {
        QTest::addColumn<QByteArray>("fuelReply"); // after one showing state 8 (of system 2)
        QTest::addColumn<QList<int>>("highlighted");
        QTest::newRow("both systems, several states") << QByteArray("7E8 04 41 03 11 05") << QList<int>{0, 4, 5, 7};
        QTest::newRow("unused bits of system 2") << QByteArray("7E8 04 41 03 1F E1") << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("another controller") << QByteArray("7E9 04 41 03 01 00") << QList<int>{8};
    }
    void scriptedPanels() {
        QFETCH(QByteArray, fuelReply);
        UiRig rig;
        rig.online();
        rig.window.show();
        rig.codesFile({"P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)", "P0171 System Too Lean (Bank 1)",
                       "P0741 Torque Converter Clutch Circuit Performance or Stuck Off"});
        rig.answers["03"] = "7E8 06 43 02 01 33 01 71\r\r>"; // two stored codes
        rig.answers["07"] = "7E9 04 47 01 07 41\r\r>";       // a pending one from the transmission
        rig.answers["0103"] = "7E8 04 41 03 00 08\r\r>";
        rig.answers["0113"] = "7E8 03 41 13 33\r\r>"; // sensors 1 and 2 of both banks
        rig.answers["0114"] = "7E8 04 41 14 5A 80\r\r>";
        rig.answers["0115"] = "7E8 04 41 15 FF FF\r\r>";
        const VehicleStatus& vehicle = rig.session.vehicle();
        rig.pass(Function::FuelSystems);
        rig.answers["0103"] = fuelReply + "\r\r>";
        rig.pass(Function::FuelSystems);
        QList<int> lit;
        for (int i = 0; i < 10; ++i) {
            const QWidget* label = rig.find(indexedName("Label4", i));
            QCOMPARE(label->font().bold(), label->isEnabled());
            if (label->isEnabled()) lit << i;
        }
        QTEST(lit, "highlighted");
        rig.pass(Function::OxygenSensors);
        const OxygenPanel& oxygen = vehicle.oxygen();
        QVERIFY(oxygen.present[0] && !oxygen.present[2]);
        for (int i = 0; i < 8; ++i) {
            for (const char* column : {"Label6", "Label7", "Label8"})
                QVERIFY(highlighted(rig.find(indexedName(column, i)), oxygen.present[i]));
            QCOMPARE(rig.text(indexedName("Label7", i)) + rig.text(indexedName("Label8", i)),
                     oxygen.voltage[i] + oxygen.fuelTrim[i]);
        }
        rig.pass(Function::TroubleCodes);
        const CodesPanel& state = rig.session.codes().codesPanel();
        auto* stored = rig.find<QListWidget>("List5");
        auto* pending = rig.find<QListWidget>("List6");
        const auto selected = [&] {
            return QStringLiteral("%1/%2").arg(stored->selectedItems().size()).arg(pending->selectedItems().size());
        };
        QVERIFY(state.stored.size() == 4 && itemsOf(stored) + itemsOf(pending) == state.stored + state.pending);
        const QFontMetrics metrics(stored->font());
        QCOMPARE(metrics.horizontalAdvance("iiiii"), metrics.horizontalAdvance("WWWWW"));
        clickRow(stored, 1);
        QCOMPARE(state.storedIndex, 1);
        QCOMPARE(rig.text("Text10"), QStringLiteral("P0171 System Too Lean (Bank 1)\n"));
        clickRow(pending, 0);
        QCOMPARE(state.pendingIndex, 0);
        QCOMPARE(selected(), QStringLiteral("0/1"));
        QVERIFY(rig.text("Text10").startsWith("P0741 Torque Converter"));
        clickRow(stored, 1); // back to the same stored line: explained again
        QCOMPARE(selected(), QStringLiteral("1/0"));
        QVERIFY(rig.text("Text10").startsWith("P0171"));
        QVERIFY(rig.host.messages.isEmpty());
        rig.host.saveAnswer = rig.dir.filePath(QStringLiteral("codes.txt"));
        rig.find<QPushButton>("Command11")->click();
        QVERIFY(rig.file("codes.txt").contains("P0741"));
        // ERASE ALL CODES holds both buttons and shows the confirmation pair, sending
        // nothing; CANCEL, or ERASE CODES NOW, gives them back.
        const auto eraseButtons = [&] { // those enabled | those of the confirmation shown
            QStringList out;
            for (const char* name : {"Command4", "Command11"})
                if (rig.find(name)->isEnabled()) out << name;
            out << "|";
            for (const char* name : {"Command5", "Command6"})
                if (rig.find(name)->isVisible()) out << name;
            return out.join(' ');
        };
        rig.port.lines.clear();
        for (const char* answer : {"Command6", "Command5"}) {
            QCOMPARE(eraseButtons(), QStringLiteral("Command4 Command11 |"));
            rig.find<QPushButton>("Command4")->click();
            QCOMPARE(eraseButtons(), QStringLiteral("| Command5 Command6"));
            rig.find<QPushButton>(answer)->click();
        }
        QCOMPARE(eraseButtons(), QStringLiteral("Command4 Command11 |"));
        QVERIFY(rig.port.lines.isEmpty());
        QCOMPARE(rig.session.navigation().function(), Function::Erase);
        QCOMPARE(itemsOf(stored).last(), QStringLiteral("--- Erasing ---"));
    }

    // The information the car offers, on each car: the VIN line and this drive cycle's monitors
    // on General Info, the permanent list (a click explains a code), the Vehicle Information
    // and Test Results panels with their Copy and Save, listed only where the car answers.
    void informationPanels_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<bool>("testResults"); // listed, and the drive cycle shown
        QTest::addColumn<int>("permanent");
        QTest::newRow("CAN, one test failing") << "can11" << true << 0;
        QTest::newRow("CAN, permanent codes") << "manycodes" << true << 2;
        QTest::newRow("legacy: no test results, no drive cycle") << "legacy" << false << 0;
    }
    void informationPanels() {
        QFETCH(QString, profile);
        QFETCH(bool, testResults);
        QFETCH(int, permanent);
        CarWindowRig rig(profile);
        rig.window.show();
        rig.run(Function::GeneralInfo, Function::GeneralInfo);
        const GeneralInfoPanel& info = rig.session.vehicle().generalInfo();
        QVERIFY(info.vin.size() > 17);
        QCOMPARE(rig.text("vin"), info.vin);
        QCOMPARE(rig.find("driveCycleEnabled")->isVisible(), testResults);
        if (testResults) QCOMPARE(rig.items("driveCycleEnabled"), info.driveCycleEnabled);
        QStringList names;
        for (const ListEntry& entry : rig.session.navigation().functions())
            names << entry.name;
        QVERIFY(names.contains("Vehicle Information"));
        QCOMPARE(names.contains("Test Results"), testResults);

        rig.run(Function::TroubleCodes);
        const CodesPanel& codes = rig.session.codes().codesPanel();
        QCOMPARE(rig.text("permanentHeading"), QStringLiteral("Permanent"));
        QCOMPARE(rig.items("permanentList"), codes.permanent);
        QCOMPARE(codes.permanent.size(), permanent > 0 ? permanent + 2 : 2);
        if (permanent > 0) { // a click explains the code and takes the selection
            rig.session.codes().selectStored(0);
            clickRow(rig.find<QListWidget>("permanentList"), 1);
            QVERIFY(rig.text("Text10").startsWith(codes.permanent.at(1).left(6)));
            QVERIFY(codes.storedIndex == -1 && codes.pendingIndex == -1 && codes.permanentIndex == 1);
        }

        VehicleInfo& vehicleInfo = rig.session.vehicleInfo();
        const QString saved = rig.dir.filePath(QStringLiteral("saved.txt"));
        rig.host.saveAnswer = saved;
        rig.run(Function::VehicleInformation, Function::VehicleInformation);
        QCOMPARE(rig.text("vehicleInfoText"), QString(vehicleInfo.infoText()).replace("\r\n", "\n"));
        rig.find<QPushButton>("vehicleInfoCopy")->click();
        QCOMPARE(rig.host.clipboard.last(), vehicleInfo.infoText());
        rig.find<QPushButton>("vehicleInfoSave")->click();
        QVERIFY(fileText(saved).contains(vehicleInfo.infoText().toUtf8()));
        if (!testResults) return;
        rig.run(Function::TestResults, Function::TestResults);
        QVERIFY(rig.text("testResultsText").contains("Catalyst Monitor Bank 1"));
        QCOMPARE(rig.text("testResultsText"), QString(vehicleInfo.testsText()).replace("\r\n", "\n"));
        rig.find<QPushButton>("testResultsSave")->click();
        QVERIFY(fileText(saved).endsWith(vehicleInfo.testsText().toUtf8() + "\r\n"));
    }

    // The speed scale follows the unit setting, its labels where the dial's geometry puts them; a
    // speed in the other unit redraws it, so scale and readout agree. Needles pass the scale's end.
    void speedScale_data() {
        QTest::addColumn<bool>("milesPerHour");
        QTest::newRow("mph") << true;
        QTest::newRow("km/h") << false;
    }
    void speedScale() {
        QFETCH(bool, milesPerHour);
        const int labels = milesPerHour ? 15 : 12, otherLabels = milesPerHour ? 12 : 15; // 0 to 140 mph, 0 to 220 km/h
        UiRig rig;
        rig.session.settings().milesPerHour = milesPerHour;
        const DialUnit unit = milesPerHour ? DialUnit::MPH : DialUnit::KPH;
        const DialUnit other = milesPerHour ? DialUnit::KPH : DialUnit::MPH;
        auto* panel = rig.window.findChild<SpeedPanelWidget*>();
        rig.session.instruments().showSpeed(90, other);
        panel->resetDial();
        QCOMPARE(rig.text("Label13"), QString(milesPerHour ? "MPH" : "km/h"));
        QCOMPARE(rig.text("Label14"), QStringLiteral("0"));
        DialFace* dial = panel->dial();
        QVERIFY(needleAt(dial, -4.07));
        const DialLayout layout = dialLayout(unit, QPointF(dial->width() / 2.0, dial->width() / 2.0), dial->width());
        for (int k = 0; k <= 16; ++k) {
            auto* label = rig.find<QLabel>(indexedName("Label12", k));
            QCOMPARE(!label->isHidden(), k < labels);
            if (k >= labels) continue;
            const QPointF centre = QRectF(label->geometry()).center();
            QCOMPARE(label->text(), layout.labels.at(k).caption);
            QVERIFY(std::abs(centre.x() - layout.labels.at(k).right) <= 1 &&
                    std::abs(centre.y() - layout.labels.at(k).top) <= 1);
        }
        rig.session.instruments().showSpeed(100, other);
        QCOMPARE(rig.text("Label13"), QString(milesPerHour ? "km/h" : "MPH"));
        QVERIFY(!rig.find(indexedName("Label12", otherLabels - 1))->isHidden() &&
                rig.find(indexedName("Label12", otherLabels))->isHidden());
        QVERIFY(needleAt(dial, -4.07 + 100 * 5 / fullScale(other)));
        QCOMPARE(rig.text("Label14"), QStringLiteral("100"));
        rig.session.instruments().showEngineSpeed(12000);
        QVERIFY(needleAt(rig.window.findChild<RpmPanelWidget*>()->dial(), -4.07 + 6));
        QCOMPARE(rig.text("Label23"), QStringLiteral("12000"));
    }

    // What is typed goes to the acceleration test on Reset/Arm: mph converted, the start
    // at least 1, the end at most the speed byte, text as 0.
    void accelerationEntries_data() {
        QTest::addColumn<bool>("milesPerHour");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("startSpeed");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("endSpeed");
        QTest::newRow("0 to 60 mph") << true << "0" << 1 << "60" << 97;
        QTest::newRow("30 to 50 mph") << true << "30" << 48 << "50" << 80;
        QTest::newRow("km/h as typed") << false << "20" << 20 << "100" << 100;
        QTest::newRow("end beyond the speed byte") << false << "0" << 1 << "300" << 255;
        QTest::newRow("not numbers") << false << "abc" << 1 << "" << 0;
        QTest::newRow("absurd entries") << true << "-5" << 1 << "99999999" << 255;
    }
    void accelerationEntries() {
        QFETCH(bool, milesPerHour);
        QFETCH(QString, start);
        QFETCH(QString, end);
        UiRig rig;
        rig.session.settings().milesPerHour = milesPerHour;
        rig.window.show();
        QCOMPARE(rig.text("Text6") + " " + rig.text("Text7"), QStringLiteral("0 60"));
        for (const auto& [name, text] : {std::pair<const char*, QString>{"Text6", start}, {"Text7", end}}) {
            rig.find<QLineEdit>(name)->selectAll();
            QTest::keyClick(rig.find(name), Qt::Key_Delete);
            QTest::keyClicks(rig.find(name), text);
        }
        rig.find<QPushButton>("Command10")->click();
        const InstrumentPanels& panels = rig.session.instruments().panels();
        QCOMPARE(panels.startText + "|" + panels.endText, start + "|" + end);
        QTEST(panels.test.startSpeed(), "startSpeed");
        QTEST(panels.test.endSpeed(), "endSpeed");
        QCOMPARE(rig.text("Text8"), QStringLiteral("Ready"));
    }

    // File names the log and enables Start / Mark and Stop; while logging no row's boxes
    // or channel can change, so the header stays true for every row below it.
    void loggingLocksTheRows() {
        LiveRig rig;
        QCOMPARE(rig.find<QComboBox>("Combo1_4")->itemText(1), QStringLiteral("Vehicle Speed"));
        QCOMPARE(rig.text("text15"), QStringLiteral("noname"));
        auto* start = rig.find<QPushButton>("Command15");
        QVERIFY(!start->isEnabled());
        rig.host.saveAnswer = rig.dir.filePath(QStringLiteral("drive"));
        rig.find<QPushButton>("Command14")->click();
        QCOMPARE(rig.text("text15"), QStringLiteral("drive.csv"));
        rig.box("Check1", 2)->click();
        QVERIFY(rig.live.row(2).enabled);
        start->click();
        QVERIFY(rig.live.dataLog().logging());
        for (int i = 0; i < kLiveRows; ++i)
            for (const char* name : {"Check1", "Check2", "Combo1"})
                QVERIFY(!rig.find(indexedName(name, i))->isEnabled());
        // How often a row is asked may change while logging: the log carries every row's latest value.
        rig.choose("rowInterval2", 3);
        QCOMPARE(rig.find<QComboBox>("rowInterval2")->currentText() + " " +
                     QString::number(rig.live.schedule().choice(2)),
                 QStringLiteral("every 10th 10"));
        rig.find<QPushButton>("Command16")->click();
        QVERIFY(!rig.live.dataLog().logging());
        QVERIFY(rig.box("Check1", 2)->isEnabled() && rig.find("Combo1_2")->isEnabled());
    }

    // A gauge window exists while its row's "Show Gauge" box is checked, and goes with every
    // way of clearing it. A pass lights the row's lamp while it asks, then shows the value
    // and feeds the gauge.
    void gaugeWindowGoesWithItsRow_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"gauge box", "enable box", "another channel", "another panel", "connection ends"})
            QTest::newRow(how) << how;
    }
    void gaugeWindowGoesWithItsRow() {
        QFETCH(QString, how);
        LiveRig rig;
        rig.box("Check2", 3)->click();
        QPointer<GaugeWindow> gauge = rig.gauge(3);
        QVERIFY(gauge && gauge->isVisible() && (gauge->windowFlags() & Qt::FramelessWindowHint));
        QCOMPARE(gauge->scale().name, rig.live.row(3).dial.name);
        QVERIFY(rig.box("Check1", 3)->isChecked()); // showing a gauge enables monitoring
        rig.online();
        rig.answers["010C"] = "7E8 04 41 0C 1A F9\r\r>";
        bool litDuringRequest = false;
        rig.clock.onYield = [&](double) { litDuringRequest |= rig.find<ActivityLamp>("Shape2_3")->lit(); };
        rig.pass(Function::LiveData);
        QVERIFY(litDuringRequest && !rig.find<ActivityLamp>("Shape2_3")->lit());
        const LiveRow& row = rig.live.row(3);
        QCOMPARE(rig.text("Text5_3") + " " + rig.text("Text12"), row.value + " " + rig.live.passRate());
        QCOMPARE(row.value + " " + gauge->readout(), QStringLiteral("1726 RPM 1726"));
        QVERIFY(gauge->needle() == row.gauge.position && row.gauge.position > 0);
        if (how == "gauge box")
            rig.box("Check2", 3)->click();
        else if (how == "enable box")
            rig.box("Check1", 3)->click();
        else if (how == "another channel")
            rig.choose("Combo1_3", 1);
        else if (how == "another panel")
            rig.session.showPanel(Panel::GeneralInfo);
        else
            rig.session.connection().hooks().onEnd();
        QVERIFY(!rig.gauge(3) && !rig.box("Check2", 3)->isChecked() && !row.showGauge);
        QCOMPARE(row.channel.code(), how == "another channel" ? 13 : 12);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!gauge);
    }

    // Rows 0 and 1 get large dials; a channel without a dial gets no window (its box clears). A
    // right-click switches to the digital display and back; a left-button drag moves the gauge.
    void gaugeWindowShape_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("size"); // 0: no window
        QTest::newRow("large") << 1 << 0 << 330;
        QTest::newRow("small") << 2 << 1 << 194;
        QTest::newRow("no dial") << 5 << 2 << 0;
    }
    void gaugeWindowShape() {
        QFETCH(int, row);
        QFETCH(int, channel);
        QFETCH(int, size);
        LiveRig rig;
        rig.live.chooseRowChannel(row, channel);
        rig.box("Check2", row)->click();
        QCOMPARE(rig.box("Check2", row)->isChecked(), size > 0);
        QVERIFY(rig.box("Check1", row)->isChecked());
        GaugeWindow* gauge = rig.gauge(row);
        QCOMPARE(gauge != nullptr, size > 0);
        if (!gauge) return;
        const QRegion dial(0, 0, size, size, QRegion::Ellipse);
        QCOMPARE(gauge->size(), QSize(size, size));
        QCOMPARE(gauge->mask(), dial);
        QTest::mouseClick(gauge, Qt::RightButton, {}, QPoint(size / 2, size / 2));
        QVERIFY(gauge->digitalmode());
        QCOMPARE(gauge->mask(), QRegion(0, 0, 248, 147));
        QTest::mouseClick(gauge, Qt::RightButton, {}, QPoint(50, 50));
        QCOMPARE(gauge->mask(), dial);
        const QPoint before = gauge->pos();
        QTest::mousePress(gauge, Qt::LeftButton, {}, QPoint(20, 97));
        QMouseEvent move(QEvent::MouseMove, QPointF(60, 117), gauge->mapToGlobal(QPointF(60, 117)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(gauge, &move);
        QTest::mouseRelease(gauge, Qt::LeftButton, {}, QPoint(60, 117));
        QCOMPARE(gauge->pos(), before + QPoint(40, 20));
        QVERIFY(!gauge->digitalmode());
    }

    // Pressing an axis button moves its axis ends at once; held, it repeats after 500 ms, then
    // every 80 ms; released, the plot takes the focus.
    void axisButtons_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QList<int>>("moved"); // axis labels: 0/1 left top/bottom, 2/3 right
        QTest::newRow("top left up") << 0 << QList<int>{0};
        QTest::newRow("bottom left down") << 3 << QList<int>{1};
        QTest::newRow("bottom right up") << 6 << QList<int>{3};
        QTest::newRow("zoom left") << 8 << QList<int>{0, 1};
        QTest::newRow("zoom right") << 11 << QList<int>{2, 3};
    }
    void axisButtons() {
        QFETCH(int, button);
        QFETCH(QList<int>, moved);
        LiveRig rig(Panel::Graphs);
        rig.live.chooseTraceChannel(0, 0);
        rig.choose("Combo9_1", 1);
        const GraphModel& graph = rig.live.graph();
        auto* panel = rig.find<GraphPanel>("graphPanel");
        QTimer* timer = panel->repeatTimer();
        QStringList before = rig.axisLabels();
        const auto changed = [&] {
            QList<int> out;
            for (int k = 0; k < 4; ++k)
                if (rig.axisLabels()[k] != before[k]) out << k;
            before = rig.axisLabels();
            return out;
        };
        auto* pressed = rig.find<QPushButton>(indexedName("Command12", button));
        QTest::mousePress(pressed, Qt::LeftButton);
        QCOMPARE(changed(), moved);
        QCOMPARE(timer->isActive() ? timer->interval() : 0, 500);
        panel->repeatAxisButton(); // the timer fires
        QCOMPARE(changed(), moved);
        QCOMPARE(timer->interval(), 80);
        QTest::mouseRelease(pressed, Qt::LeftButton);
        QVERIFY(!timer->isActive());
        QCOMPARE(changed(), QList<int>());
        QCOMPARE(rig.window.focusWidget(), static_cast<QWidget*>(panel->plot()));
        QCOMPARE(rig.live.trace(1).channel.code(), 13); // the selector wrote back
        rig.find<QPushButton>("Command18_1")->click();  // the time zoom
        QCOMPARE(graph.sampleSpacing(), 5 * 1.05);
        rig.find<QPushButton>("Command18_0")->click();
        rig.find<QPushButton>("Command18_0")->click();
        QCOMPARE(graph.sampleSpacing(), 5 / 1.05);
    }

    // All Modules on the car with eight modules: every module listed with its codes, the
    // selected one's codes with their status; clearing the ABS module after its confirmation
    // leaves every other module's codes.
    void allModules() {
        CarWindowRig rig(QStringLiteral("fullcar"));
        rig.window.show();
        const auto column = [&](int c) {
            QStringList out;
            auto* list = rig.find<QTreeWidget>("moduleList");
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                out << list->topLevelItem(i)->text(c);
            return out;
        };
        QStringList before, absCodes;
        bool asked = false;
        rig.afterPass = [&](Function served) {
            Navigation& navigation = rig.session.navigation();
            if (served == Function::Detection && navigation.function() == Function::GeneralInfo)
                navigation.setFunction(Function::AllModules);
            if (served != Function::AllModules) return served == Function::ClearModules;
            before = column(3);
            auto* list = rig.find<QTreeWidget>("moduleList");
            list->setCurrentItem(list->topLevelItem(int(column(1).indexOf("ABS-BrakeControl"))));
            for (int i = 0; i < rig.find<QTreeWidget>("moduleCodes")->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* code = rig.find<QTreeWidget>("moduleCodes")->topLevelItem(i);
                absCodes << code->text(0) + " " + code->text(1);
            }
            rig.find<QPushButton>("clearModule")->click();
            asked = rig.find("clearModulesConfirm")->isVisible() &&
                    rig.text("clearModulesQuestion").startsWith("Clear the trouble codes of ABS-BrakeControl?");
            rig.find<QPushButton>("clearModulesNow")->click();
            return false;
        };
        rig.session.connection().run();
        QCOMPARE(before.size(), 8);
        QCOMPARE(absCodes, (QStringList{"C0035-13 test failed, confirmed, warning lamp requested",
                                        "C0040-2F confirmed, failed since clear"}));
        QVERIFY(asked && !rig.find("clearModulesConfirm")->isVisible());
        QStringList after = before;
        after[column(1).indexOf("ABS-BrakeControl")] = "0";
        QCOMPARE(column(3), after);
        rig.host.saveAnswer = rig.dir.filePath("modules");
        rig.find<QPushButton>("saveModules")->click();
        const QString report = QString::fromLatin1(fileText(rig.dir.filePath("modules.txt")));
        QVERIFY2(report.contains("\r\nVIN: ") &&
                     report.contains("737/73F  SRS-Restraints  (uds)  2 code(s), warning lamp"),
                 qPrintable(report));
    }

    // Manufacturer parameters, from the Window menu's entry: an imported file is copied into
    // the data folder and listed with its parameters and its rejected lines; removed after
    // the question, it is gone.
    void parameterDefinitions() {
        UiRig rig;
        rig.window.show();
        rig.session.showParameterDefinitions();
        QCOMPARE(rig.session.navigation().panel(), Panel::Parameters);
        QVERIFY(writeText(rig.dir.filePath("mine.csv"), "Name,ShortName,ModeAndPID,Equation,Min,Max,Units,Header\n"
                                                        "State of charge,SOC,2101,A/2,0,100,%,7E4\n"
                                                        "Bad,B,2101,FOO(A),,,,7E4\n"));
        rig.host.openAnswer = rig.dir.filePath("mine.csv");
        rig.find<QPushButton>("importParameters")->click();
        QVERIFY(QFile::exists(rig.dir.filePath("parameters/mine.csv")));
        auto* tree = rig.find<QTreeWidget>("parameterFiles");
        QCOMPARE(tree->topLevelItemCount(), 1);
        const QTreeWidgetItem* file = tree->topLevelItem(0);
        QStringList rows;
        for (int i = 0; i < file->childCount(); ++i) {
            QStringList columns;
            for (int c = 0; c < 5; ++c)
                columns << file->child(i)->text(c);
            rows << columns.join('|').remove(QRegularExpression("\\|+$"));
        }
        QCOMPARE(rows, (QStringList{"State of charge|2101|7E4|%|0 .. 100",
                                    "line 3, column 4 (Equation): unknown function FOO"}));
        tree->setCurrentItem(file->child(0));
        rig.find<QPushButton>("removeParameters")->click();
        QVERIFY(!QFile::exists(rig.dir.filePath("parameters/mine.csv")) && tree->topLevelItemCount() == 0);
    }

    // On the electric car a live row chosen on a battery parameter shows its value, its gauge
    // spans the parameter's Min and Max, and the Parameters panel shows the same last value.
    void manufacturerParameterInALiveRow() {
        CarWindowRig rig(QStringLiteral("ev"));
        QDir().mkpath(rig.dir.filePath("parameters"));
        QFile::copy(ZELCOR_SOURCE_DIR "/data/parameters/ev-battery.csv", rig.dir.filePath("parameters/ev-battery.csv"));
        rig.session.parameters().reload();
        rig.window.show();
        int livePasses = 0;
        QString gaugeShown; // the gauge window's scale, readout and needle, while it is open
        rig.afterPass = [&](Function served) {
            if (served == Function::Detection) rig.session.navigation().setFunction(Function::LiveData);
            if (served != Function::LiveData || ++livePasses < 2) return false;
            if (livePasses == 3) {
                if (const GaugeWindow* gauge = rig.find<LivePanel>("livePanel")->gauges()->window(0))
                    gaugeShown = QStringLiteral("%1 %2 %3 %4")
                                     .arg(gauge->scale().minimum)
                                     .arg(gauge->scale().maximum)
                                     .arg(gauge->readout())
                                     .arg(gauge->needle());
                return true;
            }
            auto* combo = rig.find<QComboBox>("Combo1_0");
            const int index = combo->findText("Pack voltage");
            combo->setCurrentIndex(index);
            emit combo->activated(index);
            if (!rig.find<QCheckBox>("Check1_0")->isChecked()) rig.find<QCheckBox>("Check1_0")->click();
            rig.find<QCheckBox>("Check2_0")->click();
            return false;
        };
        rig.session.connection().run();
        QCOMPARE(livePasses, 3);
        const LiveRow& row = rig.session.live().row(0);
        QVERIFY2(row.value.endsWith(" V") && row.number > 250 && row.number < 450, qPrintable(row.value));
        QCOMPARE(rig.text("Text5_0"), row.value);
        QCOMPARE(gaugeShown,
                 QStringLiteral("250 450 %1 %2").arg(row.value.chopped(2)).arg((*row.number - 250) / 200 * 100));
        const QTreeWidgetItem* file = rig.find<QTreeWidget>("parameterFiles")->topLevelItem(0);
        QString shown;
        for (int i = 0; i < file->childCount(); ++i)
            if (file->child(i)->text(0) == "Pack voltage") shown = file->child(i)->text(6);
        QCOMPARE(shown, row.value);
    }
};

ZELCOR_TEST(PanelsTest)
#include "panels_test.moc"
