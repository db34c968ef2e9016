#pragma once
// The ten-band colour scale and the ranges the plots colour by.
#include "app/simulation_state.h"
#include "app/surface.h"

namespace kestrel {

// Colour of V within minDT..maxDT; a zero-width range fails with division by zero.
Rgb colorMap(const double& minDT, const double& maxDT, const double& V);

// The scale's legend: band k from minimum + k/10 of the range, as colorMap
// chooses it.
ColourLegend BandLegend(const std::string& quantity, double minimum, double maximum);

// Ten bands from blue through white to red over minimum..maximum, the
// middle (0 for a range centred on it) between the fifth and sixth.
Rgb DivergingColour(double minimum, double maximum, double v);
ColourLegend DivergingLegend(const std::string& quantity, double minimum, double maximum);

// A maximum not above the minimum becomes minimum + 10.
void WidenEmptyRange(double minimum, double& maximum);

// speedMin / speedMax over cells 1..nx x 1..ny (squares compared, one root).
void FindSpeedRange(SimulationState& m);
double ArrayMax(const Array2<double>& a, int n1, int n2);
double ArrayMin(const Array2<double>& a, int n1, int n2);

} // namespace kestrel
