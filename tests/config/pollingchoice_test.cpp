// The fast polling choice in zelcor.ini: what a file holds gives, and the setup panel's
// box saved there, setup.cfg untouched by it.

#include "config/pollingchoice.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

class PollingChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void load_data() {
        QTest::addColumn<QByteArray>("ini"); // empty: no file
        QTest::addColumn<bool>("fast");
        QTest::newRow("no file") << QByteArray() << true;
        QTest::newRow("off") << QByteArray("[polling]\nfast=false\n") << false;
        QTest::newRow("on") << QByteArray("[polling]\nfast=true\n") << true;
        QTest::newRow("other keys only") << QByteArray("[adapter]\ndevice=/dev/ttyUSB0\n") << true;
    }
    void load() {
        QFETCH(QByteArray, ini);
        QFETCH(bool, fast);
        QTemporaryDir dir;
        if (!ini.isEmpty()) QVERIFY(writeText(dir.filePath(QStringLiteral("zelcor.ini")), ini));
        QCOMPARE(loadFastPolling(dir.path()), fast);
    }

    // The box cleared and saved: zelcor.ini has it, setup.cfg keeps its ten lines, and the
    // session polls the plain way; other keys of zelcor.ini stay.
    void savedFromSetup() {
        SessionRig rig{SessionRig::Offline{}};
        QVERIFY(rig.write(QStringLiteral("zelcor.ini"), "[adapter]\ndevice=/dev/ttyUSB0\n"));
        QVERIFY(rig.session.fastPolling().enabled());
        rig.session.openSetup();
        QVERIFY(rig.session.setupForm().fastPolling);
        SetupPanelState form = rig.session.setupForm();
        form.fastPolling = false;
        rig.session.setSetupForm(form);
        rig.session.saveSetup();
        QVERIFY(!rig.session.fastPolling().enabled());
        QVERIFY(!loadFastPolling(rig.dir.path()));
        QVERIFY(rig.file(QStringLiteral("zelcor.ini")).contains("device=/dev/ttyUSB0"));
        QCOMPARE(rig.file(QStringLiteral("setup.cfg")).count('\n'), 10);
        rig.session.openSetup();
        QVERIFY(!rig.session.setupForm().fastPolling);
    }
};

ZELCOR_TEST(PollingChoiceTest)
#include "pollingchoice_test.moc"
