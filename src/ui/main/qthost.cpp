#include "ui/main/qthost.h"

#include "ui/main/messagebox.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
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
    const QString last = files_.last(request.kind);
    dialog.selectFile(last.isEmpty() ? request.proposedPath : last);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    files_.remember(request.kind, chosen);
    return chosen;
}

// Starts at the file last opened of the kind; a recording the first time starts where the
// data log was last saved (its recording lies beside it), else in the requested folder.
QString QtHost::openFileName(const OpenDialogRequest& request) {
    QString start = files_.last(request.kind);
    if (start.isEmpty() && request.kind == FileKind::Recording) {
        const QString log = files_.last(FileKind::DataLog);
        if (!log.isEmpty()) start = QFileInfo(log).absolutePath();
    }
    if (start.isEmpty()) start = request.folder;
    const QString chosen = QFileDialog::getOpenFileName(window_, QString(), start, request.filter);
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
