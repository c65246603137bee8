#pragma once
// A panel that shows a report as text, with Copy and Save to file buttons.

#include <QWidget>
#include <functional>

class QPlainTextEdit;

namespace zelcor {

struct ReportTextActions {
    std::function<QString()> text; // the report as the panel shows it
    std::function<void()> copy;
    std::function<void()> save;
};

class ReportTextPanel : public QWidget {
    Q_OBJECT
public:
    ReportTextPanel(const QString& name, ReportTextActions actions, QWidget* parent = nullptr);

    // Shows the report's text again.
    void render();

private:
    ReportTextActions actions_;
    QPlainTextEdit* text_;
};

} // namespace zelcor
