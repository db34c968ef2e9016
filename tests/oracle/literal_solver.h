#pragma once
// The solver's loops written out plainly, one statement per formula, as the
// reference the fast code must match bit for bit.
#include "app/simulation_state.h"
#include "solver/time_step.h"

namespace kestrel::literal {

void ComputeProvisionalVelocity(SimulationState& m);
void PreparePressureEquation(SimulationState& m);
void SetObstaclePressure(SimulationState& m);
void SetPressureBoundary(SimulationState& m);
double SweepPressure(SimulationState& m);
void CorrectVelocity(SimulationState& m);

StepReport AdvanceTimeStep(SimulationState& m);

} // namespace kestrel::literal
