// The trouble code and freeze frame panels drawn from the session's state, and the
// clicks they pass back.

#include "core/session.h"
#include "testmain.h"
#include "uirig.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

QStringList itemsOf(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

struct DtcUiRig : UiRig {
    DtcUiRig() {
        codesFile({"P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)",
                   "P0741 Torque Converter Clutch Circuit Performance or Stuck Off"});
        session.List5 = closed({"P0133" + gap + "232", "P0171" + gap + "232"});
        session.List6 = closed({"P0741" + gap + "233"});
        session.FRAME(Panel::D03);
        emit session.panelChanged(Panel::D03);
        window.show();
    }
    void clickRow(const QString& listName, int row) {
        auto* list = find<QListWidget>(listName);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QApplication::processEvents(); // the session hears of the click once the list is done with it
    }
};

} // namespace

class DtcPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void codesPanelShowsTheLists() {
        DtcUiRig rig;
        QCOMPARE(itemsOf(rig.find<QListWidget>("List5")), rig.session.List5);
        QCOMPARE(itemsOf(rig.find<QListWidget>("List6")), rig.session.List6);
        // Fixed pitch, so the controller column lines up.
        for (const char* name : {"List5", "List6"}) {
            const QFontMetrics metrics(rig.find<QListWidget>(name)->font());
            QCOMPARE(metrics.horizontalAdvance("iiiii"), metrics.horizontalAdvance("WWWWW"));
        }
        for (const char* header : {"Label27", "Label11"})
            QCOMPARE(rig.find<QLabel>(header)->text(), QStringLiteral("DTC                            Reported By"));
    }

    // The buttons follow the panel state: off while reading, the confirmation pair only
    // while it is asked for.
    void buttonStates_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("idle") << true << false;
        QTest::newRow("confirming") << false << true;
    }
    void buttonStates() {
        QFETCH(bool, enabled);
        QFETCH(bool, confirm);
        DtcUiRig rig;
        rig.session.dtc.eraseEnabled = enabled;
        rig.session.dtc.saveEnabled = enabled;
        rig.session.dtc.confirmVisible = confirm;
        emit rig.session.panelChanged(Panel::D03);
        QCOMPARE(rig.find<QPushButton>("Command4")->isEnabled(), enabled);
        QCOMPARE(rig.find<QPushButton>("Command11")->isEnabled(), enabled);
        QCOMPARE(rig.find<QPushButton>("Command5")->isVisible(), confirm);
        QCOMPARE(rig.find<QPushButton>("Command6")->isVisible(), confirm);
    }

    void eraseAskedThroughTheButtons() {
        DtcUiRig rig;
        rig.session.funccode = 255;
        QTest::mouseClick(rig.find<QPushButton>("Command4"), Qt::LeftButton);
        QVERIFY(rig.find<QPushButton>("Command5")->isVisible());
        QTest::mouseClick(rig.find<QPushButton>("Command5"), Qt::LeftButton);
        QCOMPARE(rig.session.funccode, qint16(253));
        QCOMPARE(itemsOf(rig.find<QListWidget>("List6")).last(), QStringLiteral("--- Erasing ---"));
        QVERIFY(!rig.find<QPushButton>("Command5")->isVisible());
    }

    // A click explains the code; the other list loses its selection.
    void clickingALine() {
        DtcUiRig rig;
        auto* stored = rig.find<QListWidget>("List5");
        auto* pending = rig.find<QListWidget>("List6");
        auto* box = rig.find<QPlainTextEdit>("Text10");
        rig.clickRow("List5", 0);
        QCOMPARE(rig.session.dtc.storedIndex, 0);
        QCOMPARE(box->toPlainText(), QStringLiteral("P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)\n"));
        rig.clickRow("List6", 0);
        QCOMPARE(rig.session.dtc.pendingIndex, 0);
        QCOMPARE(rig.session.dtc.storedIndex, -1);
        QVERIFY(stored->selectedItems().isEmpty());
        QCOMPARE(pending->selectedItems().size(), 1);
        QCOMPARE(box->toPlainText(),
                 QStringLiteral("P0741 Torque Converter Clutch Circuit Performance or Stuck Off\n"));
        // Back to the same stored line: it is explained again.
        rig.clickRow("List5", 0);
        QCOMPARE(rig.session.dtc.storedIndex, 0);
        QVERIFY(pending->selectedItems().isEmpty());
        QVERIFY(box->toPlainText().startsWith("P0133"));
        QVERIFY(rig.host.messages.isEmpty());
    }

    void freezeFramePanelShowsVisibleRows() {
        UiRig rig;
        FreezeFrame& frame = rig.session.freeze;
        frame.rows[0] = {"Freeze Frame DTC", "P0133   ", true};
        frame.rows[1] = {"Fuel System Status", "S1: CL", true};
        frame.rows[12] = {"Engine RPM", "1726", true};
        frame.explanation = "P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)\r\n";
        rig.session.FRAME(Panel::D0200);
        emit rig.session.panelChanged(Panel::D0200);
        rig.window.show();
        for (int r = 0; r < FreezeFrame::rowCount; ++r) {
            const bool shown = r == 0 || r == 1 || r == 12;
            auto* label = rig.find<QLabel>(QStringLiteral("fflabel_%1").arg(r));
            auto* value = rig.find<QLineEdit>(QStringLiteral("ffvalue_%1").arg(r));
            QVERIFY(label && value);
            QCOMPARE(label->isVisible(), shown);
            QCOMPARE(value->isVisible(), shown);
            if (shown) {
                QCOMPARE(label->text(), frame.rows[r].label);
                QCOMPARE(value->text(), frame.rows[r].value);
            }
        }
        QCOMPARE(rig.find<QPlainTextEdit>("Text16")->toPlainText(),
                 QStringLiteral("P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)\n"));
    }
};

ZELCOR_TEST(DtcPanelsTest)
#include "dtcpanels_test.moc"
