#pragma once
// The data folder's copy of codes.dat, kept in step with the one shipped with the program.

#include <QString>

namespace zelcor {

// Copies `shipped` into `folder` as codes.dat when the folder has none, and refreshes the
// copy when the shipped file changed (a package upgrade) while the copy is still the text
// last copied. A copy the user edited is never overwritten. What was copied is remembered
// by its SHA-256 in codes.dat.sha256 beside it (the layout `sha256sum -c` reads), so an
// edit is told from a copy the program made. Returns a line for the user when the folder
// keeps a copy that differs from the shipped one, when the copy was refreshed, or when it
// could not be written; empty otherwise.
QString provideCodesFile(const QString& shipped, const QString& folder);

} // namespace zelcor
