#pragma once
#include "app/host.h"
#include "app/simulation_state.h"

namespace kestrel {

// bcMapA / bcMapB from the cell map. 0 on success, else the failure's number
// after its message has been shown.
int InitBoundaryConditions(SimulationState& m, Host& host);

// The fields with the uniform inflow U = 1, V = 0, P = 0.
void SetInitialConditions(SimulationState& m);

} // namespace kestrel
