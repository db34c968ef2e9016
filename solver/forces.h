#pragma once
// The force the flow puts on the painted obstacle, as drag and lift
// coefficients (inflow speed 1, density 1, ν = 1/Re): the pressure on each
// face a painted cell shares with a fluid cell, and the viscous shear along
// it, summed row by row (j rising), each row left to right, each cell's
// faces left, right, below, above. Only cells with 3 ≤ i ≤ nx−2 and
// 3 ≤ j ≤ ny−2 count, painted or fluid: the rows and columns next to the
// channel's edges hold boundary values, not flow.
#include "app/simulation_state.h"

#include <optional>

namespace kestrel {

// The obstacle's height D: the sum of the node spacings ly(j) of the rows
// holding a counted painted cell (in the second method, of the rows' own
// heights); nullopt when no painted cell counts.
std::optional<double> ObstacleHeight(const SimulationState& m);

// The length a Reynolds or Strouhal number is based on: the obstacle's
// height, or the channel's (its first to last node) without an obstacle.
double ReferenceLength(const SimulationState& m);

// The coefficients now (step left 0); nullopt without an obstacle.
std::optional<ForceRecord> ForcesOnObstacle(const SimulationState& m);

} // namespace kestrel
