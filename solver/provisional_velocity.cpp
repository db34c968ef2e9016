#include "mask_row.h"
#include "solver_steps.h"
#include "two_threads.h"

#include <cmath>
#include <thread>

namespace kestrel {

namespace {

// Upwind difference written as a central difference plus numerical
// diffusion; the case split it equals is not bit-identical, so keep this form.
inline double upwind(double w, double a, double b, double c) {
    return w * (a - c) / 2 - std::fabs(w) * ((a - 2 * b) + c) / 2;
}

// Both equations for one row; all reads are of the field as the step began.
void provisionalRow(int first, int last, const double* __restrict um, const double* __restrict u0,
                    const double* __restrict up, const double* __restrict vm,
                    const double* __restrict v0, const double* __restrict vp,
                    const double* __restrict fx1, const double* __restrict fx2,
                    const double* __restrict fx3, double fy1, double fy2, double fy3, double dt,
                    double rRe, double* __restrict outU, double* __restrict outV) {
    for (int i = first; i <= last; ++i) {
        const double u = u0[i];
        const double v = v0[i];
        const double cux = upwind(u, u0[i + 1], u, u0[i - 1]);
        const double cuy = upwind(v, up[i], u, um[i]);
        const double cvx = upwind(u, v0[i + 1], v, v0[i - 1]);
        const double cvy = upwind(v, vp[i], v, vm[i]);
        const double lu = ((u0[i + 1] - 2 * u) + u0[i - 1]) * fx2[i] +
                          ((up[i] - 2 * u) + um[i]) * fy2 - (u0[i + 1] - u0[i - 1]) * 0.5 * fx3[i] -
                          (up[i] - um[i]) * 0.5 * fy3;
        const double lv = ((v0[i + 1] - 2 * v) + v0[i - 1]) * fx2[i] +
                          ((vp[i] - 2 * v) + vm[i]) * fy2 - (v0[i + 1] - v0[i - 1]) * 0.5 * fx3[i] -
                          (vp[i] - vm[i]) * 0.5 * fy3;
        outU[i] = u + dt * (-(cux * fx1[i] + cuy * fy1) + rRe * lu);
        outV[i] = v + dt * (-(cvx * fx1[i] + cvy * fy1) + rRe * lv);
    }
}

} // namespace

void ComputeProvisionalVelocity(SimulationState& m, const SolverOptions& options) {
    const std::function<void()>& between = options.betweenPhases;
    const double rRe = 1 / m.reynolds;
    const int first = 3;
    const int lastI = m.nx - 2;
    const int firstRow = 3;
    const int lastRow = m.ny - 2;
    Array2<double>& provisionalU = m.work2;
    Array2<double>& provisionalV = m.work3;
    const auto provisional = [&](int j) {
        provisionalRow(first, lastI, m.U.row(j - 1), m.U.row(j), m.U.row(j + 1), m.V.row(j - 1),
                       m.V.row(j), m.V.row(j + 1), m.facX1.data(), m.facX2.data(), m.facX3.data(),
                       m.facY1(j), m.facY2(j), m.facY3(j), m.dt, rRe, provisionalU.row(j),
                       provisionalV.row(j));
    };
    const auto mask = [&](int j) {
        maskRow(first, lastI, m.cellKind.row(j), provisionalU.row(j), provisionalV.row(j),
                m.U.row(j), m.V.row(j));
    };
    // Row j takes its new values once rows j - 1 .. j + 1, which read it, are
    // done: right after row j + 1, while the rows are still in the cache. A
    // row next to the other half's waits until both halves are done.
    const std::thread::id caller = std::this_thread::get_id();
    const int upperFirst = ForRowHalves(m, options, firstRow, lastRow, [&](int from, int to) {
        const auto own = [&](int j) {
            return (j == firstRow || j - 1 >= from) && (j == lastRow || j + 1 <= to);
        };
        const bool onCaller = between && std::this_thread::get_id() == caller;
        for (int j = from; j <= to; ++j) {
            provisional(j);
            if (j > from && own(j - 1)) mask(j - 1);
            if (onCaller) between();
        }
        if (own(to)) mask(to);
    });
    if (upperFirst <= lastRow) {
        mask(upperFirst - 1);
        mask(upperFirst);
    }
}

} // namespace kestrel
