// The requests of a set of definition files and the values of one pass: one request per
// controller and identifier, val{} chains in dependency order whatever the line order,
// and what negative, foreign, missing and cut-short replies leave without a value.

#include "definitions/requestplan.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

// The battery's two requests with values computed from others before and after them, and
// the same 2101 asked of another controller.
const char* const kBattery = "Power,P,2101,val{Volts}*val{Amps}/1000,,,kW,7E4\n"
                             "Volts,V,2101,((A<8)+B)/10,,,V,7E4\n"
                             "Amps,I,2101,(Signed(C)*256+D)/10,,,A,7E4\n"
                             "Cell 1,C1,2102,A/50,,,V,7E4\n"
                             "Cell spread,dC,2102,val{Cell 3}-val{Cell 1},,,V,7E4\n"
                             "Cell 3,C3,2102,C/50,,,V,7E4\n";
const char* const kVehicle = "Speed,S,2101,A,,,km/h,7E2\n";

RequestPlan plan() {
    return RequestPlan({readDefinitions(kBattery), readDefinitions(kVehicle)});
}

} // namespace

class RequestPlanTest : public QObject {
    Q_OBJECT
private slots:
    void requestsAreShared() {
        const RequestPlan p = plan();
        QCOMPARE(p.parameters().size(), 7);
        QCOMPARE(p.requests().size(), 3);
        const auto check = [&p](int r, const char* header, const char* request, QList<int> parameters) {
            QCOMPARE(p.requests()[r].request.header, QLatin1String(header));
            QCOMPARE(p.requests()[r].request.text(), QLatin1String(request));
            QCOMPARE(p.requests()[r].parameters, parameters);
        };
        check(0, "7E4", "2101", {1, 2}); // the computed power reads no byte of it
        check(1, "7E4", "2102", {3, 5}); // the cell spread reads none of it either
        check(2, "7E2", "2101", {6});
    }

    void evaluate_data() {
        QTest::addColumn<QList<QByteArray>>("messages"); // per request; empty: no reply
        QTest::addColumn<QString>("expected");           // per parameter: value or problem, joined by " | "
        const QByteArray battery = QByteArray::fromHex("61010E10FF9C"), cells = QByteArray::fromHex("6102A0A1AA"),
                         speed = QByteArray::fromHex("610132");
        const QString refused = "the controller refused 2101: request out of range (31)",
                      otherService = "the reply answers service 22, not 21",
                      otherIdentifier = "the reply answers 2103, not 2102",
                      noIdentifier = "the reply to 2102 ends before its identifier";
        QTest::newRow("all answered") << QList<QByteArray>{battery, cells, speed}
                                      << "-3.6 | 360 | -10 | 3.2 | 0.2 | 3.4 | 50";
        QTest::newRow("negative response")
            << QList<QByteArray>{QByteArray::fromHex("7F2131"), cells, speed}
            << "val{Volts} has no value | " + refused + " | " + refused + " | 3.2 | 0.2 | 3.4 | 50";
        QTest::newRow("cut short, other identifier, no reply")
            << QList<QByteArray>{QByteArray::fromHex("61010E10FF"), QByteArray::fromHex("6103A0A1AA"), QByteArray()}
            << "val{Amps} has no value | 360 | byte D beyond the reply (3 bytes) | " + otherIdentifier +
                   " | val{Cell 3} has no value | " + otherIdentifier + " | no reply to 2101";
        QTest::newRow("other service, echo cut off")
            << QList<QByteArray>{QByteArray::fromHex("62010E10FF9C"), QByteArray::fromHex("61"), speed}
            << "val{Volts} has no value | " + otherService + " | " + otherService + " | " + noIdentifier +
                   " | val{Cell 3} has no value | " + noIdentifier + " | 50";
    }
    void evaluate() {
        QFETCH(QList<QByteArray>, messages);
        QFETCH(QString, expected);
        const RequestPlan p = plan();
        QList<RequestOutcome> outcomes;
        for (const QByteArray& m : messages)
            outcomes.append({m, QString()});
        QList<ParameterValue> values;
        p.evaluate(outcomes, &values);
        QStringList got;
        for (const ParameterValue& v : values)
            got << (v.value ? QString::number(*v.value) : v.problem);
        QCOMPARE(got.join(" | "), expected);
    }

    void linkProblemIsKept() {
        const RequestPlan p = plan();
        QList<ParameterValue> values;
        p.evaluate({{{}, "NO DATA"}, {QByteArray::fromHex("6102A0A1AA"), {}}, {{}, "CAN ERROR"}}, &values);
        QCOMPARE(values[1].problem, QStringLiteral("NO DATA"));
        QCOMPARE(values[6].problem, QStringLiteral("CAN ERROR"));
        QVERIFY(values[4].value);
    }
};

ZELCOR_TEST(RequestPlanTest)
#include "requestplan_test.moc"
