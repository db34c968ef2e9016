#include "pressure_projection.h"

#include "runtime/failure.h"

#include <Eigen/CholmodSupport>
#include <Eigen/SparseCore>
#include <cmath>

namespace kestrel::staggered {

struct PressureProjection::Factor {
    // CHOLMOD's simplicial LDLᵀ with its own fill-reducing ordering: no
    // BLAS in the solve, so every machine gives the same bits.
    Eigen::CholmodSimplicialLDLT<Eigen::SparseMatrix<double>> ldlt;
    Eigen::VectorXd rhs, solution;
};

PressureProjection::~PressureProjection() = default;

PressureProjection::PressureProjection(const MacGrid& g)
    : g_(g), factor_(std::make_unique<Factor>()) {
    unknown_.assign((g.nx + 2) * (g.ny + 2), -1);
    int count = 0;
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i)
            if (g.isFluid(i, j)) unknown_[j * (g.nx + 2) + i] = count++;
    std::vector<Eigen::Triplet<double>> entries;
    entries.reserve(static_cast<std::size_t>(count) * 5);
    const auto id = [&](int i, int j) { return unknown_[j * (g.nx + 2) + i]; };
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i) {
            if (!g.isFluid(i, j)) continue;
            double diagonal = 0;
            const auto open = [&](int a, int b, double coefficient) {
                if (!g.isFluid(a, b)) return;
                entries.emplace_back(id(i, j), id(a, b), -coefficient);
                diagonal += coefficient;
            };
            if (i < g.nx)
                open(i + 1, j, g.dy[j] / MacGrid::between(g.dx, i));
            else
                diagonal += g.dy[j] / (0.5 * g.dx[i]); // the outflow face, where p = 0
            if (i > 1) open(i - 1, j, g.dy[j] / MacGrid::between(g.dx, i - 1));
            if (j < g.ny) open(i, j + 1, g.dx[i] / MacGrid::between(g.dy, j));
            if (j > 1) open(i, j - 1, g.dx[i] / MacGrid::between(g.dy, j - 1));
            entries.emplace_back(id(i, j), id(i, j), diagonal);
        }
    Eigen::SparseMatrix<double> matrix(count, count);
    matrix.setFromTriplets(entries.begin(), entries.end());
    factor_->ldlt.compute(matrix);
    if (factor_->ldlt.info() != Eigen::Success) ThrowOutOfMemory();
    factor_->rhs.resize(count);
    inflowFlux_ = 0;
    for (int j = 1; j <= g.ny; ++j)
        inflowFlux_ += g.dy[j];
}

double PressureProjection::netOutflow(const FaceField& u, const FaceField& v, int i, int j) const {
    return (u(i + 1, j) - u(i, j)) * g_.dy[j] + (v(i, j + 1) - v(i, j)) * g_.dx[i];
}

void PressureProjection::project(FaceField& u, FaceField& v, FaceField& p, double dt) {
    const MacGrid& g = g_;
    const auto id = [&](int i, int j) { return unknown_[j * (g.nx + 2) + i]; };
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i)
            if (g.isFluid(i, j)) factor_->rhs[id(i, j)] = -netOutflow(u, v, i, j) / dt;
    const Eigen::VectorXd& solution = factor_->solution = factor_->ldlt.solve(factor_->rhs);
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i)
            p(i, j) = g.isFluid(i, j) ? solution[id(i, j)] : 0.0;
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i) {
            if (!g.isFluid(i, j)) continue;
            if (i < g.nx && g.isFluid(i + 1, j))
                u(i + 1, j) -= dt * (p(i + 1, j) - p(i, j)) / MacGrid::between(g.dx, i);
            if (i == g.nx) u(i + 1, j) -= dt * (0 - p(i, j)) / (0.5 * g.dx[i]);
            if (j < g.ny && g.isFluid(i, j + 1))
                v(i, j + 1) -= dt * (p(i, j + 1) - p(i, j)) / MacGrid::between(g.dy, j);
        }
}

double PressureProjection::relativeDivergence(const FaceField& u, const FaceField& v) const {
    double largest = 0;
    for (int j = 1; j <= g_.ny; ++j)
        for (int i = 1; i <= g_.nx; ++i)
            if (g_.isFluid(i, j)) largest = std::max(largest, std::abs(netOutflow(u, v, i, j)));
    return largest / inflowFlux_;
}

} // namespace kestrel::staggered
