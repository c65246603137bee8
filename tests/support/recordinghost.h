#pragma once
// A desktop for tests: records every message box, clipboard text and opened file,
// and answers dialogs from prepared values.

#include "base/host.h"

#include <QStringList>
#include <functional>

namespace zelcor::test {

struct RecordedMessage {
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons;
};

class RecordingHost : public Host {
public:
    QList<RecordedMessage> messages;
    QStringList clipboard; // every text put on the clipboard
    QStringList openedFiles, openedUrls;
    QList<SaveDialogRequest> saveRequests;
    MessageAnswer answer = MessageAnswer::Yes; // answer to Yes/No questions
    QString saveAnswer;                        // chosen path; empty = cancelled
    QString openAnswer;
    std::function<void(const RecordedMessage&)> onMessage; // e.g. to click during a box

    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                          MessageAnswer) override {
        messages.append({text, title, icon, buttons});
        if (onMessage) onMessage(messages.last());
        return buttons == MessageButtons::YesNo ? answer : MessageAnswer::Ok;
    }
    QString saveFileName(const SaveDialogRequest& request) override {
        saveRequests.append(request);
        return saveAnswer;
    }
    QString openFileName(const OpenDialogRequest&) override { return openAnswer; }
    void setClipboardText(const QString& text) override { clipboard.append(text); }
    void openFile(const QString& path) override { openedFiles.append(path); }
    void openUrl(const QString& url) override { openedUrls.append(url); }
};

} // namespace zelcor::test
