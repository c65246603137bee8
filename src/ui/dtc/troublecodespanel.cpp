#include "ui/dtc/troublecodespanel.h"

#include "dtc/codereply.h"
#include "dtc/troublecodes.h"
#include "ui/dtc/dtcwidgets.h"
#include "ui/namedwidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace zelcor {

namespace {

const QString columnHeader = QStringLiteral("DTC                            Reported By");

// The column header over a code list: its text is the design's one line, "DTC", blanks,
// "Reported By"; it draws "DTC" over the codes and "Reported By" over the controller
// column of the list's fixed-pitch font, which the blanks of another font would miss.
class ColumnHeader : public QLabel {
public:
    ColumnHeader(const QString& name, const QListWidget* list, QWidget* parent)
        : QLabel(columnHeader, parent), list_(list) {
        setObjectName(name);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const int gapStart = int(text().indexOf(QLatin1Char(' ')));
        const QString first = text().left(gapStart);
        const QString second = text().mid(gapStart).trimmed();
        const int textStart =
            list_->frameWidth() + list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
        const QString codeAndGap = QStringLiteral("P0000") + QString(codeItemGap, QLatin1Char(' '));
        const int secondStart = textStart + QFontMetrics(list_->font()).horizontalAdvance(codeAndGap);
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const QRect area = contentsRect();
        painter.drawText(area.adjusted(textStart, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, first);
        painter.drawText(area.adjusted(secondStart, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, second);
    }

private:
    const QListWidget* list_;
};

QListWidget* makeCodeList(const QString& name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(codeListFont());
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("P0000       232")) +
                          list->fontMetrics().averageCharWidth() * 8);
    return list;
}

} // namespace

TroubleCodesPanel::TroubleCodesPanel(TroubleCodes& codes, EraseActions erase, QWidget* parent)
    : QWidget(parent), codes_(codes), erase_(std::move(erase)),
      storedList_(makeCodeList(QStringLiteral("List5"), this)),
      pendingList_(makeCodeList(QStringLiteral("List6"), this)),
      permanentList_(makeCodeList(QStringLiteral("permanentList"), this)), permanentNote_(new QLabel(this)),
      explanation_(new QPlainTextEdit(this)),
      eraseButton_(namedButton(QStringLiteral("Command4"), QStringLiteral("ERASE ALL CODES"), this)),
      eraseNowButton_(namedButton(QStringLiteral("Command5"), QStringLiteral("ERASE CODES NOW"), this)),
      cancelButton_(namedButton(QStringLiteral("Command6"), QStringLiteral("CANCEL"), this)),
      saveButton_(namedButton(QStringLiteral("Command11"), QStringLiteral("SAVE CODES TO FILE"), this)) {
    setObjectName(QStringLiteral("codesPanel"));
    explanation_->setObjectName(QStringLiteral("Text10"));
    explanation_->setReadOnly(true);
    buildLayout();
    wire();
    render();
}

void TroubleCodesPanel::buildLayout() {
    QFont caption = font();
    caption.setBold(true);
    QLabel* stored = namedLabel(QStringLiteral("Label28"), QStringLiteral("Stored"), this);
    QLabel* pending = namedLabel(QStringLiteral("Label29"), QStringLiteral("Pending"), this);
    QLabel* permanent = namedLabel(QStringLiteral("permanentHeading"), QStringLiteral("Permanent"), this);
    for (QLabel* label : {stored, pending, permanent}) {
        label->setFont(caption);
        label->setAlignment(Qt::AlignHCenter);
    }
    // The confirmation buttons appear beside ERASE ALL CODES without moving it.
    for (QPushButton* button : {eraseNowButton_, cancelButton_}) {
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
    }
    explanation_->setMinimumHeight(explanation_->fontMetrics().lineSpacing() * 4);
    permanentNote_->setObjectName(QStringLiteral("permanentNote"));
    permanentNote_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(eraseButton_);
    buttons->addWidget(eraseNowButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stored, 0, 0);
    layout->addWidget(pending, 0, 1);
    layout->addWidget(permanent, 0, 2);
    layout->addWidget(new ColumnHeader(QStringLiteral("Label27"), storedList_, this), 1, 0);
    layout->addWidget(new ColumnHeader(QStringLiteral("Label11"), pendingList_, this), 1, 1);
    layout->addWidget(new ColumnHeader(QStringLiteral("permanentColumns"), permanentList_, this), 1, 2);
    layout->addWidget(storedList_, 2, 0);
    layout->addWidget(pendingList_, 2, 1);
    layout->addWidget(permanentList_, 2, 2);
    layout->addWidget(permanentNote_, 3, 2);
    layout->addWidget(namedLabel(QStringLiteral("Label22"),
                                 QStringLiteral("Explanation  (Click on a code in the lists above)"), this),
                      3, 0, 1, 2);
    layout->addWidget(explanation_, 4, 0, 1, 3);
    layout->addLayout(buttons, 5, 0, 1, 3);
    layout->setRowStretch(2, 3);
    layout->setRowStretch(4, 1);
}

void TroubleCodesPanel::wire() {
    connect(storedList_, &QListWidget::currentRowChanged, this, [this](int row) { rowChanged(storedList_, row); });
    connect(pendingList_, &QListWidget::currentRowChanged, this, [this](int row) { rowChanged(pendingList_, row); });
    connect(permanentList_, &QListWidget::currentRowChanged, this,
            [this](int row) { rowChanged(permanentList_, row); });
    connect(eraseButton_, &QPushButton::clicked, this, [this] { erase_.ask(); });
    connect(eraseNowButton_, &QPushButton::clicked, this, [this] { erase_.confirm(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { erase_.cancel(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { codes_.saveCodes(); });
    connect(&codes_, &TroubleCodes::codesChanged, this, &TroubleCodesPanel::render);
}

// The user picked a line. The session is told once the list has finished handling the
// mouse or key, so a message box from the lookup does not interrupt the list.
void TroubleCodesPanel::rowChanged(QListWidget* list, int row) {
    if (rendering_ || row < 0) return;
    QMetaObject::invokeMethod(
        this,
        [this, list, row] {
            if (list->currentRow() != row) return;
            if (list == storedList_)
                codes_.selectStored(row);
            else if (list == pendingList_)
                codes_.selectPending(row);
            else
                codes_.selectPermanent(row);
        },
        Qt::QueuedConnection);
}

void TroubleCodesPanel::renderList(QListWidget* list, const QStringList& items, int selected) {
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    if (shown != items) {
        list->clear();
        list->addItems(items);
    }
    if (selected >= 0 && selected < list->count()) {
        list->setCurrentRow(selected);
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

void TroubleCodesPanel::render() {
    rendering_ = true;
    const CodesPanel& state = codes_.codesPanel();
    renderList(storedList_, state.stored, state.storedIndex);
    renderList(pendingList_, state.pending, state.pendingIndex);
    renderList(permanentList_, state.permanent, state.permanentIndex);
    rendering_ = false;
    permanentNote_->setText(state.permanentNote);
    const QString text = boxText(state.explanation);
    if (explanation_->toPlainText() != text) explanation_->setPlainText(text);
    eraseButton_->setEnabled(state.eraseEnabled);
    saveButton_->setEnabled(state.saveEnabled);
    eraseNowButton_->setVisible(state.confirmVisible);
    cancelButton_->setVisible(state.confirmVisible);
    // Lists change inside long waits; show them at once.
    repaint();
}

} // namespace zelcor
