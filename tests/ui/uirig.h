#pragma once
// A main window on a session whose clock, port and desktop are test doubles, in a fresh
// program folder.

#include "config/settings.h"
#include "core/session.h"
#include "fakeclock.h"
#include "recordinghost.h"
#include "scriptport.h"
#include "ui/main/mainwindow.h"

#include <QTemporaryDir>
#include <QWidget>

namespace zelcor::test {

struct UiRig {
    FakeClock clock;
    ScriptPort port{clock};
    RecordingHost host;
    QTemporaryDir dir;
    Session session{clock, port, host, dir.path()};
    MainWindow window{session};

    UiRig() { LOADCONFIG(session.settings, dir.path()); }

    template <typename T = QWidget> T* find(const QString& name) const { return window.findChild<T*>(name); }
    QString configPath() const { return dir.filePath(QStringLiteral("setup.cfg")); }
};

} // namespace zelcor::test
