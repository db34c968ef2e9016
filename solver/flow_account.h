#pragma once
// How far the classic method's run is from the flow a textbook means, in
// numbers a student can weigh: the Reynolds number based on the obstacle's
// height (the parameter is per unit of the mesh coordinates), the grid
// Péclet number that measures first-order upwind's numerical viscosity,
// and, during a run, a pressure level that drifts and mass that is lost.
// They only inform; the run is the same whatever they say.
#include "app/simulation_state.h"

#include <optional>

namespace kestrel {

struct FlowAccount {
    std::optional<double> length; // D: the obstacle's height, or the channel's
    bool ofObstacle = false;
    std::optional<double> reynolds; // Re · D
    std::optional<double> peclet;   // |u| Δx Re at the inflow, |u| = 1, Δx the first column
    bool evenNx = false;            // the classic method's pressure level drifts up with an even nx
};

// From the parameters and the cell map alone, as the fields show them.
FlowAccount AccountOfParameters(const SimulationState& m);

inline constexpr int kPressureRiseSteps = 100;
inline constexpr double kMassBalanceTolerance = 0.01;

// After a step: the mean pressure over the computed region's fluid cells,
// how many steps in a row it rose (never, in the second method), and the
// outflow over the inflow rate (U summed over the rows, each weighed by its
// height, in the first and last columns: for the classic method the
// interior rows and columns 2 and nx-1 with node spacings, for the second
// every row and the first and last cells).
void UpdateFlowHealth(const SimulationState& m, FlowHealth& health);

} // namespace kestrel
