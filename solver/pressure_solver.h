#pragma once
// The pressure iteration of one time step, as fast as the machine allows and
// bit for bit what the plain loops give.
#include "app/simulation_state.h"
#include "row_sweep.h"
#include "runtime/cache_line_allocator.h"
#include "solver_options.h"

#include <vector>

namespace kestrel {

class PressureSolver {
  public:
    // Built once per step, after PreparePressureEquation: gathers the
    // non-fluid points and the cell codes as numbers, so that each
    // iteration only does arithmetic.
    explicit PressureSolver(SimulationState& m, const SolverOptions& options = {});

    // One iteration's error as its rows are swept.
    struct Sweep {
        double* terms;    // the error terms, row by row, while they may be needed
        double unordered; // their sum in lanes
        bool lastAllowed;
        bool goesOn; // the error is surely above the tolerance: no more terms
    };
    // Parts of up to three consecutive iterations may be under way at once;
    // each keeps its terms apart. Another thread may start an iteration's
    // sweep only after the thread that started it first.
    static constexpr int kIterationsAtOnce = 3;
    Sweep startSweep(int k, bool lastAllowed);

    // An iteration is its steps kFirstStep..lastStep() in order: obstacle
    // points, boundary copies and the sweep of row r - 2, interleaved row by
    // row. Step r of iteration k + 1 may run once iteration k has finished
    // step r + kStepsAhead; the rows they touch are then apart.
    static constexpr int kFirstStep = 2;
    static constexpr int kStepsAhead = 3;
    int lastStep() const;
    void step(int r, Sweep& s);

    // The sum of the squared corrections of the fluid points in row order,
    // exact whenever the sweep may end the iteration: when it is the last
    // allowed one, or when the error lies at or near the tolerance. Otherwise
    // a value known to lie above the tolerance.
    double error(const Sweep& s) const;
    // Whether terms summed in lanes to `unordered` (all of a sweep's, or some)
    // put its error surely above the tolerance: the iteration goes on.
    bool surelyAbove(const Sweep& s, double unordered) const;
    // Every term of the sweep, summed in row order.
    double exactError(const Sweep& s) const;

    // The same work phase by phase, as the plain loops do it. A sweep calls
    // options.betweenPhases every kRowsBetweenCalls rows: a sweep of the
    // largest meshes takes longer than the window may wait for a redraw.
    void setObstaclePressure();
    void setPressureBoundary();
    double sweep(bool lastAllowed);
    static constexpr int kRowsBetweenCalls = 256;

  private:
    struct SolidPoint {
        std::size_t at;           // index of the point in P
        std::size_t neighbour[4]; // marked fluid neighbours, in summing order
        int count;
        double weight; // bcMapB
    };
    static constexpr int kRowCopyStep = 4;

    void setObstacles(std::size_t from, std::size_t to); // solids_[from, to)
    void setObstacleRow(int j);
    void copyBoundaryColumns(int j);
    void copyRow(int to, int from);
    void sweepRow(int j, Sweep& s);
    double* termRow(const Sweep& s, int j) const;

    SimulationState& m_;
    SolverOptions options_;
    const RowSweeps& sweeps_;
    CacheLineVector<double> fluid_;         // cellKind as Double, rows with obstacles
    std::vector<const double*> fluidRow_;   // by row j: its codes, or null without obstacles
    std::vector<SolidPoint> solids_;        // in row order
    std::vector<std::size_t> solidsBefore_; // by row j: the solids of the rows below
    CacheLineBuffer<double> terms_[kIterationsAtOnce];
    std::size_t termRows_ = 0;
    std::size_t termStride_ = 0;
    double surelyAboveFactor_ = 1; // 1 less twice the relative bound of a reordered sum
    // The centre coefficients' row when every row is the same.
    const double* sharedCentre_ = nullptr;
    RowSweepContext rows_{};
};

} // namespace kestrel
