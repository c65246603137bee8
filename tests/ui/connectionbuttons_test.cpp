#include "testmain.h"
#include "ui/main/statuslamp.h"
#include "uirig.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const char* const kLockedButtons[] = {"Command1", "Command3", "Command7", "Command13", "Command17"};

} // namespace

// CONNECT, SET&UP, E&XIT and both replay buttons stay off for the whole connection
// and come back on every way it ends.
class ConnectionButtonsTest : public QObject {
    Q_OBJECT
private slots:
    void lockedWhileConnecting_data() {
        QTest::addColumn<bool>("adapterAnswers");
        QTest::addColumn<QString>("errorStart");
        QTest::addColumn<int>("lampDuringError");
        QTest::newRow("no adapter: error 0")
            << false << "Can not find ZELCOR interface.  ERROR NUMBER 0" << int(Lamp::Black);
        QTest::newRow("vehicle silent: error 1") << true << "ERROR NUMBER 1." << int(Lamp::Red);
    }
    void lockedWhileConnecting() {
        QFETCH(bool, adapterAnswers);
        QFETCH(QString, errorStart);
        UiRig rig;
        rig.clock.setStep(0.01);
        rig.port.respond = [adapterAnswers](const QByteArray& line) -> QByteArray {
            if (!adapterAnswers) return {};
            if (line.startsWith("ATWS")) return "\r\rELM327 v1.5\r\r>";
            return line.startsWith("AT") ? QByteArray("OK\r\r>") : QByteArray();
        };
        rig.window.show();

        QStringList enabledDuringError;
        bool helpShownDuringError = true;
        Lamp lampShown = Lamp::Green;
        rig.host.onMessage = [&](const RecordedMessage&) {
            for (const char* name : kLockedButtons)
                if (rig.find<QPushButton>(name)->isEnabled()) enabledDuringError << name;
            helpShownDuringError = !rig.find<QPushButton>("Command20")->isHidden();
            lampShown = rig.find<StatusLamp>("Shape1")->lamp();
        };
        rig.find<QPushButton>("Command1")->click();

        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY2(rig.host.messages.first().text.startsWith(errorStart), qPrintable(rig.host.messages.first().text));
        QCOMPARE(enabledDuringError, QStringList());
        QVERIFY(!helpShownDuringError);
        QTEST(int(lampShown), "lampDuringError");

        for (const char* name : kLockedButtons)
            QVERIFY2(rig.find<QPushButton>(name)->isEnabled(), name);
        QVERIFY(!rig.find<QPushButton>("Command20")->isHidden());
        QCOMPARE(rig.find<StatusLamp>("Shape1")->lamp(), Lamp::Black);

        // The status caption is in the error style: large red text.
        auto* status = rig.find<QLabel>("Label39");
        QVERIFY(status->text().contains(QStringLiteral("problem,")));
        QCOMPARE(status->font().pointSize(), 16);
        QCOMPARE(status->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
};

ZELCOR_TEST(ConnectionButtonsTest)
#include "connectionbuttons_test.moc"
