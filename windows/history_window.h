#pragma once
// "収束履歴": the sweeps and last error of every step of the last run as a
// chart, redrawn while a run goes on, and saved as CSV on request.
#include "app/simulation_state.h"
#include "chart_window.h"

namespace kestrel {

ChartWindow* NewHistoryWindow(const SimulationState& m);

} // namespace kestrel
