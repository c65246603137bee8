#pragma once
// The desktop on Qt: message boxes, the shared save dialog, the clipboard and
// opening files and addresses.

#include "base/host.h"

#include <QPointer>
#include <QWidget>

namespace zelcor {

class QtHost : public Host {
public:
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
    QString lastSaveName_; // one dialog for all saves: the last chosen name is proposed next time
};

} // namespace zelcor
