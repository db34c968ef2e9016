#pragma once
// What the pointer points at in a result plot: the cell under a point of
// the plot's coordinates and the field's values there.
#include "app/simulation_state.h"

#include <optional>
#include <string>

namespace kestrel {

struct ProbedCell {
    int i = 0;
    int j = 0;
    double x = 0; // cell centre
    double y = 0;
    double u = 0;
    double v = 0;
    double p = 0;
    double speed = 0;
    bool border = false; // the ring the plot draws black
};

// nullopt outside the mesh, or when the nodes or the field do not cover it.
std::optional<ProbedCell> ResultCellAt(const SimulationState& m, double x, double y);

// "i 15  j 14  x 145  y 135  U 0.1234  V -0.0012  P 0.5  速度 0.1234"
std::string ProbeText(const ProbedCell& cell);

} // namespace kestrel
