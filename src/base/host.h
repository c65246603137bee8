#pragma once
// What the logic asks of the desktop: message boxes, file dialogs, the clipboard and
// opening files and addresses. The window implements it with Qt, tests record and
// answer the calls, and the headless scan prints messages to standard error.

#include <QString>

namespace zelcor {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// The kinds of file the program saves or opens; each kind's dialog remembers its own last
// folder and name, so a data log is never offered a code report's name.
enum class FileKind {
    CodeReport,
    FreezeFrameReport,
    VehicleInformation,
    TestResults,
    DataLog,
    Recording,
    ModuleReport,
    ParameterDefinitions,
};

struct SaveDialogRequest {
    explicit SaveDialogRequest(FileKind fileKind) : kind(fileKind) {}

    FileKind kind;
    QString defaultExtension; // "txt", "csv" (without the dot)
    QString filter;           // e.g. "*.txt" or "Logs (*.csv)"
    QString proposedPath;     // used when the dialog has no name of its own yet
};

struct OpenDialogRequest {
    FileKind kind = FileKind::Recording; // a recording or a parameter definition file
    QString defaultExtension;
    QString filter;
    QString folder; // where the dialog starts when no file was chosen yet
};

class Host {
public:
    virtual ~Host() = default;

    // A modal message box. `title` empty means the program's default title.
    virtual MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                                  MessageButtons buttons = MessageButtons::Ok,
                                  MessageAnswer defaultAnswer = MessageAnswer::Ok) = 0;

    // The save dialog: proposes the name last chosen for the request's kind of file, or
    // request.proposedPath the first time. Returns the chosen path, empty when cancelled.
    virtual QString saveFileName(const SaveDialogRequest& request) = 0;
    virtual QString openFileName(const OpenDialogRequest& request) = 0;

    // Clears the clipboard and puts plain text on it.
    virtual void setClipboardText(const QString& text) = 0;

    // Opens a local file in the desktop's viewer, or an address in the browser.
    virtual void openFile(const QString& path) = 0;
    virtual void openUrl(const QString& url) = 0;
};

} // namespace zelcor
