// The trouble code area beyond the normal session on every simulated car, which the
// golden files cover (tests/golden/data/*/panels.txt, errors.txt, freeze.txt): codes read,
// a code of each list explained, both reports saved, the freeze frame, an erase. The
// report texts: the stamp's length, several or no lines of explanation, blank items,
// hidden rows and rows beyond the panel.

#include "dtc/codereply.h"
#include "dtc/reports.h"
#include "link/helptexts.h"
#include "obd/parameters.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QDir>
#include <QHash>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

Q_DECLARE_METATYPE(zelcor::Function)
Q_DECLARE_METATYPE(zelcor::HeaderLayout)

namespace {

const QString gap(codeItemGap, QLatin1Char(' '));
const QString when = QStringLiteral("12/5/2026 7:30:00 AM"); // 20 characters: 36 asterisks
const QString stamp = "\r\n" + QString(36, '*') + "\r\n******* " + when + " *******\r\n" + QString(36, '*') + "\r\n";
const QString indent(15, QLatin1Char(' '));
const QString p0133 = QStringLiteral("P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)\r\n");

// On the engine at 7E8 with codes.dat in place, the codes read: two stored, one pending.
struct CodesRig : SessionRig {
    CodesRig() {
        codesFile({"; explanations for the tests", p0133.trimmed(), "P0171 System Too Lean (Bank 1)",
                   "P0171 check for vacuum leaks", "P0741 Torque Converter Clutch Circuit Performance or Stuck Off"});
        answers["03"] = "7E8 06 43 02 01 33 01 71\r\r>";
        answers["07"] = "7E9 04 47 01 07 41\r\r>";
        pass(Function::TroubleCodes);
        session.codes().setReportTime([] { return when; });
    }
    TroubleCodes& codes() { return session.codes(); }
    const CodesPanel& panel() const { return session.codes().codesPanel(); }
    Function function() const { return session.navigation().function(); }
};

// A freeze frame read with these answers: `bitmap` to "020000", `code` to 02 and 7B to
// the others from 7E8; `silent` ones unanswered, `foreign` ones from 7E9; asking for
// `stopAt` requests a stop.
struct FreezeScript {
    QByteArray bitmap, code = "01 33";
    QList<int> silent = {}, foreign = {};
    int stopAt = -1;
};

} // namespace

Q_DECLARE_METATYPE(FreezeScript)

class TroubleCodesTest : public QObject {
    Q_OBJECT
private slots:
    // While the codes are read the lists show the marker and neither erasing nor saving can
    // start; the raw reply to "03" goes to the clipboard. A function picked meanwhile is
    // kept, else the pass moves on to Idle. A stop before the pass sends nothing.
    void readCodes_data() {
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<Function>("pickedMeanwhile");
        QTest::addColumn<Function>("after");
        QTest::addColumn<int>("requests");
        QTest::newRow("ordinary") << false << Function::None << Function::Idle << 3;
        QTest::newRow("gauges picked meanwhile") << false << Function::LiveData << Function::LiveData << 3;
        QTest::newRow("stopped") << true << Function::None << Function::TroubleCodes << 0;
    }
    void readCodes() {
        QFETCH(bool, stopped);
        QFETCH(Function, pickedMeanwhile);
        CodesRig rig;
        const QStringList before = rig.panel().stored;
        rig.answers["03"] = "7E8 06 43 02 01 33 01 96\r\r>";
        if (stopped) rig.session.link().requestStop();
        QStringList seenLast; // the list read last, as shown while the codes are read
        bool buttonsSeen = false;
        rig.clock.onYield = [&](double) {
            seenLast = rig.panel().permanent;
            buttonsSeen |= rig.panel().eraseEnabled || rig.panel().saveEnabled;
            if (pickedMeanwhile != Function::None) rig.session.navigation().setFunction(pickedMeanwhile);
        };
        rig.pass(Function::TroubleCodes);
        QTEST(rig.function(), "after");
        QTEST(int(rig.port.lines.size()), "requests");
        QCOMPARE(rig.panel().stored == before, stopped);
        if (stopped) return;
        QVERIFY(!buttonsSeen && rig.panel().eraseEnabled && rig.panel().saveEnabled);
        QCOMPARE(seenLast, QStringList{readingItem});
        QCOMPARE(rig.host.clipboard.last(), QStringLiteral("7E806430201330196\r\r"));
    }

    // ERASE ALL CODES waits for a running read to end, at most a second, sends nothing and
    // asks; ERASE CODES NOW erases in the next pass and reads the codes again, CANCEL only
    // reads them again.
    void erase_data() {
        QTest::addColumn<Function>("running");
        QTest::addColumn<double>("readEndsAfter");
        QTest::addColumn<double>("waited");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QList<QByteArray>>("sent");
        const QList<QByteArray> erased{"04", "03", "07", "0A"}, readAgain{"03", "07", "0A"};
        QTest::newRow("idle, erase now") << Function::Idle << -1.0 << 0.0 << true << erased;
        QTest::newRow("read ends in 0.3 s, cancel") << Function::TroubleCodes << 0.3 << 0.3 << false << readAgain;
        QTest::newRow("nothing ends the read, erase now") << Function::TroubleCodes << -1.0 << 1.0 << true << erased;
    }
    void erase() {
        QFETCH(Function, running);
        QFETCH(double, readEndsAfter);
        QFETCH(double, waited);
        QFETCH(bool, confirm);
        CodesRig rig;
        rig.port.lines.clear();
        rig.session.navigation().setFunction(running);
        const double start = rig.clock.now();
        bool confirmSeenEarly = false, buttonsSeen = false;
        rig.clock.onYield = [&](double now) {
            confirmSeenEarly |= rig.panel().confirmVisible;
            buttonsSeen |= rig.panel().eraseEnabled || rig.panel().saveEnabled;
            if (readEndsAfter >= 0 && now - start >= readEndsAfter)
                rig.session.navigation().setFunction(Function::Idle);
        };
        rig.session.askToErase();
        rig.clock.onYield = nullptr;
        QVERIFY(!confirmSeenEarly && !buttonsSeen && rig.port.lines.isEmpty());
        QVERIFY(rig.panel().confirmVisible && !rig.panel().eraseEnabled && !rig.panel().saveEnabled);
        QVERIFY(qAbs(rig.clock.now() - start - waited) < 0.01);
        confirm ? rig.session.confirmErase() : rig.session.cancelErase();
        QVERIFY(!rig.panel().confirmVisible && rig.panel().eraseEnabled && rig.panel().saveEnabled);
        QList<QByteArray> sent;
        for (int passes = 0; passes < 3 && rig.function() != Function::Idle; ++passes) {
            rig.pass();
            sent << rig.port.lines;
        }
        QTEST(sent, "sent");
    }

    // NO DATA to a list: no pending codes, none permanent; no stored codes when the car's own
    // count says so, else a failed read naming it. Error words and codes beside the word stay
    // failures. The panel, the saved report (and the scan, which reads the panel) agree.
    void noData_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("count"); // the answer to "0101"
        QTest::addColumn<HeaderLayout>("layout");
        QTest::addColumn<QString>("problem");
        const auto row = [](const char* name, const char* list, const QByteArray& answer, const QByteArray& count,
                            const QString& problem, HeaderLayout layout = HeaderLayout::Can11) {
            QTest::newRow(name) << QByteArray(list) << answer << count << layout << problem;
        };
        const QByteArray none = "7E8 06 41 01 00 07 65 00", three = "7E8 06 41 01 83 07 65 00";
        const QString counted = QStringLiteral("the car reports %1 but gave none (NO DATA)");
        row("stored, none counted", "03", "NO DATA", none, "");
        row("stored, none counted on a legacy car", "03", "SEARCHING...\rNO DATA", "48 6B 10 41 01 00 07 65 00 2F", "",
            HeaderLayout::Legacy);
        row("stored, three counted", "03", "NO DATA", three, counted.arg("3 codes"));
        row("stored, counts of two controllers", "03", "NO DATA", none + "\r7E9 06 41 01 01 07 65 00",
            counted.arg("1 code"));
        row("stored, no count", "03", "NO DATA", "NO DATA", "NO DATA");
        row("pending", "07", "NO DATA", three, "");
        row("permanent", "0A", "NO DATA", three, "");
        row("pending, error word", "07", "CAN ERROR", none, "CAN ERROR");
        row("pending, codes beside NO DATA", "07", "7E8 04 47 01 01 33\rNO DATA", none, "NO DATA");
    }
    void noData() {
        QFETCH(QByteArray, list);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, count);
        QFETCH(HeaderLayout, layout);
        QFETCH(QString, problem);
        const bool legacy = layout == HeaderLayout::Legacy;
        SessionRig rig(legacy ? "10" : "E8", layout);
        for (const char* other : {"03", "07", "0A"})
            rig.answers[other] = legacy ? "48 6B 10 43 00 00 00 00 00 00 0E\r\r>" : "7E8 02 43 00\r\r>";
        rig.answers[list] = answer + "\r\r>";
        rig.answers["0101"] = count + "\r\r>";
        rig.pass(Function::TroubleCodes);
        const CodesPanel& panel = rig.session.codes().codesPanel();
        QCOMPARE(list == "03"   ? panel.stored
                 : list == "07" ? panel.pending
                                : panel.permanent,
                 problem.isEmpty() ? closed({}) : QStringList{unreadableCodesText + problem});
        // The count is asked only when the stored list is unanswered.
        QCOMPARE(rig.port.lines.contains("0101"), list == "03" && answer.endsWith("NO DATA"));
        rig.host.saveAnswer = rig.dir.filePath("codes.txt");
        rig.session.codes().saveCodes();
        QCOMPARE(QString::fromLatin1(rig.file("codes.txt")).contains(unreadableCodesText + problem + "\r\n"),
                 !problem.isEmpty());
    }

    // The requests sent, how many rows show, the first rows and the explanation.
    // (A car that stores none after a bit map that lists PIDs: the golden nofreeze car.)
    void freezeFrame_data() {
        QTest::addColumn<FreezeScript>("script");
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QString>("explanation");
        const auto row = [](const char* name, const FreezeScript& script, int requests, int rows,
                            const QStringList& first, const QString& explanation) {
            QTest::newRow(name) << script << requests << rows << first << explanation;
        };
        const QString code = QStringLiteral("Freeze Frame DTC=P0133   ");
        const QString fuel = QStringLiteral("Fuel System Status=S1: Closed Loop- 1 O2S; S2: Closed Loop- 1 O2S");
        const QString unread = QStringLiteral("Freeze frame could not be read: ");
        // NO DATA: nothing stored, or no service 02; an error word is a failed read.
        row("no bit map", {"NO DATA"}, 1, 1, {"="}, textWhenNoFreezeFrameIsStored);
        row("bit map: error word", {"CAN ERROR"}, 1, 1, {"="}, unread + "the adapter said CAN ERROR");
        row("code without a line in codes.dat", {"7E8 07 42 00 00 40 00 00 00", "14 56"}, 2, 1,
            {"Freeze Frame DTC=P1456   "}, "No explanation for P1456 in codes.dat (a manufacturer-specific code)\r\n");
        row("damaged code: not read as another code", {"7E8 07 42 00 00 60 00 00 00", "01 3"}, 2, 1,
            {"Freeze Frame DTC="}, unread + "an odd number of hex digits");
        // 02 to 06, and 1C, 1F and 20, which are never read; 04 is silent and leaves its row
        // to 05; 06 from another controller keeps its row, empty.
        row("rows", {"7E8 07 42 00 00 7C 00 00 13", "01 33", {4}, {6}}, 6, 4,
            {code, fuel, "Engine Coolant Temp=181.4 deg F", "Fuel Trim B1 ST="}, p0133);
        row("stopped during the second", {"7E8 07 42 00 00 70 00 00 00", "01 33", {}, {}, 3}, 3, 2,
            {code, "Calculated Load="}, p0133);
        row("22 rows at most; a silent 02 leaves room for one more", {"7E8 07 42 00 00 FF FF FF E0", "01 33", {2}},
            1 + 23, 22, {"General Info=", fuel}, "");
    }
    void freezeFrame() {
        QFETCH(FreezeScript, script);
        QFETCH(QStringList, first);
        CodesRig rig;
        rig.port.respond = [&](const QByteArray& line) -> QByteArray {
            const int pid = line.mid(2, 2).toInt(nullptr, 16);
            if (pid == script.stopAt) rig.session.link().requestStop();
            if (line == "020000") return script.bitmap + "\r\r>";
            if (script.silent.contains(pid)) return "NO DATA\r\r>";
            // Service, PID, frame number, then as many data bytes as the PID has.
            const int bytes = pid == 2 ? 2 : std::max(parameterBytes(pid), 1);
            const QByteArray data = pid == 2 ? script.code : QByteArray("7B") + QByteArray(" 7B").repeated(bytes - 1);
            const QByteArray head = (script.foreign.contains(pid) ? "7E9 0" : "7E8 0") + QByteArray::number(3 + bytes);
            return head + " 42 " + line.mid(2, 2) + " 00 " + data + "\r\r>";
        };
        rig.pass(Function::FreezeFrame);
        QStringList shown;
        for (const FreezeFrameRow& row : rig.session.codes().freezeFrame().rows)
            if (row.visible) shown << row.label + QLatin1Char('=') + row.value;
        QTEST(int(rig.port.lines.size()), "requests");
        QTEST(int(shown.size()), "rows");
        QCOMPARE(shown.mid(0, first.size()), first);
        QTEST(rig.session.codes().freezeFrame().explanation, "explanation");
        QCOMPARE(rig.function(), Function::Idle);
    }

    // A missing or unreadable codes.dat: an error box on every lookup, no explanation.
    void unreadableCodesFile_data() {
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("missing") << false << "ERROR NUMBER  53";
        QTest::newRow("not a readable file") << true << "ERROR NUMBER  75";
    }
    void unreadableCodesFile() {
        QFETCH(bool, folderInItsPlace);
        CodesRig rig;
        rig.codes().selectStored(0);
        QVERIFY(QFile::remove(rig.dir.filePath("codes.dat")));
        if (folderInItsPlace) QVERIFY(QDir(rig.dir.path()).mkdir("codes.dat"));
        rig.codes().selectStored(1);
        QCOMPARE(rig.panel().explanation, QString());
        QCOMPARE(rig.host.messages.size(), 1);
        const RecordedMessage& box = rig.host.messages.first();
        QVERIFY(box.title == QLatin1String("Error") && box.icon == MessageIcon::Critical);
        QTEST(box.text.split("\r\n").first(), "firstLine");
        QVERIFY(box.text.contains(helpUrl()) && box.text.contains(supportEmail()));
        rig.codes().selectPending(0);
        QCOMPARE(rig.host.messages.size(), 2);
    }

    // The TIP, then the dialog proposing the default name; the chosen name gets ".txt"
    // unless it ends in it in any case, and the report goes after what the file holds. A
    // cancelled dialog writes nothing and keeps the selection; a file that cannot be
    // written is reported. (Selections and the explanation after a save: the panel tests
    // and the goldens' "explain and save codes".)
    void saveDialog_data() {
        QTest::addColumn<bool>("freezeFrame");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("failed");
        QTest::newRow("upper-case extension") << false << QString("REPORT.TXT") << QString("REPORT.TXT") << false;
        QTest::newRow("codes, cancelled") << false << QString() << QString() << false;
        QTest::newRow("codes, no such folder") << false << QString("none/codes.txt") << QString() << true;
        QTest::newRow("freeze frame, no extension") << true << QString("frame") << QString("frame.txt") << false;
    }
    void saveDialog() {
        QFETCH(bool, freezeFrame);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(bool, failed);
        CodesRig rig;
        rig.host.saveAnswer = chosen.isEmpty() ? QString() : rig.dir.filePath(chosen);
        if (!written.isEmpty()) QVERIFY(rig.write(written, "earlier\r\n"));
        rig.codes().selectPending(0);
        freezeFrame ? rig.codes().saveFreezeFrame() : rig.codes().saveCodes();
        const QStringList files = QDir(rig.dir.path()).entryList({"*.txt", "*.TXT"}, QDir::Files);
        QCOMPARE(files, written.isEmpty() ? QStringList{} : QStringList{written});
        const QString text = QString::fromLatin1(rig.file(written));
        if (!written.isEmpty())
            QVERIFY2(text.startsWith("earlier\r\n" + stamp) && text.endsWith("\r\n\r\n"), qPrintable(text));
        const SaveDialogRequest& request = rig.host.saveRequests.first();
        QCOMPARE((QStringList{request.proposedPath, request.defaultExtension, request.filter}),
                 (QStringList{rig.dir.filePath(freezeFrame ? "freeze.txt" : "errors.txt"), "txt", "*.txt"}));
        QCOMPARE(request.kind, freezeFrame ? FileKind::FreezeFrameReport : FileKind::CodeReport);
        QCOMPARE(rig.host.messages.first().icon, MessageIcon::Information);
        QCOMPARE(rig.host.messages.size(), failed ? 2 : 1);
        if (failed) QVERIFY(rig.host.messages.last().text.startsWith("The report could not be saved to "));
        QCOMPARE(rig.panel().pendingIndex, chosen.isEmpty() || freezeFrame ? 0 : -1);
    }

    // Every item is looked up in list order, blank ones too: saving codes counts on it.
    void codeReportText() {
        const QHash<QString, QString> explanations{{"P0133 ", "P0133 O2 Sensor Slow\r\nP0133 (Bank 1)\r\n"},
                                                   {"P0420 ", "P0420 Catalyst\r\n"},
                                                   {"      ", "      note\r\n"}};
        QStringList lookedUp;
        const auto explain = [&](const QString& first6) {
            lookedUp << first6;
            return explanations.value(first6);
        };
        const QStringList stored = closed({"P0133       232", "P0196       232", "      "});
        QCOMPARE(zelcor::codeReport(when, stored, closed({"P0420       16"}), explain),
                 stamp + "STORED CODES\r\n\r\n" + indent + "P0133       232\r\n" + indent +
                     "P0133 O2 Sensor Slow\r\nP0133 (Bank 1)\r\n\r\n" + indent + "P0196       232\r\n" + indent +
                     "      note\r\n\r\n\r\nPENDING CODES\r\n\r\n" + indent + "P0420       16\r\n" +
                     "   P0420 Catalyst\r\n\r\n");
        QCOMPARE(lookedUp, (QStringList{"P0133 ", "P0196 ", "      ", "P0420 "}));
    }

    void freezeFrameReportText() {
        QList<FreezeFrameRow> rows(FreezeFrame::rowCount);
        rows[0] = {"Freeze Frame DTC", "P0133", true};
        rows[1] = {"Engine RPM", "1726 rpm", true};
        rows[2] = {"Hidden", "x", false};
        rows[3] = {"Vehicle Speed", "62 MPH", true};
        rows[22] = {"Beyond the rows shown", "y", true};
        QCOMPARE(zelcor::freezeFrameReport(when, rows, QStringLiteral("P0133 O2 Sensor\r\n")),
                 stamp + "Freeze Frame DTC: P0133\r\nDTC Explanation:\r\nP0133 O2 Sensor\r\n\r\n"
                         "Sensors:\r\nEngine RPM: 1726 rpm\r\nVehicle Speed: 62 MPH\r\n\r\n\r\n");
    }
};

ZELCOR_TEST(TroubleCodesTest)
#include "troublecodes_test.moc"
