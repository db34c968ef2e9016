#pragma once
// The pressure iteration of one time step, as fast as the machine allows and
// bit for bit what the plain loops give.
#include "app/simulation_state.h"

#include <memory>
#include <vector>

namespace kestrel {

class PressureSolver {
  public:
    // Built once per step, after PreparePressureEquation: gathers the
    // non-fluid points and the cell codes as numbers, so that each
    // iteration only does arithmetic.
    explicit PressureSolver(SimulationState& m);

    // One iteration's error as its rows are swept.
    struct Sweep {
        double* terms;    // the error terms, row by row, while they may be needed
        double unordered; // their sum in lanes
        bool lastAllowed;
        bool goesOn; // the error is surely above the tolerance: no more terms
    };
    // Iterations k and k + 1 may run at once, but k + 1 starts only once k
    // is known to go on: k keeps no more terms then, so one store of them
    // serves both.
    Sweep startSweep(bool lastAllowed);

    // An iteration is its steps kFirstStep..lastStep() in order: obstacle
    // points, boundary copies and the sweep, interleaved row by row. Step r
    // of iteration k + 1 may run once iteration k has finished step
    // r + kStepsAhead; the rows they touch are then apart.
    static constexpr int kFirstStep = 2;
    static constexpr int kStepsAhead = 3;
    int lastStep() const;
    void step(int r, Sweep& s);

    // The sum of the squared corrections of the fluid points in row order,
    // exact whenever the sweep may end the iteration: when it is the last
    // allowed one, or when the error lies at or near the tolerance. Otherwise
    // a value known to lie above the tolerance.
    double error(const Sweep& s) const;

    // The same work phase by phase, as the plain loops do it.
    void setObstaclePressure();
    void setPressureBoundary();
    double sweep(bool lastAllowed);

  private:
    struct SolidPoint {
        std::size_t at;           // index of the point in P
        std::size_t neighbour[4]; // marked fluid neighbours, in summing order
        int count;
        double weight; // bcMapB
    };
    static constexpr int kRowCopyStep = 4;

    void setObstacleRow(int j);
    void copyBoundaryColumns(int j);
    void copyRow(int to, int from);
    void sweepRow(int j, Sweep& s);
    template <bool Store, bool Masked> double sweepRow(int j, double* terms);
    bool surelyAbove(const Sweep& s) const;

    SimulationState& m_;
    std::vector<double> fluid_;             // cellKind as Double, rows with obstacles
    std::vector<const double*> fluidRow_;   // by row j: its codes, or null without obstacles
    std::vector<SolidPoint> solids_;        // in row order
    std::vector<std::size_t> solidsBefore_; // by row j: the solids of the rows below
    std::unique_ptr<double[]> terms_;
    std::size_t termCount_ = 0;
    const double* sharedCentre_ = nullptr; // work2's row when every row is the same
};

// For tests: every sweep sums its error in order, as if each decision were
// too close to call. The results must not change.
void SetExactPressureErrorForTesting(bool on);

} // namespace kestrel
