#pragma once
// The setup panel: the settings' controls, SAVE CHANGES and CANCEL CHANGES,
// and the "Debug log" button once it has been revealed.

#include "ui/main/panelframe.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zelcor {

class AdapterReportBox;
class DeviceChoiceBox;
class Session;
struct SetupPanelState;

class SetupPanelWidget : public PanelFrame {
    Q_OBJECT
public:
    static constexpr int kPortOptions = 8;

    explicit SetupPanelWidget(Session& session, QWidget* parent = nullptr);

    // The controls as they stand, read into the panel state.
    SetupPanelState values() const;
    QPushButton* cancelButton() const { return cancelButton_; }
    DeviceChoiceBox* deviceChoice() const { return deviceChoice_; }
    AdapterReportBox* adapterReport() const { return adapterReport_; }

private:
    void render();
    void renderDebugLog();
    void renderPortNames();
    void save();

    Session& session_;
    std::array<QRadioButton*, kPortOptions> portOptions_{};
    QButtonGroup* portGroup_;
    QLineEdit* promptDelay_;
    QRadioButton* miles_;
    QRadioButton* kilometers_;
    QRadioButton* poundsPerMinute_;
    QRadioButton* gramsPerSecond_;
    QCheckBox* noPortSearch_;
    QRadioButton* degreesF_;
    QRadioButton* degreesC_;
    QRadioButton* psi_;
    QRadioButton* kilopascal_;
    QLineEdit* weight_;
    QLineEdit* initMode_;
    QCheckBox* debug_;
    DeviceChoiceBox* deviceChoice_;
    QCheckBox* fastPolling_;
    QCheckBox* fasterLine_;
    AdapterReportBox* adapterReport_;
    QPushButton* debugLogButton_;
    QPushButton* saveButton_;
    QPushButton* cancelButton_;
};

} // namespace zelcor
