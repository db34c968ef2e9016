#pragma once
// What kestrel-batch writes besides the table and the exports: the stats
// and the pictures, each made whole in memory before any file is touched.
#include "app/host.h"
#include "app/simulation_state.h"
#include "runtime/failure.h"

#include <string>
#include <vector>

namespace kestrel {

class ImageSurface;

// sweeps and lastError (null: no sweep) of every step, and the loop's time.
std::string StatsJson(const std::vector<StepReport>& history, double loopSeconds);

// The final plot as the window draws it (481 pixels wide, as high as the
// mesh makes it), encoded as PNG for a .png name and BMP otherwise. Throws
// an OutputFailure with the plot's own message when it cannot be drawn.
std::string PlotImageFile(SimulationState& m, Host& host, const std::string& path);

// Why a plot failed, where the mesh's shape says.
std::string PlotFailureText(const SimulationState& m, const ImageSurface& picture);

// "Strouhal number ..." from the monitor's V, or why there is none yet.
std::string StrouhalLine(const SimulationState& m);

// An output the runner cannot make, in its own English.
Failure OutputFailure(std::string english);

// Writes bytes to a file; throws an OutputFailure naming it on failure.
void WriteOutputFile(const std::string& path, const std::string& bytes);

} // namespace kestrel
