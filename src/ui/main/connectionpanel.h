#pragma once
// The connection panel: title, CONNECT and DISCONNECT, the replay buttons, the
// help link, the status lamp and caption, and the function list.

#include "base/listentry.h"
#include "ui/main/panelframe.h"

#include <QList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zelcor {

class Session;
class StatusLamp;

class ConnectionPanel : public PanelFrame {
    Q_OBJECT
public:
    explicit ConnectionPanel(Session& session, QWidget* parent = nullptr);

    QPushButton* connectButton() const { return connectButton_; }

    // The edition title: the name in spaced capitals, then what the program is.
    static QString titleText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void wire();
    void renderButtons();
    void renderFunctionList();
    void renderTimeAfterReceive();
    void listRowChanged(int row);
    void listItemClicked(int row);

    Session& session_;
    QLabel* title_;
    QPushButton* connectButton_;
    QPushButton* disconnectButton_;
    QPushButton* replayButton_;
    QPushButton* traceReplayButton_;
    QPushButton* helpButton_;
    StatusLamp* lamp_;
    QLabel* lampLabel_;
    QLabel* status_;
    QListWidget* functionList_;
    QLineEdit* timeAfterReceive_;
    QList<ListEntry> shownEntries_;
    int rowAtPress_ = -1; // the selected entry when the mouse went down on the list
    bool rendering_ = false;
};

} // namespace zelcor
