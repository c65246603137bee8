#include "ui/main/qthost.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace zelcor {

MessageAnswer QtHost::message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                              MessageAnswer defaultAnswer) {
    QMessageBox box(window_);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("ZELCOR") : title);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // The texts are laid out line by line (continuation lines are indented by hand), so
    // they are shown unbroken rather than re-wrapped by the box.
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<p style=\"white-space:pre\">") + shown.toHtmlEscaped() + QStringLiteral("</p>"));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    switch (icon) {
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::None:
        break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultAnswer == MessageAnswer::Yes ? QMessageBox::Yes : QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == MessageButtons::YesNo) return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

QString QtHost::saveFileName(const SaveDialogRequest& request) {
    QFileDialog dialog(window_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(lastSaveName_.isEmpty() ? request.proposedPath : lastSaveName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    lastSaveName_ = dialog.selectedFiles().first();
    return lastSaveName_;
}

// Starts where the last file was saved (a data log is usually replayed next), else in
// the requested folder.
QString QtHost::openFileName(const OpenDialogRequest& request) {
    const QString folder = lastSaveName_.isEmpty() ? request.folder : QFileInfo(lastSaveName_).absolutePath();
    return QFileDialog::getOpenFileName(window_, QString(), folder, request.filter);
}

void QtHost::setClipboardText(const QString& text) {
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void QtHost::openFile(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtHost::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace zelcor
