// The trouble code panel's clicks: explanations, the selection rule and the saved reports.

#include "dtc/explaincode.h"
#include "link/helptexts.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QDir>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QString indent(15, QLatin1Char(' '));
const QString when = QStringLiteral("12/5/2026 7:30:00 AM");
const QString stars(36, QLatin1Char('*'));
const QString stamp = "\r\n" + stars + "\r\n******* 12/5/2026 7:30:00 AM *******\r\n" + stars + "\r\n";

const QStringList codeLines = {
    "; explanations for the tests",
    "P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)",
    "P0171 System Too Lean (Bank 1)",
    "P0171 check for vacuum leaks",
    "P0741 Torque Converter Clutch Circuit Performance or Stuck Off",
};

// A rig showing two stored codes and one pending code, as read.
struct PanelRig : SessionRig {
    PanelRig() {
        codesFile(codeLines);
        session.List5 = closed({"P0133" + gap + "232", "P0171" + gap + "232"});
        session.List6 = closed({"P0741" + gap + "233"});
        session.reportTime = [] { return when; };
    }
};

} // namespace

class CodeActionsTest : public QObject {
    Q_OBJECT
private slots:
    // A click explains the line; selecting in one list removes the other's selection.
    void clickExplains_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("two-line block") << true << 1
                                        << "P0171 System Too Lean (Bank 1)\r\nP0171 check for vacuum leaks\r\n";
        QTest::newRow("pending code, last lines of the file")
            << false << 0 << "P0741 Torque Converter Clutch Circuit Performance or Stuck Off\r\n";
        QTest::newRow("end marker") << true << 3 << "";
    }
    void clickExplains() {
        QFETCH(bool, stored);
        QFETCH(int, index);
        PanelRig rig;
        rig.session.Text10 = QStringLiteral("old");
        rig.session.dtc.storedIndex = 1;
        rig.session.dtc.pendingIndex = 0;
        stored ? rig.session.List5_Click(index) : rig.session.List6_Click(index);
        QTEST(rig.session.Text10, "text");
        QCOMPARE(rig.session.dtc.storedIndex, stored ? index : -1);
        QCOMPARE(rig.session.dtc.pendingIndex, stored ? -1 : index);
        QVERIFY(rig.host.messages.isEmpty());
    }

    void unreadableCodesFile_data() {
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("missing") << false << "ERROR NUMBER  53";
        QTest::newRow("not a readable file") << true << "ERROR NUMBER  75";
    }
    void unreadableCodesFile() {
        QFETCH(bool, folderInItsPlace);
        PanelRig rig;
        QFile::remove(rig.dir.filePath("codes.dat"));
        if (folderInItsPlace) QVERIFY(QDir(rig.dir.path()).mkdir("codes.dat"));
        rig.session.Text10 = QStringLiteral("old");
        rig.session.List5_Click(0);
        QCOMPARE(rig.session.Text10, QString());
        QCOMPARE(rig.host.messages.size(), 1);
        const RecordedMessage& box = rig.host.messages.first();
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.icon, MessageIcon::Critical);
        QTEST(box.text.split("\r\n").first(), "firstLine");
        QVERIFY(box.text.contains(helpUrl()));
        QVERIFY(box.text.contains(supportEmail()));
        // Every later lookup says it again.
        rig.session.List6_Click(0);
        QCOMPARE(rig.host.messages.size(), 2);
    }

    // The code report is appended to whatever the file holds, one stamped report per save.
    void saveCodesAppends() {
        PanelRig rig;
        const QString path = rig.dir.filePath("codes.txt");
        {
            QFile earlier(path);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("earlier\r\n");
        }
        rig.host.saveAnswer = path;
        rig.session.dtc.storedIndex = 0;
        rig.session.Command11_Click();
        rig.session.Command11_Click();

        const QString report = stamp + "STORED CODES\r\n\r\n" +                                             //
                               indent + "P0133" + gap + "232\r\n" +                                         //
                               indent + "P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)\r\n\r\n" + //
                               indent + "P0171" + gap + "232\r\n" +                                         //
                               indent + "P0171 System Too Lean (Bank 1)\r\nP0171 check for vacuum leaks\r\n\r\n" +
                               "\r\nPENDING CODES\r\n\r\n" +        //
                               indent + "P0741" + gap + "233\r\n" + //
                               "   P0741 Torque Converter Clutch Circuit Performance or Stuck Off\r\n\r\n";
        QCOMPARE(QString::fromLatin1(rig.file("codes.txt")), "earlier\r\n" + report + report);

        QCOMPARE(rig.host.messages.size(), 2); // the TIP before each dialog
        QCOMPARE(rig.host.messages.first().icon, MessageIcon::Information);
        const SaveDialogRequest& request = rig.host.saveRequests.first();
        QCOMPARE(request.proposedPath, rig.dir.filePath("errors.txt"));
        QCOMPARE(request.defaultExtension, QStringLiteral("txt"));
        QCOMPARE(request.filter, QStringLiteral("*.txt"));
        // Both selections end cleared; the box shows the last code written.
        QCOMPARE(rig.session.dtc.storedIndex, -1);
        QCOMPARE(rig.session.dtc.pendingIndex, -1);
        QCOMPARE(rig.session.Text10,
                 QStringLiteral("P0741 Torque Converter Clutch Circuit Performance or Stuck Off\r\n"));
    }

    // The chosen name gets ".txt" unless it has it in any case; a cancelled dialog writes
    // nothing and keeps the selection.
    void savedFileName_data() {
        QTest::addColumn<bool>("freezeFrame");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("codes, no extension") << false << "report"
                                             << "report.txt";
        QTest::newRow("codes, upper-case extension") << false << "REPORT.TXT"
                                                     << "REPORT.TXT";
        QTest::newRow("codes, cancelled") << false << ""
                                          << "";
        QTest::newRow("freeze frame, no extension") << true << "frame"
                                                    << "frame.txt";
    }
    void savedFileName() {
        QFETCH(bool, freezeFrame);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        PanelRig rig;
        rig.host.saveAnswer = chosen.isEmpty() ? QString() : rig.dir.filePath(chosen);
        rig.session.dtc.pendingIndex = 0;
        freezeFrame ? rig.session.Command21_Click() : rig.session.Command11_Click();
        QDir folder(rig.dir.path());
        QStringList files = folder.entryList({"*.txt", "*.TXT", "*.log"}, QDir::Files);
        QCOMPARE(files, written.isEmpty() ? QStringList{} : QStringList{written});
        QCOMPARE(rig.host.saveRequests.first().proposedPath,
                 rig.dir.filePath(freezeFrame ? "freeze.txt" : "errors.txt"));
        QCOMPARE(rig.host.messages.first().text,
                 QStringLiteral("TIP:  After this message you will be asked where to save the %1.\r\n"
                                "          Save to MY DOCUMENTS or the DESKTOP so it is easy to find.")
                     .arg(freezeFrame ? "freeze frame" : "trouble codes"));
        if (!freezeFrame) QCOMPARE(rig.session.dtc.pendingIndex, written.isEmpty() ? 0 : -1);
    }

    // A report that cannot be written is not passed over in silence.
    void unwritableFileIsReported() {
        PanelRig rig;
        rig.host.saveAnswer = rig.dir.filePath("no such folder/codes.txt");
        rig.session.Command11_Click();
        QCOMPARE(rig.host.messages.size(), 2); // the TIP, then the failure
        const RecordedMessage& box = rig.host.messages.last();
        QCOMPARE(box.title, QStringLiteral("Error"));
        QVERIFY(box.text.startsWith("The report could not be saved to " + rig.host.saveAnswer));
        QVERIFY(!QFile::exists(rig.host.saveAnswer));
    }
};

ZELCOR_TEST(CodeActionsTest)
#include "codeactions_test.moc"
