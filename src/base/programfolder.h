#pragma once
// The program's folder: where setup.cfg, log.txt, codes.dat and the default report
// names live.

#include <QString>

namespace zelcor {

// The executable's folder when it is writable (portable use), else the per-user data
// folder, into which codes.dat is copied from the installed share folder when missing.
// A non-empty `overrideDir` (--data-dir) wins; it is created when missing.
// Returns the folder without a trailing separator.
QString resolveProgramFolder(const QString& overrideDir);

// Path of `fileName` inside `folder`.
QString inFolder(const QString& folder, const QString& fileName);

} // namespace zelcor
