#pragma once
// The Manufacturer Parameters panel: every definition file loaded from the data folder with
// its parameters (request, header, units, scale, the last value the live data or the graphs
// read) and its rejected lines with their reasons; a file imported into the folder or
// removed from it.

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelcor {

class PanelStack;
class Session;

class ParametersPanel : public QWidget {
    Q_OBJECT
public:
    explicit ParametersPanel(Session& session, QWidget* parent = nullptr);
    void render();
    // The Value column from the channels' latest readings.
    void renderValues();

private:
    // The folder file of the selected row (a file or one of its lines); empty for none and
    // for the files named for this run.
    QString selectedFile() const;

    Session& session_;
    QLabel* summary_;
    QTreeWidget* files_;
    QPushButton* remove_;
    QList<QTreeWidgetItem*> parameterItems_; // one per channel, in channel order
};

void installParametersPanel(PanelStack& stack, Session& session);

} // namespace zelcor
