#pragma once
// The operations of one time step, in the order the run makes them.
#include "app/module1.h"

namespace kestrel {

void SetVelocityBoundary(Module1& m);
void ComputeProvisionalVelocity(Module1& m);
void PreparePressureEquation(Module1& m);
void SetObstaclePressure(Module1& m);
void SetPressureBoundary(Module1& m);
double SweepPressure(Module1& m);
void CorrectVelocity(Module1& m);

} // namespace kestrel
