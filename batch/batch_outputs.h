#pragma once
#include "app/host.h"
#include "app/module1.h"
#include "solver/time_step.h"

#include <string>
#include <vector>

namespace kestrel {

struct RunStats {
    std::vector<StepReport> steps;
    double loopSeconds = 0;
};

std::string CsvTable(const Module1& m);       // i,j,x,y,U,V,P with 17 significant digits
std::string StatsJson(const RunStats& stats); // sweeps, lastError (null: no sweep), loopSeconds

// The final plot as the window draws it: 481 pixels wide, as high as the
// mesh makes it; PNG for a .png name, BMP otherwise. false when not written.
bool WritePlotImage(Module1& m, Host& host, const std::string& path);

// Writes text to a file; throws std::runtime_error naming it on failure.
void WriteTextFile(const std::string& path, const std::string& text);

} // namespace kestrel
