#pragma once
// The pressure iterations of one time step: up to maxIter sweeps, ending at
// the first error at or below the tolerance.
#include "app/simulation_state.h"
#include "solver_options.h"

namespace kestrel {

StepReport SolvePressure(SimulationState& m, const SolverOptions& options = {});

} // namespace kestrel
