#pragma once
// The solver's loops written out plainly, one statement per formula, as the
// reference the fast code must match bit for bit.
#include "app/module1.h"
#include "solver/time_step.h"

namespace kestrel::literal {

void ComputeProvisionalVelocity(Module1& m);
void PreparePressureEquation(Module1& m);
void SetObstaclePressure(Module1& m);
void SetPressureBoundary(Module1& m);
double SweepPressure(Module1& m);
void CorrectVelocity(Module1& m);

StepReport AdvanceTimeStep(Module1& m);

} // namespace kestrel::literal
