#pragma once
// The desktop of the headless scan: messages go to standard error, each text once,
// dialogs are cancelled, the clipboard and the browser are left alone.

#include "base/host.h"

#include <QSet>

namespace zelcor {

class ScanHost : public Host {
public:
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                          MessageAnswer defaultAnswer) override;
    QString saveFileName(const SaveDialogRequest&) override { return {}; }
    QString openFileName(const OpenDialogRequest&) override { return {}; }
    void setClipboardText(const QString&) override {}
    void openFile(const QString&) override {}
    void openUrl(const QString&) override {}

private:
    QSet<QString> said_; // a text that comes again (the same file error for every code) is not repeated
};

} // namespace zelcor
