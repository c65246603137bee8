#pragma once
// The setup panel's "Adapter" box: what the last connection learned about the adapter
// (banner, chip, firmware, line rate, quirks, refused commands, probe time), copyable.

#include <QGroupBox>

class QPlainTextEdit;
class QPushButton;

namespace zelcor {

class Session;

class AdapterReportBox : public QGroupBox {
    Q_OBJECT
public:
    explicit AdapterReportBox(Session& session, QWidget* parent = nullptr);

    // Shows the report as the link holds it now.
    void render();
    QString reportText() const;

private:
    Session& session_;
    QPlainTextEdit* report_;
    QPushButton* copyButton_;
};

} // namespace zelcor
