#pragma once
// The operations of one time step, in the order the run makes them.
#include "app/simulation_state.h"

namespace kestrel {

void SetVelocityBoundary(SimulationState& m);
void ComputeProvisionalVelocity(SimulationState& m);
void PreparePressureEquation(SimulationState& m);
void SetObstaclePressure(SimulationState& m);
void SetPressureBoundary(SimulationState& m);
double SweepPressure(SimulationState& m);
void CorrectVelocity(SimulationState& m);

} // namespace kestrel
