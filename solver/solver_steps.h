#pragma once
// The operations of one time step, in the order the run makes them.
#include "app/simulation_state.h"

#include <functional>

namespace kestrel {

void SetVelocityBoundary(SimulationState& m);
// `between` runs on the calling thread between its rows.
void ComputeProvisionalVelocity(SimulationState& m, const std::function<void()>& between = {});
void PreparePressureEquation(SimulationState& m);
void SetObstaclePressure(SimulationState& m);
void SetPressureBoundary(SimulationState& m);
double SweepPressure(SimulationState& m);
void CorrectVelocity(SimulationState& m);

} // namespace kestrel
