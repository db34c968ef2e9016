#pragma once
// Which time steps share their work with the helper thread, and the rows
// each thread then takes.
#include "app/simulation_state.h"
#include "solver_options.h"

#include <functional>

namespace kestrel {

// Whether this mesh's steps are worth sharing with the helper thread, and
// the current step may.
bool WorthTwoThreads(const SimulationState& m, const SolverOptions& options);

// Whether the mesh is large enough for two threads to gain on an idle machine.
bool LargeEnoughForTwoThreads(const SimulationState& m);

// Calls rows(from, to) so that rows first..last are each covered once: in
// a lower and an upper half on two threads when that is worth it and the
// helper is free, otherwise in one call. Returns the upper half's first
// row, or last + 1 when the rows were not split.
int ForRowHalves(const SimulationState& m, const SolverOptions& options, int first, int last,
                 const std::function<void(int from, int to)>& rows);

} // namespace kestrel
