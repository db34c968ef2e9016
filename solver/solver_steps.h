#pragma once
// The operations of one time step, in the order the run makes them.
#include "app/module1.h"

#include <limits>
#include <vector>

namespace kestrel {

void SetVelocityBoundary(Module1& m);
void ComputeProvisionalVelocity(Module1& m);
void PreparePressureEquation(Module1& m);
void SetObstaclePressure(Module1& m);
void SetPressureBoundary(Module1& m);
double SweepPressure(Module1& m);
void CorrectVelocity(Module1& m);

// The pressure iteration of one time step. Built once per step, after
// PreparePressureEquation: it gathers the non-fluid points and the cell codes
// as numbers so that each iteration only does arithmetic.
class PressureSolver {
  public:
    explicit PressureSolver(Module1& m);

    void setObstaclePressure();
    void setPressureBoundary();
    // One sweep; returns the error. The error is a sum of non-negative terms
    // in a fixed order, so its partial sums never decrease: once one exceeds
    // stopAbove the sweep stops summing and returns that partial sum, which
    // compares with any tolerance <= stopAbove exactly as the full sum would.
    double sweep(double stopAbove = std::numeric_limits<double>::infinity());

  private:
    struct SolidPoint {
        std::size_t at;           // index of the point in P
        std::size_t neighbour[4]; // marked fluid neighbours, in summing order
        int count;
        double weight; // bcMapB
    };

    Module1& m_;
    std::vector<double> fluid_; // cellKind as Double, laid out like P
    std::vector<SolidPoint> solids_;
};

} // namespace kestrel
