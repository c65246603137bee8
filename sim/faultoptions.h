#pragma once
// The simulated adapter's faults as command-line options (zelcor-sim and the tests).

#include "sim/options.h"

#include <QString>

class QCommandLineParser;

namespace zelcor::sim {

// Adds an option for each fault to `parser`.
void addFaultOptions(QCommandLineParser& parser);
// Sets the faults `parser` was given in `options`; false with *error set when a value is
// out of range.
bool readFaultOptions(const QCommandLineParser& parser, Options& options, QString* error);

} // namespace zelcor::sim
