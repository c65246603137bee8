#include "ui/main/messagebox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

namespace zelcor {

namespace {

// Room left on the screen for the frame the desktop draws around the box (title bar and
// borders), which the box cannot measure before it is shown.
constexpr int kFrameWidth = 24;
constexpr int kFrameHeight = 64;

// Even on a tiny screen a scrolling text keeps a few lines in view.
constexpr int kFewestLines = 3;

QStyle::StandardPixmap standardPixmap(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QStyle::SP_MessageBoxWarning;
    case MessageIcon::Critical:
        return QStyle::SP_MessageBoxCritical;
    case MessageIcon::Question:
        return QStyle::SP_MessageBoxQuestion;
    case MessageIcon::Information:
    case MessageIcon::None:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

} // namespace

MessageBox::MessageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                       MessageAnswer defaultAnswer, QWidget* parent)
    : QDialog(parent), answer_(buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok) {
    setWindowTitle(title.isEmpty() ? QStringLiteral("ZELCOR") : title);

    // The parts carry the names Qt's own message box gives them, so whatever looks a box's
    // parts up by name finds them here too.
    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("qt_msgboxex_icon_label"));
    if (icon == MessageIcon::None) {
        icon_->hide();
    } else {
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon_->setPixmap(style()->standardIcon(standardPixmap(icon), nullptr, this).pixmap(size, size));
    }

    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text_ = new QLabel(shown);
    text_->setObjectName(QStringLiteral("qt_msgbox_label"));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("messageText"));
    area_->setFrameShape(QFrame::NoFrame);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setWidget(text_);

    buttons_ = new QDialogButtonBox(this);
    buttons_->setObjectName(QStringLiteral("qt_msgbox_buttonbox"));
    buttons_->setCenterButtons(style()->styleHint(QStyle::SH_MessageBox_CenterButtons, nullptr, this));
    QPushButton* preset = nullptr;
    if (buttons == MessageButtons::YesNo) {
        QPushButton* yes = buttons_->addButton(QDialogButtonBox::Yes);
        QPushButton* no = buttons_->addButton(QDialogButtonBox::No);
        preset = defaultAnswer == MessageAnswer::Yes ? yes : no;
    } else {
        preset = buttons_->addButton(QDialogButtonBox::Ok);
    }
    preset->setDefault(true);
    preset->setFocus();
    connect(buttons_, &QDialogButtonBox::clicked, this, &MessageBox::press);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(icon_, 0, 0, Qt::AlignTop);
    grid->addWidget(area_, 0, 1);
    grid->addWidget(buttons_, 1, 0, 1, 2);

    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) fitInto(screen->availableGeometry());
}

void MessageBox::fitInto(const QRect& available) {
    ensurePolished();
    text_->ensurePolished();
    // A size fixed by an earlier fit would bound the measures below.
    text_->setMinimumSize(0, 0);
    text_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QFontMetrics metrics = text_->fontMetrics();
    int longest = 0;
    for (const QString& line : text_->text().split(QLatin1Char('\n')))
        longest = qMax(longest, metrics.horizontalAdvance(line));
    // Laying the text out may round each glyph differently from measuring the line whole.
    longest += metrics.averageCharWidth();

    const auto* grid = static_cast<QGridLayout*>(layout());
    const QMargins margins = grid->contentsMargins();
    const int iconWidth = icon_->isHidden() ? 0 : icon_->sizeHint().width() + qMax(0, grid->horizontalSpacing());
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area_->verticalScrollBar());
    const int widest = available.width() - kFrameWidth - margins.left() - margins.right() - iconWidth - scrollBar;
    const int width = qMax(qMin(longest, widest), metrics.averageCharWidth() * 10);
    const int height = text_->heightForWidth(width);
    text_->setFixedSize(width, height);

    const int highest = qMax(available.height() - kFrameHeight - margins.top() - margins.bottom() -
                                 qMax(0, grid->verticalSpacing()) - buttons_->sizeHint().height(),
                             metrics.lineSpacing() * kFewestLines);
    const bool scrolls = height > highest;
    area_->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    area_->setFixedSize(width + (scrolls ? scrollBar : 0), scrolls ? highest : height);
    adjustSize();
}

void MessageBox::press(QAbstractButton* button) {
    switch (buttons_->standardButton(button)) {
    case QDialogButtonBox::Yes:
        answer_ = MessageAnswer::Yes;
        break;
    case QDialogButtonBox::No:
        answer_ = MessageAnswer::No;
        break;
    default:
        answer_ = MessageAnswer::Ok;
        break;
    }
    accept();
}

} // namespace zelcor
