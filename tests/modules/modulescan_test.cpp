// The whole-car scan against a scripted adapter: one module at 760/768 answering as each
// row says, every other address silent. Bad answers must end in a clear message, never in
// codes that were not read and never in a hang.

#include "modules/modulescan.h"
#include "testmain.h"

#include <QMap>
#include <QSet>
#include <QTest>

using namespace zelcor;

namespace {

// Answers AT commands with OK and requests from a table keyed "header request"; NO DATA for
// the rest.
class ScriptedExchange : public Exchange {
public:
    QMap<QString, QString> answers;
    QStringList sent;
    QStringList refused; // AT commands answered "?"

    void send(const QString& command) override {
        sent << command;
        if (command.startsWith(QLatin1String("ATSH"))) header_ = command.mid(4);
        if (command.startsWith(QLatin1String("AT")))
            text_ = refused.contains(command) ? QStringLiteral("?") : QStringLiteral("OK");
        else
            text_ = answers.value(header_ + QLatin1Char(' ') + command, QStringLiteral("NODATA"));
    }
    Reply receive() override { return {}; }
    QString receiveAll(double) override { return std::exchange(text_, QString()); }
    bool stopRequested() const override { return false; }
    bool linkLost() const override { return false; }
    void setLinkLost(bool) override {}
    HeaderLayout headerLayout() const override { return HeaderLayout::Can11; }

    int count(const QString& command) const { return int(sent.count(command)); }

private:
    QString header_;
    QString text_;
};

const QString kFound = QStringLiteral("768027E00");

} // namespace

class ModuleScanTest : public QObject {
    Q_OBJECT
private slots:
    void answers_data() {
        QTest::addColumn<QString>("codes");    // the answer to 19 02 FF
        QTest::addColumn<QString>("kwpCodes"); // the answer to 18 02 FF 00
        QTest::addColumn<QString>("shown");    // the codes read, or the error ("!" below: why not read)
        QTest::addColumn<QString>("protocol");
        const auto row = [](const char* name, const char* codes, const char* shown, const char* kwpCodes = "",
                            const char* protocol = "uds") {
            const QString unread = QStringLiteral("codes could not be read: ");
            QTest::newRow(name) << codes << kwpCodes
                                << (QString(shown).startsWith('!') ? unread + QString(shown).mid(1) : QString(shown))
                                << protocol;
        };
        row("segmented, many codes", "76810135902FF403513\r76821894040132F9A23\r7682200080133000800",
            "C0035-13 C0040-13 B1A23-00 P0133-00");
        row("pending twice, then the list", "768037F1978\r768037F1978\r768075902FF40351389", "C0035-13");
        row("pending that never ends", "768037F1978", "!the module kept answering \"response pending\"");
        row("segmented answer that stops", "76810135902FF403513\r76821894040132F9A23",
            "!the answer stopped after 13 of 19 bytes");
        row("lost segment", "76810135902FF403513\r7682200080133000800", "!the answer stopped after 6 of 19 bytes");
        row("duplicate answers are one", "768075902FF40351389\r768075902FF40351389", "C0035-13");
        row("two different answers", "768075902FF40351389\r768075902FF40401389",
            "!the module gave 2 different answers");
        row("a foreign address is not the module's answer", "7E8075902FF40351389", "!no answer");
        row("flooding adapter", "768075902FF40351389\rBUFFERFULL", "!the adapter said BUFFER FULL");
        row("KWP when UDS is refused", "768037F1911", "C0035", "7680558014035A0", "kwp");
        row("both forms refused", "768037F1911", "!service not supported (7F 19 11)", "768037F1811");
        row("no codes", "768035902FF", "");
    }
    void answers() {
        QFETCH(QString, codes);
        QFETCH(QString, kwpCodes);
        QFETCH(QString, shown);
        QFETCH(QString, protocol);
        ScriptedExchange exchange;
        exchange.answers[QStringLiteral("760 3E00")] = kFound;
        exchange.answers[QStringLiteral("760 22F197")] = QStringLiteral("768037F2231");
        exchange.answers[QStringLiteral("760 1902FF")] = codes;
        if (!kwpCodes.isEmpty()) exchange.answers[QStringLiteral("760 1802FF00")] = kwpCodes;
        ModuleScan scan(exchange);
        const QList<ModuleResult> modules = scan.scan();
        QVERIFY2(scan.problem().isEmpty(), qPrintable(scan.problem()));
        QCOMPARE(modules.size(), 1);
        const ModuleResult& module = modules.first();
        QCOMPARE(module.address.label(), QStringLiteral("760/768"));
        QCOMPARE(module.name, QString());
        QStringList read;
        for (const ModuleCode& code : module.codes)
            read << code.shown();
        QCOMPARE(module.codesRead() ? read.join(QLatin1Char(' ')) : module.error, shown);
        QVERIFY(module.codesRead() || module.codes.isEmpty());
        QCOMPARE(protocolName(module.protocol), protocol);
        // Bounded: a request is asked at most three times.
        QVERIFY(exchange.count(QStringLiteral("1902FF")) <= 3);
        // Back to the functional address, the adapter's own flow control and wait.
        QCOMPARE(exchange.sent.mid(exchange.sent.size() - 4), (QStringList{"ATSH7DF", "ATCRA", "ATFCSM0", "ATST32"}));
    }

    void clearsOneModule() {
        ScriptedExchange exchange;
        exchange.answers[QStringLiteral("760 3E00")] = kFound;
        exchange.answers[QStringLiteral("760 1902FF")] = QStringLiteral("768075902FF40351389");
        exchange.answers[QStringLiteral("7E0 3E00")] = QStringLiteral("7E8027E00");
        exchange.answers[QStringLiteral("7E0 1902FF")] = QStringLiteral("7E8075902FF01330009");
        exchange.answers[QStringLiteral("7E0 14FFFFFF")] = QStringLiteral("7E8037F1422");
        ModuleScan scan(exchange);
        QList<ModuleResult> modules = scan.scan();
        QCOMPARE(modules.size(), 2);
        QCOMPARE(modules[0].address.label(), QStringLiteral("7E0/7E8"));
        // Refused: the codes read again are still there and the refusal is said.
        QVERIFY(!scan.clear(modules[0]));
        QCOMPARE(modules[0].clearError, QStringLiteral("clearing failed: conditions not correct (7F 14 22)"));
        QCOMPARE(modules[0].codes.size(), 1);
        exchange.answers[QStringLiteral("760 14FFFFFF")] = QStringLiteral("76801540000");
        exchange.answers[QStringLiteral("760 1902FF")] = QStringLiteral("768035902FF");
        QVERIFY(scan.clear(modules[1]));
        QVERIFY(modules[1].clearError.isEmpty());
        QVERIFY(modules[1].codesRead());
        QCOMPARE(modules[1].codes.size(), 0);
        QCOMPARE(exchange.sent.mid(exchange.sent.size() - 2), (QStringList{"ATSH7DF", "ATCRA"}));
    }

    // Each address is asked once, and no reply identifier stands for two modules.
    void candidatesAreDistinct() {
        for (const HeaderLayout layout : {HeaderLayout::Can11, HeaderLayout::Can29}) {
            QSet<QString> requests, replies;
            for (const ModuleAddress& address : candidateAddresses(layout)) {
                QVERIFY2(!requests.contains(address.requestText()), qPrintable(address.label()));
                QVERIFY2(!replies.contains(address.replyText()), qPrintable(address.label()));
                requests.insert(address.requestText());
                replies.insert(address.replyText());
            }
            QVERIFY(requests.size() > 30);
        }
        QVERIFY(candidateAddresses(HeaderLayout::Legacy).isEmpty());
    }

    void refusedHeaderStopsTheScan() {
        ScriptedExchange exchange;
        exchange.refused << QStringLiteral("ATSH7E0");
        ModuleScan scan(exchange);
        QVERIFY(scan.scan().isEmpty());
        QCOMPARE(scan.problem(), QStringLiteral("the adapter refused ATSH7E0 (?)"));
        QCOMPARE(exchange.count(QStringLiteral("3E00")), 0);
    }
};

ZELCOR_TEST(ModuleScanTest)
#include "modulescan_test.moc"
