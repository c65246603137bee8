#pragma once
// The desktop of the headless scan: messages go to standard error, dialogs are
// cancelled, the clipboard and the browser are left alone.

#include "base/host.h"

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
};

} // namespace zelcor
