#include "ui/main/qthost.h"

#include "ui/main/messagebox.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace zelcor {

MessageAnswer QtHost::message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                              MessageAnswer defaultAnswer) {
    MessageBox box(text, title, icon, buttons, defaultAnswer, window_);
    box.exec();
    return box.answer();
}

QString QtHost::saveFileName(const SaveDialogRequest& request) {
    QFileDialog dialog(window_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(files_.saveStart(request));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    files_.remember(request.kind, chosen);
    return chosen;
}

QString QtHost::openFileName(const OpenDialogRequest& request) {
    const QString chosen = QFileDialog::getOpenFileName(window_, QString(), files_.openStart(request), request.filter);
    if (!chosen.isEmpty()) files_.remember(request.kind, chosen);
    return chosen;
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
