#pragma once
// Which time steps share their work with the helper thread, and the rows
// each thread then takes.
#include "app/simulation_state.h"

#include <functional>

namespace kestrel {

// How steps use the helper thread: on the meshes large enough to gain,
// each step choosing the faster of one and two threads as the machine's
// load allows (Auto), always on those meshes (Two), never (One), or on
// every mesh whatever its size (Always, which tests use). Every choice gives
// the same numbers to the last bit.
enum class SolverThreads { Auto, Two, One, Always };
void SetSolverThreads(SolverThreads use);
SolverThreads SolverThreadsInUse();

// Whether this mesh's steps are worth sharing with the helper thread, and
// the current step may (see ThreadChooser).
bool WorthTwoThreads(const SimulationState& m);

// Whether the mesh is large enough for two threads to gain on an idle machine.
bool LargeEnoughForTwoThreads(const SimulationState& m);

// The current step keeps to one thread (the chooser's probe or choice).
void SetStepOnOneThread(bool one);

// Calls rows(from, to) so that rows first..last are each covered once: in
// a lower and an upper half on two threads when that is worth it and the
// helper is free, otherwise in one call. Returns the upper half's first
// row, or last + 1 when the rows were not split.
int ForRowHalves(const SimulationState& m, int first, int last,
                 const std::function<void(int from, int to)>& rows);

} // namespace kestrel
