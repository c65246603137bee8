#pragma once
// A main window on a session whose clock, port and desktop are test doubles, in a fresh
// program folder. The port stays closed until the test calls online().

#include "sessionrig.h"
#include "ui/main/mainwindow.h"

#include <QWidget>

namespace zelcor::test {

struct UiRig : SessionRig {
    MainWindow window{session};

    UiRig() : SessionRig(Offline{}) { LOADCONFIG(session.settings, dir.path()); }

    template <typename T = QWidget> T* find(const QString& name) const { return window.findChild<T*>(name); }
    QString configPath() const { return dir.filePath(QStringLiteral("setup.cfg")); }
};

} // namespace zelcor::test
