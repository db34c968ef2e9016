#pragma once
// The pressure iterations of one time step: up to maxIter sweeps, ending at
// the first error at or below the tolerance.
#include "app/simulation_state.h"

#include <optional>

namespace kestrel {

StepReport SolvePressure(SimulationState& m);

// How many threads take turns (1 or 2), each running how many consecutive
// iterations interleaved row by row (1 or 2).
struct IterationSpread {
    int threads;
    int group;
};

// For tests: every mesh with this spread; nullopt: as the mesh's size suggests.
void SetIterationSpreadForTesting(std::optional<IterationSpread> spread);

} // namespace kestrel
