#include "staggered_solver.h"

#include <algorithm>
#include <cmath>

namespace kestrel::staggered {

StaggeredSolver::StaggeredSolver(MacGrid grid, const Settings& settings)
    : grid_(std::move(grid)), settings_(settings), inflow_(InflowProfile(grid_, settings.inflow)),
      projection_(std::make_unique<PressureProjection>(grid_)), u_(grid_.nx + 2, grid_.ny + 1),
      v_(grid_.nx + 1, grid_.ny + 2), p_(grid_.nx, grid_.ny), hu_(grid_.nx + 2, grid_.ny + 1),
      hv_(grid_.nx + 1, grid_.ny + 2), huBefore_(grid_.nx + 2, grid_.ny + 1),
      hvBefore_(grid_.nx + 1, grid_.ny + 2) {
    const MacGrid& g = grid_;
    const bool body = std::find(g.solid.begin(), g.solid.end(), 1) != g.solid.end();
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx + 1; ++i) {
            const bool open = i == 1          ? g.isFluid(1, j)
                              : i == g.nx + 1 ? g.isFluid(g.nx, j)
                                              : UFaceMoves(g, i, j);
            u_(i, j) = open ? inflow_[j] : 0.0;
            // Around a body, a disturbance of 1 % that no symmetry of the
            // case undoes, as every real flow has one: without it a
            // symmetric body would shed no vortices at any Reynolds number.
            if (body && open && i > 1) u_(i, j) *= 1 + 0.01 * std::sin(3.0 * i + 7.0 * j);
        }
    projection_->project(u_, v_, p_, 1.0);
    FillGhosts(g, settings_.walls, u_, v_);
}

StaggeredSolver::~StaggeredSolver() = default;

double StaggeredSolver::stableTimeStep() const {
    const MacGrid& g = grid_;
    double limit = INFINITY;
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i) {
            if (!g.isFluid(i, j)) continue;
            const double uc = std::max(std::abs(u_(i, j)), std::abs(u_(i + 1, j)));
            const double vc = std::max(std::abs(v_(i, j)), std::abs(v_(i, j + 1)));
            const double rate =
                uc / g.dx[i] + vc / g.dy[j] +
                2 * settings_.nu * (1 / (g.dx[i] * g.dx[i]) + 1 / (g.dy[j] * g.dy[j]));
            if (rate > 0) limit = std::min(limit, 1 / rate);
        }
    return limit;
}

StepReport StaggeredSolver::step(double dt) {
    const MacGrid& g = grid_;
    MomentumTendency(g, settings_.nu, u_, v_, hu_, hv_);
    // Adams-Bashforth of second order for a step that may differ from the last.
    const double ratio = dtBefore_ > 0 ? dt / dtBefore_ : 0;
    const double now = 1 + 0.5 * ratio, before = -0.5 * ratio;
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 2; i <= g.nx; ++i)
            if (UFaceMoves(g, i, j)) u_(i, j) += dt * (now * hu_(i, j) + before * huBefore_(i, j));
    for (int j = 2; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i)
            if (VFaceMoves(g, i, j)) v_(i, j) += dt * (now * hv_(i, j) + before * hvBefore_(i, j));
    for (int j = 1; j <= g.ny; ++j)
        u_(g.nx + 1, j) = g.isFluid(g.nx, j) ? u_(g.nx, j) : 0.0;
    std::swap(hu_, huBefore_);
    std::swap(hv_, hvBefore_);
    dtBefore_ = dt;
    projection_->project(u_, v_, p_, dt);
    FillGhosts(g, settings_.walls, u_, v_);
    return {1, projection_->relativeDivergence(u_, v_)};
}

void StaggeredSolver::writeCellValues(SimulationState& m) const {
    const MacGrid& g = grid_;
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i) {
            const bool fluid = g.isFluid(i, j);
            m.U(i, j) = fluid ? 0.5 * (u_(i, j) + u_(i + 1, j)) : 0.0;
            m.V(i, j) = fluid ? 0.5 * (v_(i, j) + v_(i, j + 1)) : 0.0;
            m.P(i, j) = p_(i, j);
        }
}

} // namespace kestrel::staggered
