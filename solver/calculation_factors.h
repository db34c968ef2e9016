#pragma once
#include "app/host.h"
#include "app/simulation_state.h"

namespace kestrel {

// Node coordinates, then the mesh factors facX1..5 / facY1..5. Two nodes
// i - 1 and i + 1 at the same coordinate fail with a division-by-zero
// failure whose description names them.
void InitCalculationFactors(SimulationState& m, Host& host);

} // namespace kestrel
