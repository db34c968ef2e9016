#pragma once
// The operations of one time step, in the order the run makes them.
#include "app/simulation_state.h"
#include "solver_options.h"

#include <functional>

namespace kestrel {

void SetVelocityBoundary(SimulationState& m);
// options.betweenPhases runs on the calling thread between its rows.
void ComputeProvisionalVelocity(SimulationState& m, const SolverOptions& options = {});
void PreparePressureEquation(SimulationState& m, const SolverOptions& options = {});
void SetObstaclePressure(SimulationState& m);
void SetPressureBoundary(SimulationState& m);
double SweepPressure(SimulationState& m);
void CorrectVelocity(SimulationState& m, const SolverOptions& options = {});

} // namespace kestrel
