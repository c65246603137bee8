#include "testmain.h"
#include "ui/main/panelstack.h"
#include "uirig.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

QString line(const QByteArray& file, int number) {
    return QString::fromLatin1(file).split(QStringLiteral("\r\n")).value(number - 1);
}

int checkedPort(const UiRig& rig) {
    int checked = -1;
    for (int i = 0; i < 8; ++i)
        if (rig.find<QRadioButton>(QStringLiteral("Option1_%1").arg(i))->isChecked())
            checked = checked < 0 ? i : 100; // 100: more than one
    return checked;
}

} // namespace

class SetupPanelTest : public QObject {
    Q_OBJECT
private slots:
    // The panel starts from the file, not from settings changed in memory since.
    void showsTheFilesValues() {
        UiRig rig;
        rig.window.show();
        Settings& s = rig.session.settings;
        s.comport = 3;
        s.usemph = false;
        s.usedegf = false;
        s.vehicleweight = 1234;
        s.initmode = -2;
        s.recording = true;

        rig.find<QPushButton>("Command3")->click();

        QCOMPARE(rig.window.panels()->currentWidget()->objectName(), QStringLiteral("Frame2"));
        QCOMPARE(checkedPort(rig), 0);
        QCOMPARE(rig.find<QRadioButton>("Option1_0")->text(), QStringLiteral("1  (tty1)"));
        QVERIFY(rig.find<QRadioButton>("Option2_0")->isChecked());
        QVERIFY(!rig.find<QRadioButton>("Option2_1")->isChecked());
        QVERIFY(rig.find<QRadioButton>("Option3_1")->isChecked());
        QVERIFY(rig.find<QRadioButton>("Option4_0")->isChecked());
        QVERIFY(rig.find<QRadioButton>("Option5_0")->isChecked());
        QCOMPARE(rig.find<QLineEdit>("Text11")->text(), QStringLiteral("0"));
        QCOMPARE(rig.find<QLineEdit>("Text19")->text(), QStringLiteral("3200"));
        QCOMPARE(rig.find<QLineEdit>("Text18")->text(), QStringLiteral("0"));
        QVERIFY(!rig.find<QCheckBox>("Check3")->isChecked());
        QVERIFY(!rig.find<QCheckBox>("Check8")->isChecked());
        QCOMPARE(rig.window.focusWidget(), rig.find<QWidget>("Command9"));

        for (const char* name : {"Command1", "Command2", "Command17", "Command3", "Label2"})
            QVERIFY2(!rig.find<QWidget>(name)->isEnabled(), name);
    }

    void saveOrCancel_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("expectedLine8");
        QTest::newRow("save text") << "Command8"
                                   << "abc"
                                   << "0";
        QTest::newRow("save rounds") << "Command8"
                                     << "3200.7"
                                     << "3201";
        QTest::newRow("save above the range") << "Command8"
                                              << "12000"
                                              << "12000";
        QTest::newRow("cancel") << "Command9"
                                << "1234"
                                << "3200";
    }
    void saveOrCancel() {
        QFETCH(QString, button);
        QFETCH(QString, weight);
        UiRig rig;
        const QByteArray before = fileText(rig.configPath());
        rig.find<QPushButton>("Command3")->click();
        rig.find<QLineEdit>("Text19")->setText(weight);
        rig.find<QRadioButton>("Option4_1")->click(); // deg C
        rig.find<QPushButton>(button)->click();

        const QByteArray after = fileText(rig.configPath());
        QTEST(line(after, 8), "expectedLine8");
        const bool saved = button == QLatin1String("Command8");
        QCOMPARE(line(after, 6), saved ? QStringLiteral("0") : QStringLiteral("1"));
        if (!saved) QCOMPARE(after, before);
        QCOMPARE(rig.session.settings.usedegf, !saved);

        QCOMPARE(rig.window.panels()->currentWidget()->objectName(), QStringLiteral("Frame1"));
        for (const char* name : {"Command1", "Command2", "Command17", "Command3", "Label2"})
            QVERIFY2(rig.find<QWidget>(name)->isEnabled(), name);
    }

    void portOptions_data() {
        QTest::addColumn<int>("filePort");
        QTest::addColumn<int>("shownOption"); // -1: none selected
        QTest::addColumn<int>("clickedOption");
        QTest::addColumn<QString>("savedPort");
        QTest::newRow("port 5") << 5 << 4 << -1 << "5";
        QTest::newRow("port 8 changed to 2") << 8 << 7 << 1 << "2";
        QTest::newRow("port 12 kept") << 12 << -1 << -1 << "12";
        QTest::newRow("port 12 changed to 4") << 12 << -1 << 3 << "4";
    }
    void portOptions() {
        QFETCH(int, filePort);
        QFETCH(int, clickedOption);
        UiRig rig;
        Settings s;
        s.comport = qint16(filePort);
        QVERIFY(SAVECONFIG(s, rig.dir.path()));

        // Opened twice: what the first opening showed must not leak into the second.
        rig.find<QPushButton>("Command3")->click();
        rig.find<QRadioButton>("Option1_6")->click();
        rig.find<QPushButton>("Command9")->click();
        rig.find<QPushButton>("Command3")->click();
        QTEST(checkedPort(rig), "shownOption");

        if (clickedOption >= 0) rig.find<QRadioButton>(QStringLiteral("Option1_%1").arg(clickedOption))->click();
        rig.find<QPushButton>("Command8")->click();
        QTEST(line(fileText(rig.configPath()), 1), "savedPort");
    }
};

ZELCOR_TEST(SetupPanelTest)
#include "setuppanel_test.moc"
