// The message box: it shows its whole text on any screen and answers with the button pressed.

#include "link/helptexts.h"
#include "testmain.h"
#include "ui/main/messagebox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

Q_DECLARE_METATYPE(zelcor::MessageButtons)
Q_DECLARE_METATYPE(zelcor::MessageAnswer)

namespace {

QString notFoundText(const QString& cause) {
    return QStringLiteral("Can not find ZELCOR interface (%1).  ERROR NUMBER 0\r\n").arg(cause) +
           interfaceNotFoundHelp(false);
}

} // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    // On every screen the box fits, every line is laid out and in view or scrolled to; lines
    // break only where the screen is too narrow for them.
    void wholeTextShown_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("keepsLines"); // no line wrapped
        QTest::addColumn<bool>("scrolls");
        const QString wifi = notFoundText(QStringLiteral("192.168.0.10:35000 cannot be reached: Connection refused"));
        const QString permission =
            notFoundText(QStringLiteral("Permission denied on /dev/ttyUSB0: add your user to the 'dialout' group with "
                                        "\"sudo usermod -aG dialout $USER\", then log out and in again"));
        QStringList tall;
        for (int i = 1; i <= 120; ++i)
            tall << QStringLiteral("%1)  one step of many").arg(i);
        QTest::newRow("Wi-Fi address error") << wifi << QSize(1280, 800) << true << false;
        QTest::newRow("permission, large screen") << permission << QSize(1920, 1080) << true << false;
        QTest::newRow("permission, small screen") << permission << QSize(800, 600) << false << false;
        QTest::newRow("taller than the screen") << tall.join("\r\n") << QSize(800, 600) << true << true;
        QTest::newRow("tiny screen") << permission << QSize(320, 240) << false << true;
    }
    void wholeTextShown() {
        QFETCH(QString, text);
        QFETCH(QSize, screen);
        QFETCH(bool, keepsLines);
        QFETCH(bool, scrolls);
        MessageBox box(text, QStringLiteral("Error"), MessageIcon::Critical, MessageButtons::Ok, MessageAnswer::Ok);
        box.fitInto(QRect(QPoint(), screen));
        box.show();
        QVERIFY2(box.width() <= screen.width() && box.height() <= screen.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(box.width()).arg(box.height())));
        const QLabel* label = box.textLabel();
        const QWidget* view = box.textArea()->viewport();
        QVERIFY(label->width() <= view->width());
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
        const int unwrapped = int(text.count(QLatin1String("\r\n")) + 1) * label->fontMetrics().lineSpacing();
        QCOMPARE(label->height() == unwrapped, keepsLines);
        QCOMPARE(box.textArea()->verticalScrollBar()->isVisible(), scrolls);
        QCOMPARE(label->height() > view->height(), scrolls);
    }

    // The default button is the one asked for; closing a question answers No.
    void answers_data() {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<MessageAnswer>("preset");
        QTest::addColumn<int>("press"); // a QDialogButtonBox::StandardButton, 0: closed
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("Ok") << MessageButtons::Ok << MessageAnswer::Ok << int(QDialogButtonBox::Ok)
                            << MessageAnswer::Ok;
        QTest::newRow("Yes, No preset") << MessageButtons::YesNo << MessageAnswer::No << int(QDialogButtonBox::Yes)
                                        << MessageAnswer::Yes;
        QTest::newRow("No, Yes preset") << MessageButtons::YesNo << MessageAnswer::Yes << int(QDialogButtonBox::No)
                                        << MessageAnswer::No;
        QTest::newRow("question closed") << MessageButtons::YesNo << MessageAnswer::Yes << 0 << MessageAnswer::No;
    }
    void answers() {
        QFETCH(MessageButtons, buttons);
        QFETCH(MessageAnswer, preset);
        QFETCH(int, press);
        MessageBox box(QStringLiteral("Do you want to continue?"), QString(), MessageIcon::Question, buttons, preset);
        auto* buttonBox = box.findChild<QDialogButtonBox*>();
        const auto presetButton = preset == MessageAnswer::Yes  ? QDialogButtonBox::Yes
                                  : preset == MessageAnswer::No ? QDialogButtonBox::No
                                                                : QDialogButtonBox::Ok;
        QVERIFY(buttonBox->button(presetButton)->isDefault());
        QCOMPARE(box.windowTitle(), QStringLiteral("ZELCOR"));
        box.show();
        if (press)
            QTest::mouseClick(buttonBox->button(QDialogButtonBox::StandardButton(press)), Qt::LeftButton);
        else
            box.reject();
        QVERIFY(!box.isVisible());
        QTEST(box.answer(), "answer");
    }
};

ZELCOR_TEST(MessageBoxTest)
#include "messagebox_test.moc"
