#pragma once
// The trouble code panel: stored, pending and permanent codes with their controllers, the
// explanation of the selected code, erase and save.

#include <QStringList>
#include <QWidget>
#include <functional>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace zelcor {

class TroubleCodes;

// The erase buttons' work, which involves the function the passes serve.
struct EraseActions {
    std::function<void()> ask;     // ERASE ALL CODES
    std::function<void()> confirm; // ERASE CODES NOW
    std::function<void()> cancel;  // CANCEL
};

class TroubleCodesPanel : public QWidget {
    Q_OBJECT
public:
    TroubleCodesPanel(TroubleCodes& codes, EraseActions erase, QWidget* parent = nullptr);

private:
    void buildLayout();
    void wire();
    void render();
    void renderList(QListWidget* list, const QStringList& items, int selected);
    void rowChanged(QListWidget* list, int row);

    TroubleCodes& codes_;
    EraseActions erase_;
    QListWidget* storedList_;
    QListWidget* pendingList_;
    QListWidget* permanentList_;
    QLabel* permanentNote_;
    QPlainTextEdit* explanation_;
    QPushButton* eraseButton_;
    QPushButton* eraseNowButton_;
    QPushButton* cancelButton_;
    QPushButton* saveButton_;
    bool rendering_ = false;
};

} // namespace zelcor
