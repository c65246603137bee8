#include "instruments/dials.h"
#include "testmain.h"
#include "ui/instruments/dialface.h"
#include "ui/instruments/rpmpanelwidget.h"
#include "ui/instruments/speedpanelwidget.h"
#include "uirig.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>

using namespace zelcor;
using namespace zelcor::test;

Q_DECLARE_METATYPE(zelcor::DialUnit)

namespace {

DialFace* dialOf(const UiRig& rig, DialUnit unit) {
    if (unit == DialUnit::RPM) return rig.window.findChild<RpmPanelWidget*>()->dial();
    return rig.window.findChild<SpeedPanelWidget*>()->dial();
}

void showValue(Session& session, DialUnit unit, double x) {
    auto show = unit == DialUnit::MPH ? &Session::MPH : unit == DialUnit::KPH ? &Session::KPH : &Session::RPM;
    (session.*show)(x);
}

void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace

class InstrumentPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void needle_data() {
        QTest::addColumn<DialUnit>("unit");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("angle");
        const double up = -4.07 + 2.5;
        QTest::newRow("mph 0") << DialUnit::MPH << 0.0 << -4.07;
        QTest::newRow("mph 70 points up") << DialUnit::MPH << 70.0 << up;
        QTest::newRow("mph 140") << DialUnit::MPH << 140.0 << 0.93;
        QTest::newRow("km/h 0") << DialUnit::KPH << 0.0 << -4.07;
        QTest::newRow("km/h 115 points up") << DialUnit::KPH << 115.0 << up;
        QTest::newRow("km/h 230") << DialUnit::KPH << 230.0 << 0.93;
        QTest::newRow("rpm 0") << DialUnit::RPM << 0.0 << -4.07;
        QTest::newRow("rpm 5000 points up") << DialUnit::RPM << 5000.0 << up;
        QTest::newRow("rpm 10000") << DialUnit::RPM << 10000.0 << 0.93;
        QTest::newRow("rpm beyond the scale") << DialUnit::RPM << 12000.0 << 1.93;
    }
    void needle() {
        QFETCH(DialUnit, unit);
        QFETCH(double, value);
        QFETCH(double, angle);
        UiRig rig;
        DialFace* dial = dialOf(rig, unit);
        showValue(rig.session, unit, value);

        const QLineF needle = dial->needle();
        QCOMPARE(needle.p1(), QPointF(dial->width() / 2.0, dial->height() / 2.0));
        QVERIFY(std::abs(needle.length() - 0.92 * dial->width() / 2.0) < 1e-9);
        QVERIFY(std::abs(std::remainder(std::atan2(needle.dy(), needle.dx()) - angle, 2 * M_PI)) < 1e-9);
        const QString readout = unit == DialUnit::RPM ? "Label23" : "Label14";
        QCOMPARE(rig.find<QLabel>(readout)->text(), QString::number(value));
    }

    // The speed scale at start-up follows the unit setting; unused labels stay hidden and
    // the used ones sit where the dial's geometry puts them.
    void speedScale_data() {
        QTest::addColumn<bool>("usemph");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("labels");
        QTest::addColumn<QString>("last");
        QTest::newRow("mph") << true << "MPH" << 15 << "140";
        QTest::newRow("km/h") << false << "km/h" << 12 << "220";
    }
    void speedScale() {
        QFETCH(bool, usemph);
        QFETCH(int, labels);
        UiRig rig;
        rig.session.settings.usemph = usemph;
        auto* panel = rig.window.findChild<SpeedPanelWidget*>();
        rig.session.MPH(90);
        panel->SETUPSPEEDOMETER();

        QTEST(rig.find<QLabel>("Label13")->text(), "caption");
        QCOMPARE(rig.find<QLabel>("Label14")->text(), QStringLiteral("0"));
        DialFace* dial = panel->dial();
        QVERIFY(std::abs(std::atan2(dial->needle().dy(), dial->needle().dx()) - std::remainder(-4.07, 2 * M_PI)) <
                1e-9);
        const DialLayout layout = dialLayout(usemph ? DialUnit::MPH : DialUnit::KPH,
                                             QPointF(dial->width() / 2.0, dial->width() / 2.0), dial->width());
        for (int k = 0; k <= 16; ++k) {
            auto* label = rig.find<QLabel>(QStringLiteral("Label12_%1").arg(k));
            QVERIFY(label);
            QCOMPARE(!label->isHidden(), k < labels);
            if (k >= labels) continue;
            const DialLabel& placement = layout.labels.at(k);
            const QPointF centre = QRectF(label->geometry()).center();
            QVERIFY(std::abs(centre.x() - placement.right) <= 1);
            QVERIFY(std::abs(centre.y() - placement.top) <= 1);
        }
        QTEST(rig.find<QLabel>(QStringLiteral("Label12_%1").arg(labels - 1))->text(), "last");
    }

    // A unit change in the setup reaches the needle at the next pass; the scale follows it,
    // so labels, caption and readout never disagree.
    void scaleFollowsTheNeedleUnit() {
        UiRig rig;
        QCOMPARE(rig.find<QLabel>("Label13")->text(), QStringLiteral("MPH"));
        rig.session.KPH(100);
        QCOMPARE(rig.find<QLabel>("Label13")->text(), QStringLiteral("km/h"));
        QCOMPARE(rig.find<QLabel>("Label12_11")->text(), QStringLiteral("220"));
        QVERIFY(rig.find<QLabel>("Label12_12")->isHidden());
        QCOMPARE(rig.find<QLabel>("Label14")->text(), QStringLiteral("100"));
    }

    void entries_data() {
        QTest::addColumn<bool>("usemph");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("startSpeed");
        QTest::addColumn<int>("endSpeed");
        QTest::newRow("0 to 60 mph") << true << "0"
                                     << "60" << 1 << 97;
        QTest::newRow("30 to 50 mph") << true << "30"
                                      << "50" << 48 << 80;
        QTest::newRow("km/h as typed") << false << "20"
                                       << "100" << 20 << 100;
        QTest::newRow("end beyond the speed byte") << false << "0"
                                                   << "300" << 1 << 255;
        QTest::newRow("not numbers") << false << "abc"
                                     << "" << 1 << 0;
        QTest::newRow("absurd entries") << true << "-5"
                                        << "99999999" << 1 << 255;
    }
    void entries() {
        QFETCH(bool, usemph);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, startSpeed);
        QFETCH(int, endSpeed);
        UiRig rig;
        rig.session.settings.usemph = usemph;
        rig.window.show();
        auto* text6 = rig.find<QLineEdit>("Text6");
        auto* text7 = rig.find<QLineEdit>("Text7");
        QCOMPARE(text6->text(), QStringLiteral("0"));
        QCOMPARE(text7->text(), QStringLiteral("60"));
        typeInto(text6, start);
        typeInto(text7, end);
        QTest::mouseClick(rig.find<QPushButton>("Command10"), Qt::LeftButton);

        QCOMPARE(rig.session.instruments.startText, start);
        QCOMPARE(rig.session.instruments.endText, end);
        QCOMPARE(rig.session.instruments.test.startSpeed(), startSpeed);
        QCOMPARE(rig.session.instruments.test.endSpeed(), endSpeed);
        QCOMPARE(rig.find<QLineEdit>("Text8")->text(), QStringLiteral("Ready"));
    }
};

ZELCOR_TEST(InstrumentPanelsTest)
#include "instrumentpanels_test.moc"
