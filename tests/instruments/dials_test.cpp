#include "instruments/dials.h"
#include "testmain.h"

#include <QTest>
#include <cmath>

using namespace zelcor;

Q_DECLARE_METATYPE(zelcor::DialUnit)

namespace {

bool near(double a, double b, double tolerance = 1e-9) {
    return std::fabs(a - b) < tolerance;
}

} // namespace

class DialsTest : public QObject {
    Q_OBJECT
private slots:
    void scale_data() {
        QTest::addColumn<DialUnit>("unit");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QList<int>>("widthCounts"); // ticks of width 1, 2 and 3
        QTest::addColumn<QString>("lastLabel");
        QTest::addColumn<int>("fontSize");
        QTest::newRow("km/h") << DialUnit::KPH << "km/h" << QList<int>{207, 0, 24} << "220" << 12;
        QTest::newRow("mph") << DialUnit::MPH << "MPH" << QList<int>{112, 14, 15} << "140" << 14;
        QTest::newRow("rpm") << DialUnit::RPM << "RPM" << QList<int>{40, 0, 11} << "10" << 14;
    }
    void scale() {
        QFETCH(DialUnit, unit);
        const DialLayout dial = dialLayout(unit, QPointF(1600, 1700), 3000);
        QTEST(dial.unitCaption, "caption");
        QVERIFY(near(dial.needleLength, 0.92 * 1500));
        QVERIFY(near(dial.ticks.first().angle, -4.07) && near(dial.ticks.last().angle, 0.93));
        QList<int> counts{0, 0, 0};
        for (const DialTick& t : dial.ticks) {
            ++counts[t.width - 1];
            QVERIFY(near(t.outerRadius, 0.99 * 1500));
            QVERIFY(near(t.innerRadius, (t.width == 3 ? 0.87 : t.width == 2 ? 0.91 : 0.94) * 1500));
        }
        QTEST(counts, "widthCounts");
        for (int i = 0; i < dial.labels.size(); ++i)
            QCOMPARE(dial.labels[i].index, i);
        QTEST(dial.labels.last().caption, "lastLabel");
        QTEST(dial.labels.last().fontSize, "fontSize");
    }

    void labelPlacement() {
        const double r = 0.87 * 1500;
        // km/h label 1 (20 km/h): right edge at 0.88 r, top at 0.9 r less two thirds of its height.
        const QPointF kph = dialLayout(DialUnit::KPH, QPointF(1600, 1700), 3000).labels[1].topRight(300);
        const double a = 20 * 5.0 / 230 - 4.07;
        QVERIFY(near(kph.x(), 1600 + 0.88 * r * std::cos(a)) && near(kph.y(), 1700 + 0.9 * r * std::sin(a) - 200));
        // mph label 7 (70 mph) stands straight above the pivot, a whole height above 0.87 r.
        const QPointF mph = dialLayout(DialUnit::MPH, QPointF(1600, 1700), 3000).labels[7].topRight(300);
        QVERIFY(near(mph.x(), 1600, 1.0) && near(mph.y(), 1700 - 0.87 * r - 300, 1.0));
    }
};

ZELCOR_TEST(DialsTest)
#include "dials_test.moc"
