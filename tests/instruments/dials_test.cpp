#include "instruments/dials.h"
#include "testmain.h"

#include <QTest>
#include <cmath>
#include <numbers>

using namespace zelcor;

Q_DECLARE_METATYPE(zelcor::DialUnit)

namespace {

bool near(double a, double b) {
    return std::fabs(a - b) < 1e-9;
}

} // namespace

class DialsTest : public QObject {
    Q_OBJECT
private slots:
    void angle_data() {
        QTest::addColumn<DialUnit>("unit");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("expected");
        QTest::newRow("mph zero, lower left") << DialUnit::MPH << 0.0 << -4.07;
        QTest::newRow("mph middle, straight up") << DialUnit::MPH << 70.0 << -1.57;
        QTest::newRow("mph full scale") << DialUnit::MPH << 140.0 << 0.93;
        QTest::newRow("kph middle") << DialUnit::KPH << 115.0 << -1.57;
        QTest::newRow("rpm full scale") << DialUnit::RPM << 10000.0 << 0.93;
        QTest::newRow("beyond the scale") << DialUnit::RPM << 12000.0 << 1.93;
    }
    void angle() {
        QFETCH(DialUnit, unit);
        QFETCH(double, x);
        QFETCH(double, expected);
        QVERIFY(near(needleAngle(unit, x), expected));
    }

    void needleEndPoints() {
        const QPointF pivot(100, 200);
        const QPointF up = needleEnd(pivot, 50, -std::numbers::pi / 2);
        QVERIFY(near(up.x(), 100) && near(up.y(), 150));
        const QPointF zero = needleEnd(pivot, 50, needleAngle(DialUnit::MPH, 0));
        QVERIFY(near(zero.x(), 100 + 50 * std::cos(-4.07)) && near(zero.y(), 200 + 50 * std::sin(-4.07)));
        QVERIFY(zero.x() < 100 && zero.y() > 200); // lower left on a screen
    }

    void scale_data() {
        QTest::addColumn<DialUnit>("unit");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QList<int>>("widthCounts"); // ticks of width 1, 2, 3
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<int>("fontSize");
        QTest::newRow("km/h") << DialUnit::KPH << "km/h" << 231 << QList<int>{207, 0, 24}
                              << QStringList{"0",   "20",  "40",  "60",  "80",  "100",
                                             "120", "140", "160", "180", "200", "220"}
                              << 12;
        QTest::newRow("mph") << DialUnit::MPH << "MPH" << 141 << QList<int>{112, 14, 15}
                             << QStringList{"0",  "10", "20",  "30",  "40",  "50",  "60", "70",
                                            "80", "90", "100", "110", "120", "130", "140"}
                             << 14;
        QTest::newRow("rpm") << DialUnit::RPM << "RPM" << 51 << QList<int>{40, 0, 11}
                             << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"} << 14;
    }
    void scale() {
        QFETCH(DialUnit, unit);
        QFETCH(QString, caption);
        QFETCH(int, ticks);
        QFETCH(QList<int>, widthCounts);
        QFETCH(QStringList, labels);
        QFETCH(int, fontSize);
        const double width = 3000;
        const DialLayout dial = dialLayout(unit, QPointF(1600, 1700), width);
        QCOMPARE(dial.unitCaption, caption);
        QVERIFY(near(dial.needleLength, 0.92 * 1500));

        QCOMPARE(dial.ticks.size(), ticks);
        QVERIFY(near(dial.ticks.first().angle, -4.07));
        QVERIFY(near(dial.ticks.last().angle, 0.93));
        QList<int> counts{0, 0, 0};
        for (const DialTick& t : dial.ticks) {
            ++counts[t.width - 1];
            QVERIFY(near(t.outerRadius, 0.99 * 1500));
            const double inner = t.width == 3 ? 0.87 : t.width == 2 ? 0.91 : 0.94;
            QVERIFY(near(t.innerRadius, inner * 1500));
        }
        QCOMPARE(counts, widthCounts);

        QStringList captions;
        for (int i = 0; i < dial.labels.size(); ++i) {
            QCOMPARE(dial.labels[i].index, i);
            QCOMPARE(dial.labels[i].fontSize, fontSize);
            captions << dial.labels[i].caption;
        }
        QCOMPARE(captions, labels);
    }

    void labelPlacement() {
        const QPointF c(1600, 1700);
        const double r = 0.87 * 1500;
        // km/h: label 1 (20 km/h), right edge at 0.88 r, top at 0.9 r less two thirds of its height.
        const DialLabel kph = dialLayout(DialUnit::KPH, c, 3000).labels[1];
        const double a = 20 * 5.0 / 230 - 4.07;
        QVERIFY(near(kph.topRight(300).x(), 1600 + 0.88 * r * std::cos(a)));
        QVERIFY(near(kph.topRight(300).y(), 1700 + 0.9 * r * std::sin(a) - 200));
        // mph: label 7 (70 mph) stands straight above the pivot, its bottom at 0.87 of the label radius.
        const DialLabel mph = dialLayout(DialUnit::MPH, c, 3000).labels[7];
        QVERIFY(std::fabs(mph.topRight(300).x() - 1600) < 1.0);
        QVERIFY(std::fabs(mph.topRight(300).y() - (1700 - 0.87 * r - 300)) < 1.0);
    }
};

ZELCOR_TEST(DialsTest)
#include "dials_test.moc"
