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

    void setObstaclePressure();
    void setPressureBoundary();

    // One sweep. Its error, the sum of the squared corrections of the fluid
    // points in row order, is exact whenever the sweep may end the
    // iteration: when it is the last allowed one, or when the error lies at
    // or near the tolerance. Otherwise the result is only known to lie above
    // the tolerance (a sum of the same terms in another order).
    double sweep(bool lastAllowed);

  private:
    struct SolidPoint {
        std::size_t at;           // index of the point in P
        std::size_t neighbour[4]; // marked fluid neighbours, in summing order
        int count;
        double weight; // bcMapB
    };
    template <bool Store, bool Masked> double sweepRow(int j, double* terms);

    SimulationState& m_;
    std::vector<double> fluid_;           // cellKind as Double, rows with obstacles
    std::vector<const double*> fluidRow_; // by row j: its codes, or null without obstacles
    std::vector<SolidPoint> solids_;
    std::unique_ptr<double[]> terms_; // this sweep's error terms, row by row
    std::size_t termCount_ = 0;
    const double* sharedCentre_ = nullptr; // work2's row when every row is the same
};

// For tests: every sweep sums its error in order, as if each decision were
// too close to call. The results must not change.
void SetExactPressureErrorForTesting(bool on);

} // namespace kestrel
