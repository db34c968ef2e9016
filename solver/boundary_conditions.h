#pragma once
#include "app/host.h"
#include "app/simulation_state.h"

#include <functional>

namespace kestrel {

// bcMapA / bcMapB from the cell map. 0 on success, else the failure's number
// after its message has been shown. `between` runs between its parts.
int InitBoundaryConditions(SimulationState& m, Host& host,
                           const std::function<void()>& between = {});

// The fields with the uniform inflow U = 1, V = 0, P = 0.
// `between` runs between the parts of making the arrays: the largest mesh's
// take a noticeable part of a second each the first time.
void SetInitialConditions(SimulationState& m, const std::function<void()>& between = {});

} // namespace kestrel
