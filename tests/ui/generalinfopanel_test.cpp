#include "sessionrig.h"
#include "testmain.h"
#include "ui/main/mainwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// The main window on the simulated car: CONNECT runs real passes on the test clock until
// `afterPass` says to stop.
struct SimWindowRig : CarRig {
    MainWindow window{session};

    explicit SimWindowRig(const QString& profile) : CarRig(profile) { window.show(); }
    template <typename T> T* find(const QString& name) const { return window.findChild<T*>(name); }
    QStringList items(const QString& name) const {
        QStringList out;
        auto* list = find<QListWidget>(name);
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    QString text(const QString& name) const { return find<QLineEdit>(name)->text(); }
};

} // namespace

class GeneralInfoPanelTest : public QObject {
    Q_OBJECT
private slots:
    void simulatedCar_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("mil");
        QTest::addColumn<QStringList>("incomplete");
        QTest::addColumn<QStringList>("controllers");
        QTest::newRow("can11") << "can11"
                               << "2"
                               << "ON" << QStringList{"Evaporative System"} << QStringList{"232", "233"};
        QTest::newRow("legacy") << "legacy"
                                << "4"
                                << "ON" << QStringList{"Catalyst", "Evaporative System"} << QStringList{"16", "24"};
    }
    void simulatedCar() {
        QFETCH(QString, profile);
        QFETCH(QStringList, controllers);
        SimWindowRig rig(profile);
        rig.afterPass = [](int code) { return code == 1; };
        rig.session.connection.CONNECT();

        QCOMPARE(rig.session.connection.lastError, -1);
        QCOMPARE(rig.window.findChild<QStackedWidget*>("panels")->currentWidget()->objectName(),
                 QStringLiteral("D0101"));
        QTEST(rig.text("Text3_0"), "codes");
        QTEST(rig.text("Text3_1"), "mil");
        QCOMPARE(rig.items("List1"),
                 (QStringList{"Misfire Monitoring", "Fuel System Monitoring", "Component Monitoring"}));
        QCOMPARE(rig.items("List2"),
                 (QStringList{"Catalyst", "Evaporative System", "Oxygen Sensor", "Oxygen Sensor Heater"}));
        QTEST(rig.items("List3"), "incomplete");
        QCOMPARE(rig.items("List7"), controllers);
        QCOMPARE(rig.find<QListWidget>("List7")->currentRow(), 0);
        QCOMPARE(rig.text("Text13"), controllers.first());
        QCOMPARE(rig.find<QLabel>("Label3")->text(),
                 QStringLiteral("Controller Addresses\nResponding to\nDiagnostics"));
    }

    // A click on the second controller: the next pass detects again and General Info then
    // shows the transmission.
    void clickSwitchesTheController() {
        SimWindowRig rig(QStringLiteral("can11"));
        QString pendingAfterClick;
        QString shownAfterClick;
        rig.afterPass = [&](int code) {
            if (code != 1) return false;
            if (rig.session.ecuaddr == QLatin1String("E8")) {
                auto* list = rig.find<QListWidget>("List7");
                const QRect row = list->visualItemRect(list->item(1));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
                pendingAfterClick = rig.session.pendingaddr;
                shownAfterClick = rig.text("Text13");
                return false;
            }
            return true;
        };
        rig.session.connection.CONNECT();

        QCOMPARE(pendingAfterClick, QStringLiteral("E9"));
        QCOMPARE(shownAfterClick, QStringLiteral("233"));
        QCOMPARE(rig.session.ecuaddr, QStringLiteral("E9"));
        QCOMPARE(rig.text("Text13"), QStringLiteral("233"));
        QCOMPARE(rig.items("List7"), (QStringList{"232", "233"}));
        QCOMPARE(rig.items("List1"), QStringList{"Component Monitoring"});
        QCOMPARE(rig.items("List2"), QStringList{});
        QCOMPARE(rig.text("Text3_0"), QStringLiteral("0"));
        QCOMPARE(rig.text("Text3_1"), QStringLiteral("OFF"));
    }
};

ZELCOR_TEST(GeneralInfoPanelTest)
#include "generalinfopanel_test.moc"
