#pragma once
// Main windows on test sessions, each in a fresh program folder: UiRig on a scripted
// adapter (its port closed until the test calls online()), CarWindowRig on the simulated car.

#include "sessionrig.h"
#include "ui/live/gaugewindows.h"
#include "ui/live/livepanel.h"
#include "ui/main/mainwindow.h"
#include "ui/namedwidgets.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace zelcor::test {

inline QStringList itemsOf(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

template <typename Rig> struct WithWindow : Rig {
    using Rig::Rig;
    MainWindow window{Rig::session};
    template <typename T = QWidget> T* find(const QString& name) const { return window.findChild<T*>(name); }
    QStringList items(const QString& list) const { return itemsOf(find<QListWidget>(list)); }
    // What a named line edit, label, button or text box shows.
    QString text(const QString& name) const {
        QObject* shown = find<QObject>(name);
        if (auto* box = qobject_cast<QPlainTextEdit*>(shown)) return box->toPlainText();
        return shown ? shown->property("text").toString() : QString();
    }
};

struct UiRig : WithWindow<SessionRig> {
    UiRig() : WithWindow(SessionRig::Offline{}) { loadSettings(session.settings(), dir.path()); }
};
using CarWindowRig = WithWindow<CarRig>;

// The main window on the live-data (or graphs) panel: every row and trace lists engine
// speed, vehicle speed and the fuel system status; the rows show engine speed.
struct LiveWindowRig : UiRig {
    LiveData& live = session.live();
    explicit LiveWindowRig(Panel panel = Panel::LiveData) {
        live.clearChannels();
        for (const ListEntry& entry :
             QList<ListEntry>{{"Engine RPM", 12}, {"Vehicle Speed", 13}, {"Fuel System Status", 3}})
            live.addChannelLast(entry);
        live.channelsComplete();
        for (int i = 0; i < kLiveRows; ++i)
            live.chooseRowChannel(i, 0);
        session.showPanel(panel);
        window.show();
    }
    LivePanel* panel() const { return find<LivePanel>("livePanel"); }
    GaugeWindow* gauge(int row) const { return panel()->gauges()->window(row); }
    QCheckBox* box(const char* name, int row) const { return find<QCheckBox>(indexedName(name, row)); }
};

// A click on a list's row; what the list posts is handled before the test goes on.
inline void clickRow(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QCoreApplication::processEvents();
}

} // namespace zelcor::test

Q_DECLARE_METATYPE(zelcor::Function)
Q_DECLARE_METATYPE(zelcor::ListEntry)
