#pragma once
// The main window's values at every start, which the runner's case files
// and the tests take too.
#include "app/simulation_state.h"

namespace kestrel {

struct Defaults {
    double dt = 0.005;
    double reynolds = 40;
    Integer stepCount = 400;
    Integer nx = 61;
    Integer ny = 31;
    Integer meshSizeX = 10;
    Integer meshSizeY = 10;
    Integer maxIter = 100;
    double lineScale = 5;
    double displayInterval = 2; // read from its field when a run starts, not stored
    int lineWidth = 1;          // read from its field for every flow line, not stored
};
inline constexpr Defaults kDefaults{};

// The parameters and the equal-spacing mesh mode of a fresh start; the cell
// map and the fields are left as they are.
void ApplyDefaults(SimulationState& m);

} // namespace kestrel
