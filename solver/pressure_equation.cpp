#include "pressure_solver.h"
#include "solver_steps.h"
#include "two_threads.h"

namespace kestrel {

namespace {

void prepareRow(SimulationState& m, int j) {
    const double* __restrict u = m.U.row(j);
    const double* __restrict vm = m.V.row(j - 1);
    const double* __restrict vp = m.V.row(j + 1);
    const double* __restrict fx1 = m.facX1.data();
    const double* __restrict fx2 = m.facX2.data();
    const double fy1 = m.facY1(j);
    const double fy2 = m.facY2(j);
    const double dt = m.dt;
    double* __restrict rhs = m.work1.row(j);
    double* __restrict centre = m.work2.row(j);
    for (int i = 2; i <= m.nx - 1; ++i) {
        const double dx = (u[i + 1] - u[i - 1]) * 0.5 * fx1[i];
        const double dy = (vp[i] - vm[i]) * 0.5 * fy1;
        rhs[i] = (dx + dy) / dt;
    }
    for (int i = 2; i <= m.nx - 1; ++i)
        centre[i] = 0.5 / (fx2[i] + fy2);
}

} // namespace

// Each row reads only U and V, which do not change here.
void PreparePressureEquation(SimulationState& m, const SolverOptions& options) {
    ForRowHalves(m, options, 2, m.ny - 1, [&m](int from, int to) {
        for (int j = from; j <= to; ++j)
            prepareRow(m, j);
    });
}

void SetObstaclePressure(SimulationState& m) {
    PressureSolver(m).setObstaclePressure();
}
void SetPressureBoundary(SimulationState& m) {
    PressureSolver(m).setPressureBoundary();
}
double SweepPressure(SimulationState& m) {
    return PressureSolver(m).sweep(true);
}

} // namespace kestrel
