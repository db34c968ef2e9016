#pragma once
// "抗力・揚力": the drag and lift coefficients on the painted obstacle at
// every step of the last run, with the latest values, saved as CSV on request.
#include "app/simulation_state.h"
#include "chart_window.h"

namespace kestrel {

ChartWindow* NewForceWindow(const SimulationState& m);

} // namespace kestrel
