#pragma once
// Rough stability numbers of the explicit step, from the parameters alone,
// for the smallest cell: the CFL number with the inflow speed 1, and the
// diffusion number of the viscous term.
#include "app/simulation_state.h"

#include <optional>
#include <vector>

namespace kestrel {

constexpr double kCflLimit = 1.0;
constexpr double kDiffusionLimit = 0.5;

struct StabilityNumbers {
    // nullopt when the mesh has no cell of positive width to measure by
    // (a zero or negative size, descending or missing coordinates) or the
    // number is not finite (a Reynolds number of 0).
    std::optional<double> cfl;       // |u| dt / min(dx, dy), |u| = 1
    std::optional<double> diffusion; // dt / Re (1 / dx^2 + 1 / dy^2)
};

StabilityNumbers EstimateStability(const SimulationState& m);

// The widths of cells 1..cells along one axis as the mesh would be built
// (element k - 1 for cell k); nullopt when one is not positive.
std::optional<std::vector<double>> CellWidths(bool equal, Integer size, const Array1<double>& list,
                                              int cells);

} // namespace kestrel
