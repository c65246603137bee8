#pragma once
// The trouble code panel (D03): stored and pending codes with their controllers, the
// explanation of the selected code, erase and save.

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace zelcor {

class Session;

class CodesPanel : public QWidget {
    Q_OBJECT
public:
    explicit CodesPanel(Session& session, QWidget* parent = nullptr);

private:
    void buildLayout();
    void wire();
    void render();
    void renderList(QListWidget* list, const QStringList& items, int selected);
    void rowChanged(QListWidget* list, int row);

    Session& session_;
    QListWidget* storedList_;
    QListWidget* pendingList_;
    QPlainTextEdit* explanation_;
    QPushButton* eraseButton_;
    QPushButton* eraseNowButton_;
    QPushButton* cancelButton_;
    QPushButton* saveButton_;
    bool rendering_ = false;
};

} // namespace zelcor
