#pragma once
// The Manufacturer Parameters panel: every definition file loaded from the data folder with
// its parameters (request, header, units, scale) and its rejected lines with their
// reasons; a file imported into the folder or removed from it.

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace zelcor {

class PanelStack;
class Session;

class ParametersPanel : public QWidget {
    Q_OBJECT
public:
    explicit ParametersPanel(Session& session, QWidget* parent = nullptr);
    void render();

private:
    // The file of the selected row (a file or one of its lines); empty for none.
    QString selectedFile() const;

    Session& session_;
    QLabel* summary_;
    QTreeWidget* files_;
    QPushButton* remove_;
};

void installParametersPanel(PanelStack& stack, Session& session);

} // namespace zelcor
