#pragma once
// The pressure iterations of one time step: up to maxIter sweeps, ending at
// the first error at or below the tolerance.
#include "app/simulation_state.h"

namespace kestrel {

StepReport SolvePressure(SimulationState& m);

// For tests: share every iteration between two threads on every mesh
// (Always), on none (Never), or on the meshes large enough to gain (Auto).
enum class PressureThreads { Auto, Always, Never };
void SetPressureThreadsForTesting(PressureThreads use);

} // namespace kestrel
