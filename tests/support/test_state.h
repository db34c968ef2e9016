#pragma once
// Ready-made states for the tests.
#include "app/simulation_state.h"

namespace kestrel::test {

// The main window's defaults (61 x 31, mesh size 10, dt 0.005, Re 40 ...).
SimulationState defaultState();

// The 5 x 5 obstacle of the default case, cells (15..19, 14..18).
void addDefaultObstacle(SimulationState& m);

// An equal-spaced mesh of nx x ny cells with an all-fluid map; solid cells
// are (i, j) pairs set to non-fluid.
SimulationState meshState(int nx, int ny, int meshSize = 10);

// 20 x 12 cells of 1 with a 2 x 2 obstacle and dt 2: diverges within its
// 300 steps.
SimulationState divergingState();

// After factors, boundary maps and initial fields, ready for time steps.
void initialiseRun(SimulationState& m);

// Given coordinates for m's counts: columns widening to the right, rows
// narrowing upwards.
void stretchCoordinates(SimulationState& m);

} // namespace kestrel::test
