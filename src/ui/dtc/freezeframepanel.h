#pragma once
// The freeze frame panel: the stored parameters as label/value pairs, the
// explanation of the code that caused the freeze frame, and saving it to a file.

#include "dtc/freezeframe.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zelcor {

class TroubleCodes;

class FreezeFramePanel : public QWidget {
    Q_OBJECT
public:
    explicit FreezeFramePanel(TroubleCodes& codes, QWidget* parent = nullptr);

    // Rows shown in each column of label/value pairs.
    static constexpr int rowsPerColumn = 11;

private:
    void buildLayout();
    void render();

    TroubleCodes& codes_;
    std::array<QLabel*, FreezeFrame::rowCount> labels_{};
    std::array<QLineEdit*, FreezeFrame::rowCount> values_{};
    QPlainTextEdit* explanation_;
    QPushButton* saveButton_;
};

} // namespace zelcor
