#pragma once
// The pressure iterations of one time step: up to maxIter sweeps, ending at
// the first error at or below the tolerance.
#include "app/simulation_state.h"

namespace kestrel {

StepReport SolvePressure(SimulationState& m);

// For tests: run two iterations at once on every mesh (Always), on none
// (Never), or on the meshes large enough to gain from it (Auto).
enum class PressureThreads { Auto, Always, Never };
void SetPressureThreadsForTesting(PressureThreads use);

} // namespace kestrel
