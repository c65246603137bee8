#pragma once
// Small pieces shared by the trouble code and freeze frame panels.

#include <QFont>
#include <QString>

class QWidget;

namespace zelcor {

// The fixed-pitch font of the code lists, so the controller column lines up.
QFont codeListFont();

// Text with CR LF (or CR) line ends as a text box shows it.
QString boxText(QString text);

} // namespace zelcor
