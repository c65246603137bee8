#pragma once
// The cars whose modules answer on their own addresses: the whole-car profile with eight
// modules on 11-bit CAN, and the two modules the 29-bit car carries besides its engine
// and transmission.

#include "sim/profiles.h"

namespace zelcor::sim {

// Eight modules; the engine and transmission given are the OBD controllers among them.
Profile fullCarProfile(ControllerDefinition engine, ControllerDefinition transmission);
// An ABS module at 28 and an airbag module at 58, on 29-bit addresses only.
QList<ControllerDefinition> can29Modules();

} // namespace zelcor::sim
