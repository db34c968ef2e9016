#pragma once
// The ten-band colour scale and the ranges the plots colour by.
#include "app/simulation_state.h"
#include "app/surface.h"

namespace kestrel {

// Colour of V within minDT..maxDT; a zero-width range fails with division by zero.
Rgb colorMap(const double& minDT, const double& maxDT, const double& V);

// A maximum not above the minimum becomes minimum + 10.
void WidenEmptyRange(double minimum, double& maximum);

// speedMin / speedMax over cells 1..nx x 1..ny (squares compared, one root).
void FindSpeedRange(SimulationState& m);
double ArrayMax(const Array2<double>& a, int n1, int n2);
double ArrayMin(const Array2<double>& a, int n1, int n2);

} // namespace kestrel
