#pragma once
// The pressure of the staggered method: the discrete Poisson equation over
// the fluid cells, closed at the walls, the inflow and solid faces, with the
// pressure 0 on the outflow face. Its matrix depends on the grid alone, so it
// is factorised once and every step only substitutes.
#include "mac_grid.h"

#include <memory>

namespace kestrel::staggered {

// What the projection leaves of any fluid cell's divergence, relative to
// the inflow, at the most.
constexpr double kDivergenceBound = 1e-10;

class PressureProjection {
  public:
    explicit PressureProjection(const MacGrid& grid);
    ~PressureProjection();

    // Makes u and v free of divergence in every fluid cell: solves for the
    // pressure p (at the cell centres, 0 in solid cells) and subtracts
    // dt·grad p from the open faces and the outflow face.
    void project(FaceField& u, FaceField& v, FaceField& p, double dt);

    // The largest |net outflow| of a fluid cell, over the inflow's flux.
    double relativeDivergence(const FaceField& u, const FaceField& v) const;

  private:
    double netOutflow(const FaceField& u, const FaceField& v, int i, int j) const;

    // The factorisation and its vectors, kept out of this header so that no
    // other file compiles the sparse solver's types (their layout depends on
    // the vector width a file is built for).
    struct Factor;

    const MacGrid& g_;
    std::vector<int> unknown_; // the unknown of cell (i, j), -1 for solid
    std::unique_ptr<Factor> factor_;
    double inflowFlux_ = 1;
};

} // namespace kestrel::staggered
