#pragma once
// The addresses at which the whole-car scan looks for modules: one table of request and
// reply identifiers on 11-bit and 29-bit CAN.

#include "link/addressing.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace zelcor {

// A module is reached as any controller on its own address.
using ModuleAddress = ControllerAddress;

// The candidates for a bus whose replies the adapter prints in `layout` (none for the legacy
// buses, where modules are not reached this way), in the order they are asked.
const QList<ModuleAddress>& candidateAddresses(HeaderLayout layout);

} // namespace zelcor
