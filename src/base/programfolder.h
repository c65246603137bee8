#pragma once
// The program's folder: where setup.cfg, log.txt, codes.dat and the default report
// names live.

#include <QString>

namespace zelcor {

// The per-user data folder (~/.local/share/zelcor), into which codes.dat is copied from
// beside the program or from the installed share folder (see provideCodesFile, which
// says in *note which copy is used when that is worth saying), unless the copy of
// the program is portable: on Linux a setup.cfg beside the executable, on Windows a
// writable folder of a program that was not installed. A non-empty `overrideDir`
// (--data-dir) wins; it is created when missing. Returns the folder without a trailing
// separator, or an empty text with *error saying why no folder can hold the files (a
// file in its place, not writable, cannot be created).
QString resolveProgramFolder(const QString& overrideDir, QString* error = nullptr, QString* note = nullptr);

// Path of `fileName` inside `folder`.
QString inFolder(const QString& folder, const QString& fileName);

} // namespace zelcor
