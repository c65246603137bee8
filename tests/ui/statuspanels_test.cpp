#include "testmain.h"
#include "uirig.h"

#include <QLabel>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// The window's session talking to the 11-bit CAN engine controller E8 through a script.
struct StatusRig : UiRig {
    StatusRig() {
        online();
        window.show();
    }
    // Labels `name`_0.. that are enabled, and those in bold; the two must agree.
    QList<int> highlighted(const QString& name, int count) const {
        QList<int> on;
        for (int i = 0; i < count; ++i) {
            auto* label = find<QLabel>(QStringLiteral("%1_%2").arg(name).arg(i));
            if (label->isEnabled() != label->font().bold()) return {-1};
            if (label->isEnabled()) on << i;
        }
        return on;
    }
};

} // namespace

class StatusPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void fuelSystems_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QList<int>>("highlighted");
        QTest::newRow("system 1 closed loop") << QByteArray("7E8 04 41 03 02 00") << QList<int>{1};
        QTest::newRow("both systems, several states") << QByteArray("7E8 04 41 03 11 05") << QList<int>{0, 4, 5, 7};
        QTest::newRow("unused bits of system 2") << QByteArray("7E8 04 41 03 1F E1") << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("another controller keeps the panel") << QByteArray("7E9 04 41 03 01 00") << QList<int>{8};
    }
    void fuelSystems() {
        QFETCH(QByteArray, reply);
        QFETCH(QList<int>, highlighted);
        StatusRig rig;
        rig.answers["0103"] = "7E8 04 41 03 00 08\r\r>";
        rig.pass(3);
        rig.answers["0103"] = reply + "\r\r>";
        rig.pass(3);
        QVERIFY(rig.find<QWidget>("D0103")->isVisible());
        QCOMPARE(rig.highlighted("Label4", 10), highlighted);
        QCOMPARE(rig.find<QLabel>("Label4_6")->text(), rig.find<QLabel>("Label4_1")->text());
    }

    void oxygenSensors() {
        StatusRig rig;
        rig.answers["0113"] = "7E8 03 41 13 33\r\r>"; // sensors 1 and 2 of both banks
        rig.answers["0114"] = "7E8 04 41 14 5A 80\r\r>";
        rig.answers["0115"] = "7E8 04 41 15 FF FF\r\r>"; // not trimming
        rig.pass(19);
        for (const QString name : {"Label6", "Label7", "Label8"})
            QCOMPARE(rig.highlighted(name, 8), (QList<int>{0, 1, 4, 5}));
        QCOMPARE(rig.find<QLabel>("Label7_0")->text(), QStringLiteral("0.450"));
        QCOMPARE(rig.find<QLabel>("Label8_0")->text(), QStringLiteral("0.0%"));
        QCOMPARE(rig.find<QLabel>("Label7_1")->text(), QStringLiteral("1.275"));
        QCOMPARE(rig.find<QLabel>("Label8_1")->text(), QStringLiteral("n/a"));
        QCOMPARE(rig.find<QLabel>("Label6_5")->text(), QStringLiteral("Bank 2 - Sensor 2"));
        QCOMPARE(rig.find<QLabel>("Label7_2")->text(), QStringLiteral("0.0"));
    }
};

ZELCOR_TEST(StatusPanelsTest)
#include "statuspanels_test.moc"
