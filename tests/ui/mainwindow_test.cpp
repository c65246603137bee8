#include "core/listentry.h"
#include "testmain.h"
#include "ui/main/panelframe.h"
#include "ui/main/panelstack.h"
#include "ui/main/statuslamp.h"
#include "ui/main/windowplacement.h"
#include "uirig.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

QStringList functionList(const QList<QPair<QString, int>>& entries) {
    QStringList list;
    for (const auto& [name, code] : entries)
        list << listEntry(name, code);
    return list;
}

const QList<QPair<QString, int>> kFirstFive = {{"General Info", 1},
                                               {"DTC (Trouble Codes)", 254},
                                               {"Freeze Frame Data", 248},
                                               {"Real-Time Gauges", 250},
                                               {"Real-Time Graphs", 240}};

void setFunctions(Session& session, const QStringList& list, int selected) {
    session.List4 = list;
    session.List4Index = selected;
    session.funccode = selected >= 0 ? qint16(entryCode(list.at(selected))) : 0;
    emit session.functionListChanged();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void debugLogRevealedByCtrlDOnly_data() {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("revealed");
        QTest::newRow("D alone") << int(Qt::NoModifier) << false;
        QTest::newRow("Shift+D") << int(Qt::ShiftModifier) << false;
        QTest::newRow("Ctrl+D") << int(Qt::ControlModifier) << true;
    }
    void debugLogRevealedByCtrlDOnly() {
        QFETCH(int, modifiers);
        QFETCH(bool, revealed);
        UiRig rig;
        rig.window.show();
        rig.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        // The first activation gives CONNECT the focus.
        QCOMPARE(rig.window.focusWidget(), rig.find<QWidget>("Command1"));
        auto* debugLog = rig.find<QPushButton>("Command19");
        QVERIFY(debugLog);
        QVERIFY(debugLog->isHidden());

        QTest::keyClick(&rig.window, Qt::Key_D, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(!debugLog->isHidden(), revealed);
        QCOMPARE(rig.session.buttons.debugLogVisible, revealed);

        // Another panel in front does not hide it again.
        rig.session.FRAME(Panel::Frame2);
        rig.session.FRAME(Panel::Frame1);
        QCOMPARE(!debugLog->isHidden(), revealed);
    }

    void lampColours_data() {
        QTest::addColumn<int>("lamp");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("idle") << int(Lamp::Black) << QColor(0, 0, 0);
        QTest::newRow("waking") << int(Lamp::Yellow) << QColor(255, 255, 0);
        QTest::newRow("link up") << int(Lamp::Green) << QColor(0, 255, 0);
        QTest::newRow("link lost") << int(Lamp::Red) << QColor(255, 0, 0);
    }
    void lampColours() {
        QFETCH(int, lamp);
        QFETCH(QColor, colour);
        UiRig rig;
        rig.window.show();
        // Start from another colour so that every row really repaints.
        rig.session.connection.panel.lamp = Lamp(lamp) == Lamp::Green ? Lamp::Red : Lamp::Green;
        emit rig.session.connection.panelChanged();
        rig.session.connection.panel.lamp = Lamp(lamp);
        emit rig.session.connection.panelChanged();

        auto* shape = rig.find<StatusLamp>("Shape1");
        QVERIFY(shape);
        const QImage image = shape->grab().toImage();
        QCOMPARE(image.pixelColor(image.rect().center()), colour);
    }

    void functionItemsSelectPositions_data() {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("expected"); // selected position afterwards

        const QStringList full = functionList(
            kFirstFive + QList<QPair<QString, int>>{{"Engine RPM", 12}, {"Vehicle Speed", 13}, {"Oxygen Sensors", 19}});
        const QStringList noOxygen =
            functionList(kFirstFive + QList<QPair<QString, int>>{{"Engine RPM", 12}, {"Vehicle Speed", 13}});
        const QStringList oxygenOnly = functionList(kFirstFive + QList<QPair<QString, int>>{{"Oxygen Sensors", 19}});

        QTest::newRow("General") << full << 0 << 0;
        QTest::newRow("Graphs") << full << 4 << 4;
        QTest::newRow("RPM, own position holds Speed") << full << 6 << 5;
        QTest::newRow("Speed, own position holds O2") << full << 7 << 6;
        QTest::newRow("O2 Sens where RPM sits") << full << 5 << 2;
        QTest::newRow("RPM without O2") << noOxygen << 6 << 5;
        QTest::newRow("Speed without O2") << noOxygen << 7 << 6;
        QTest::newRow("O2 Sens without O2") << noOxygen << 5 << 2;
        QTest::newRow("O2 Sens listed") << oxygenOnly << 5 << 5;
        QTest::newRow("RPM not supported") << oxygenOnly << 6 << 2;
        QTest::newRow("Speed not supported") << oxygenOnly << 7 << 2;
        QTest::newRow("Codes with no list") << QStringList() << 1 << -1;
    }
    void functionItemsSelectPositions() {
        QFETCH(QStringList, list);
        QFETCH(int, item);
        QFETCH(int, expected);
        UiRig rig;
        setFunctions(rig.session, list, list.isEmpty() ? -1 : 2);

        auto* action = rig.window.findChild<QAction*>(QStringLiteral("m_%1").arg(item));
        QVERIFY(action);
        QCOMPARE(action->text(), MainWindow::functionItemCaption(item));
        action->trigger();

        QCOMPARE(rig.session.List4Index, expected);
        auto* shown = rig.find<QListWidget>("List4");
        QCOMPARE(shown->currentRow(), expected);
        if (expected >= 0) QCOMPARE(int(rig.session.funccode), entryCode(list.at(expected)));
        // The list shows the names only.
        QCOMPARE(shown->count(), list.size());
        for (int i = 0; i < list.size(); ++i)
            QCOMPARE(shown->item(i)->text(), entryName(list.at(i)));
    }

    // A click on the entry already selected runs the list's click again; a click on
    // another entry selects it and runs the click once.
    void listClicks_data() {
        QTest::addColumn<bool>("viaFunctionItem");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("expectedCode");
        QTest::addColumn<int>("expectedFrame");
        QTest::newRow("General while selected") << true << 0 << 1 << int(Panel::D0101);
        QTest::newRow("click on the selected entry") << false << 0 << 1 << int(Panel::D0101);
        QTest::newRow("click on another entry") << false << 3 << 250 << int(Panel::D250);
    }
    void listClicks() {
        QFETCH(bool, viaFunctionItem);
        QFETCH(int, row);
        QFETCH(int, expectedFrame);
        UiRig rig;
        rig.window.show();
        setFunctions(rig.session, functionList(kFirstFive), 0);
        // Something else was served meanwhile.
        rig.session.funccode = 255;
        QCOMPARE(rig.session.frame, Panel::Frame1);

        if (viaFunctionItem) {
            rig.window.findChild<QAction*>(QStringLiteral("m_0"))->trigger();
        } else {
            auto* list = rig.find<QListWidget>("List4");
            const QRect rect = list->visualItemRect(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
        QTEST(int(rig.session.funccode), "expectedCode");
        QCOMPARE(rig.session.List4Index, row);
        QCOMPARE(int(rig.session.frame), expectedFrame);
        auto* panels = rig.window.panels();
        QCOMPARE(panels->currentWidget()->objectName(), panelName(Panel(expectedFrame)));
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

    // Closing the window while a connection waits for the vehicle ends the connection at
    // once: no further wake-up rounds and no error box.
    void closingDuringConnectionEndsIt() {
        UiRig rig;
        rig.port.respond = [](const QByteArray& line) -> QByteArray {
            return line.startsWith("ATWS") ? QByteArray("\r\rELM327 v1.5\r\r>") : QByteArray();
        };
        rig.window.show();
        bool closed = false;
        int yieldsAtClose = 0;
        rig.clock.onYield = [&](double) {
            if (!closed && rig.session.connection.panel.lamp == Lamp::Yellow) {
                closed = true;
                yieldsAtClose = rig.clock.yields();
                rig.window.close();
            }
        };
        rig.find<QPushButton>("Command1")->click();

        QVERIFY(closed);
        QVERIFY(!rig.window.isVisible());
        QVERIFY(!rig.session.connection.running());
        QVERIFY(rig.session.stopflag);
        QVERIFY(rig.clock.yields() - yieldsAtClose < 100);
        QVERIFY(rig.host.messages.isEmpty());
        QVERIFY(!rig.port.isOpen());
    }

    void exitClosesTheWindow() {
        UiRig rig;
        rig.window.show();
        rig.find<QPushButton>("Command7")->click();
        QVERIFY(!rig.window.isVisible());
        QVERIFY(!rig.clock.waitsAbandoned());
    }
};

ZELCOR_TEST(MainWindowTest)
#include "mainwindow_test.moc"
