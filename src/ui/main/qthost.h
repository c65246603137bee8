#pragma once
// The desktop on Qt: message boxes, the file dialogs (each kind of file remembering its
// own last name), the clipboard and opening files and addresses.

#include "base/host.h"
#include "config/rememberedfiles.h"

#include <QPointer>
#include <QWidget>

namespace zelcor {

class QtHost : public Host {
public:
    // The names chosen in the file dialogs are kept in `programFolder`'s zelcor.ini; with no
    // folder, for this run only.
    explicit QtHost(const QString& programFolder = QString()) : files_(programFolder) {}

    void setWindow(QWidget* window) { window_ = window; }

    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                          MessageAnswer defaultAnswer) override;
    QString saveFileName(const SaveDialogRequest& request) override;
    QString openFileName(const OpenDialogRequest& request) override;
    void setClipboardText(const QString& text) override;
    void openFile(const QString& path) override;
    void openUrl(const QString& url) override;

private:
    QPointer<QWidget> window_;
    RememberedFiles files_;
};

} // namespace zelcor
