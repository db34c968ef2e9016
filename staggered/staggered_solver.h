#pragma once
// The second method: a staggered (MAC) projection method with walls that
// have friction, second-order convection and time stepping (Adams-Bashforth)
// and a pressure that is exact to the discrete Poisson equation each step.
// It computes on its own face fields and hands the cells' values to the
// state, so every plot, table, export and chart reads them as it reads the
// classic method's.
#include "inflow_profile.h"
#include "mac_grid.h"
#include "momentum.h"
#include "pressure_projection.h"

#include <memory>

namespace kestrel::staggered {

struct Settings {
    double nu = 0;
    Walls walls = Walls::NoSlip;
    Inflow inflow = Inflow::Uniform;
};

class StaggeredSolver {
  public:
    // The grid must have passed GridProblem. Starts from the inflow profile
    // in every fluid cell, made free of divergence.
    StaggeredSolver(MacGrid grid, const Settings& settings);
    ~StaggeredSolver();

    // The largest time step the explicit momentum step stays stable with,
    // for the current field.
    double stableTimeStep() const;

    // One step of length dt; the report's lastError is the largest divergence
    // of a fluid cell after the projection, relative to the inflow.
    StepReport step(double dt);

    // U and V at the cell centres (averages of the two faces), P, in the
    // state's fields (0 in solid cells).
    void writeCellValues(SimulationState& m) const;

    const MacGrid& grid() const { return grid_; }

  private:
    MacGrid grid_;
    Settings settings_;
    std::vector<double> inflow_; // U on the inflow face of each row
    std::unique_ptr<PressureProjection> projection_;
    FaceField u_, v_, p_, hu_, hv_, huBefore_, hvBefore_;
    double dtBefore_ = 0; // 0 before the first step
};

} // namespace kestrel::staggered
