#include "literal_solver.h"

#include "solver/solver_steps.h"

#include <cmath>
#include <limits>
#include <vector>

namespace kestrel::literal {

namespace {
double up(double w, double a, double b, double c) {
    return w * (a - c) / 2 - std::fabs(w) * (a - 2 * b + c) / 2;
}
} // namespace

void ComputeProvisionalVelocity(SimulationState& m) {
    auto& U = m.U;
    auto& V = m.V;
    const double rRe = 1 / m.reynolds;
    for (int j = 3; j <= m.ny - 2; ++j)
        for (int i = 3; i <= m.nx - 2; ++i) {
            const double cux = up(U(i, j), U(i + 1, j), U(i, j), U(i - 1, j));
            const double cuy = up(V(i, j), U(i, j + 1), U(i, j), U(i, j - 1));
            const double cvx = up(U(i, j), V(i + 1, j), V(i, j), V(i - 1, j));
            const double cvy = up(V(i, j), V(i, j + 1), V(i, j), V(i, j - 1));
            const double lu = (U(i + 1, j) - 2 * U(i, j) + U(i - 1, j)) * m.facX2(i) +
                              (U(i, j + 1) - 2 * U(i, j) + U(i, j - 1)) * m.facY2(j) -
                              (U(i + 1, j) - U(i - 1, j)) * 0.5 * m.facX3(i) -
                              (U(i, j + 1) - U(i, j - 1)) * 0.5 * m.facY3(j);
            const double lv = (V(i + 1, j) - 2 * V(i, j) + V(i - 1, j)) * m.facX2(i) +
                              (V(i, j + 1) - 2 * V(i, j) + V(i, j - 1)) * m.facY2(j) -
                              (V(i + 1, j) - V(i - 1, j)) * 0.5 * m.facX3(i) -
                              (V(i, j + 1) - V(i, j - 1)) * 0.5 * m.facY3(j);
            m.work2(i, j) = U(i, j) + m.dt * (-(cux * m.facX1(i) + cuy * m.facY1(j)) + rRe * lu);
            m.work3(i, j) = V(i, j) + m.dt * (-(cvx * m.facX1(i) + cvy * m.facY1(j)) + rRe * lv);
        }
    for (int j = 3; j <= m.ny - 2; ++j)
        for (int i = 3; i <= m.nx - 2; ++i) {
            U(i, j) = m.cellKind(i, j) * m.work2(i, j);
            V(i, j) = m.cellKind(i, j) * m.work3(i, j);
        }
}

void PreparePressureEquation(SimulationState& m) {
    for (int j = 2; j <= m.ny - 1; ++j)
        for (int i = 2; i <= m.nx - 1; ++i) {
            const double dx = (m.U(i + 1, j) - m.U(i - 1, j)) * 0.5 * m.facX1(i);
            const double dy = (m.V(i, j + 1) - m.V(i, j - 1)) * 0.5 * m.facY1(j);
            m.work1(i, j) = (dx + dy) / m.dt;
        }
    for (int j = 2; j <= m.ny - 1; ++j)
        for (int i = 2; i <= m.nx - 1; ++i)
            m.work2(i, j) = 0.5 / (m.facX2(i) + m.facY2(j));
}

void SetObstaclePressure(SimulationState& m) {
    auto& P = m.P;
    auto& A = m.bcMapA;
    for (int j = 2; j <= m.ny - 1; ++j)
        for (int i = 2; i <= m.nx - 1; ++i)
            m.work3(i, j) = A(i - 1, j) * P(i - 1, j) + A(i + 1, j) * P(i + 1, j) +
                            A(i, j + 1) * P(i, j + 1) + A(i, j - 1) * P(i, j - 1);
    for (int j = 2; j <= m.ny - 1; ++j)
        for (int i = 2; i <= m.nx - 1; ++i)
            P(i, j) = (1 - m.cellKind(i, j)) * m.work3(i, j) * m.bcMapB(i, j) / 12.0 +
                      m.cellKind(i, j) * P(i, j);
}

void SetPressureBoundary(SimulationState& m) {
    auto& P = m.P;
    for (int j = 1; j <= m.ny; ++j) {
        P(2, j) = P(3, j);
        P(m.nx - 1, j) = P(m.nx - 2, j);
    }
    for (int i = 1; i <= m.nx; ++i) {
        P(i, 2) = P(i, 3);
        P(i, m.ny - 1) = P(i, m.ny - 2);
    }
}

double SweepPressure(SimulationState& m) {
    auto& P = m.P;
    std::vector<double> change(m.nx + 1); // one row's corrections
    double err = 0;
    for (int j = 3; j <= m.ny - 2; ++j) {
        for (int i = 3; i <= m.nx - 2; ++i)
            change[i] = (m.facY4(j) * P(i, j + 1) + m.facX4(i) * P(i + 1, j) +
                         m.facX5(i) * P(i - 1, j) + m.facY5(j) * P(i, j - 1) - m.work1(i, j)) *
                            m.work2(i, j) -
                        P(i, j);
        for (int i = 3; i <= m.nx - 2; ++i)
            err = err + change[i] * change[i] * m.cellKind(i, j);
        for (int i = 3; i <= m.nx - 2; ++i)
            P(i, j) = m.cellKind(i, j) * P(i, j) + change[i];
    }
    return err;
}

void CorrectVelocity(SimulationState& m) {
    for (int j = 3; j <= m.ny - 2; ++j)
        for (int i = 3; i <= m.nx - 2; ++i) {
            m.work2(i, j) = m.U(i, j) - m.dt * (m.P(i + 1, j) - m.P(i - 1, j)) * 0.5 * m.facX1(i);
            m.work1(i, j) = m.V(i, j) - m.dt * (m.P(i, j + 1) - m.P(i, j - 1)) * 0.5 * m.facY1(j);
        }
    for (int j = 3; j <= m.ny - 2; ++j)
        for (int i = 3; i <= m.nx - 2; ++i) {
            m.U(i, j) = m.cellKind(i, j) * m.work2(i, j);
            m.V(i, j) = m.cellKind(i, j) * m.work1(i, j);
        }
}

StepReport AdvanceTimeStep(SimulationState& m) {
    kestrel::SetVelocityBoundary(m); // already a plain copy loop
    literal::ComputeProvisionalVelocity(m);
    literal::PreparePressureEquation(m);
    StepReport report{0, std::numeric_limits<double>::quiet_NaN()};
    for (int k = 1; k <= m.maxIter; ++k) {
        literal::SetObstaclePressure(m);
        literal::SetPressureBoundary(m);
        const double e = literal::SweepPressure(m);
        report = {k, e};
        if (e <= kPressureTolerance) break;
    }
    literal::CorrectVelocity(m);
    return report;
}

} // namespace kestrel::literal
