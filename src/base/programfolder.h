#pragma once
// The program's folder: where setup.cfg, log.txt, codes.dat and the default report
// names live.

#include <QString>

namespace zelcor {

// The executable's folder when it is writable (portable use, the build tree), else the
// per-user data folder, into which codes.dat is copied from the installed share folder when
// missing. An installed program (codes.dat in the share folder beside its bin folder, not
// beside the executable) always uses the per-user data folder, even where it could write
// its bin folder (root, or an installation into a prefix of the user's own).
// A non-empty `overrideDir` (--data-dir) wins; it is created when missing.
// Returns the folder without a trailing separator.
QString resolveProgramFolder(const QString& overrideDir);

// Path of `fileName` inside `folder`.
QString inFolder(const QString& folder, const QString& fileName);

} // namespace zelcor
