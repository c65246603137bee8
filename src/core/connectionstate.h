#pragma once
// The one-line connection state for the main window's status line, and the About text.

#include <QString>

namespace zelcor {

class Session;

// "Not connected", "Not connected: <why the last connection failed>", "Connecting: finding
// the adapter", "Connecting: waking the link", "Connecting: detecting ...", "Connected
// (<protocol>, controller 232 (E8))", "Replaying log.txt", "Connection lost: <why>".
QString connectionStateText(const Session& session);

// What the About box says: version, licence, data folder, Qt version and the adapter's own
// identification (as it was last found), one item a line.
QString aboutText(const Session& session);

} // namespace zelcor
