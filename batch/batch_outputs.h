#pragma once
// What kestrel-batch writes: the table, the CSV, the stats and the picture,
// each made whole in memory before any file is touched.
#include "app/host.h"
#include "app/simulation_state.h"
#include "solver/time_step.h"

#include <string>
#include <vector>

namespace kestrel {

struct RunStats {
    std::vector<StepReport> steps;
    double loopSeconds = 0;
};

std::string CsvTable(const SimulationState& m); // i,j,x,y,U,V,P with 17 significant digits
std::string StatsJson(const RunStats& stats);   // sweeps, lastError (null: no sweep), loopSeconds

// The final plot as the window draws it (481 pixels wide, as high as the
// mesh makes it), encoded as PNG for a .png name and BMP otherwise. Throws
// std::runtime_error with the plot's own message when it cannot be drawn.
std::string PlotImageFile(SimulationState& m, Host& host, const std::string& path);

// Writes bytes to a file; throws std::runtime_error naming it on failure.
void WriteOutputFile(const std::string& path, const std::string& bytes);

} // namespace kestrel
