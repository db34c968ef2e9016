#pragma once
// How often the flow at the monitor cell repeats: the mean interval between
// upward crossings of V through its mean over the second half of the run,
// each crossing placed by linear interpolation between two steps, and the
// Strouhal number St = D·f (inflow speed 1).
#include "app/simulation_state.h"

#include <optional>

namespace kestrel {

struct Strouhal {
    int crossings = 0;               // upward crossings of the mean in the second half
    int periods = 0;                 // whole periods between them
    std::optional<double> frequency; // once at least three periods are seen
    std::optional<double> number;    // D·f
};

// length is D, the obstacle's height (or the channel's); the records' times
// place the crossings.
Strouhal EstimateStrouhal(const std::vector<MonitorRecord>& records, double length);

// The monitor's values as step,U,V,P.
std::string MonitorCsv(const std::vector<MonitorRecord>& records);

} // namespace kestrel
