#pragma once
// The explanation of a code a module reported: its title from codes.dat, or what kind of code
// it is when the file has none.

#include <QString>

namespace zelcor {

// The title codes.dat in `folder` gives `code` (one line, without the code); else for a
// manufacturer-specific code "manufacturer-specific code, reported by <module>", for any
// other the text that says codes.dat has no line for it. `module` as people read it ("ABS-BrakeControl",
// "760/768"). *errorNumber as explainCode() sets it.
QString moduleCodeExplanation(const QString& code, const QString& module, const QString& folder,
                              int* errorNumber = nullptr);

} // namespace zelcor
