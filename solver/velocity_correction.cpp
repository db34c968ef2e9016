#include "mask_row.h"
#include "solver_steps.h"
#include "two_threads.h"

namespace kestrel {

namespace {

void correctRow(SimulationState& m, int j) {
    const double dt = m.dt;
    const double* __restrict fx1 = m.facX1.data();
    const double* __restrict u = m.U.row(j);
    const double* __restrict v = m.V.row(j);
    const double* __restrict p = m.P.row(j);
    const double* __restrict pm = m.P.row(j - 1);
    const double* __restrict pp = m.P.row(j + 1);
    const double fy1 = m.facY1(j);
    double* __restrict newU = m.work2.row(j);
    double* __restrict newV = m.work1.row(j);
    for (int i = 3; i <= m.nx - 2; ++i) {
        newU[i] = u[i] - dt * (p[i + 1] - p[i - 1]) * 0.5 * fx1[i];
        newV[i] = v[i] - dt * (pp[i] - pm[i]) * 0.5 * fy1;
    }
}

} // namespace

void CorrectVelocity(SimulationState& m, const SolverOptions& options) {
    ForRowHalves(m, options, 3, m.ny - 2, [&m](int from, int to) {
        for (int j = from; j <= to; ++j) {
            correctRow(m, j);
            // Only row j reads U and V of row j, so it takes its values at
            // once, while they are in the cache.
            maskRow(3, m.nx - 2, m.cellKind.row(j), m.work2.row(j) /* new U */,
                    m.work1.row(j) /* new V */, m.U.row(j), m.V.row(j));
        }
    });
}

} // namespace kestrel
