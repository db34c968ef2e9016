#pragma once
// Vorticity ω = ∂V/∂x − ∂U/∂y of the field, by central differences on the
// node coordinates (node k's coordinate for the values at k), one-sided in
// the first and last cells of each row and column, 0 in painted cells.
#include "app/simulation_state.h"

namespace kestrel {

double VorticityAt(const SimulationState& m, int i, int j);

} // namespace kestrel
