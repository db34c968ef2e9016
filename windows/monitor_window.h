#pragma once
// "観測点の記録": V and P at the monitor cell at every step of the last run,
// the latest values and the Strouhal number, saved as CSV on request.
#include "app/simulation_state.h"
#include "chart_window.h"

namespace kestrel {

ChartWindow* NewMonitorWindow(const SimulationState& m);

// "St 0.152 (D 50, 4 周期)" or "St —" with the reason, for the summary.
std::string StrouhalText(const SimulationState& m);

} // namespace kestrel
