#pragma once
// The force on the painted cells in the staggered method, as drag and lift
// coefficients (inflow speed 1, density 1): on each face a painted cell
// shares with a fluid cell, the fluid cell's pressure and the shear of its
// velocity along the face, which is 0 on the face half a cell away. The same
// cells count as in the classic method (3 ≤ i ≤ nx−2, 3 ≤ j ≤ ny−2), in the
// same order; D is the summed height of their rows.
#include "app/simulation_state.h"
#include "mac_grid.h"

#include <optional>

namespace kestrel::staggered {

// From the cell values of m (U, V, P as the solver wrote them); nullopt
// when no painted cell counts.
std::optional<ForceRecord> ForcesOnBody(const MacGrid& g, double nu, const SimulationState& m);

} // namespace kestrel::staggered
