#include "solver_steps.h"

namespace kestrel {

void PreparePressureEquation(Module1& m) {
    for (int j = 2; j <= m.ny - 1; ++j) {
        const double* __restrict u = m.U.row(j);
        const double* __restrict vm = m.V.row(j - 1);
        const double* __restrict vp = m.V.row(j + 1);
        const double* __restrict fx1 = m.facX1.data();
        const double fy1 = m.facY1(j);
        const double dt = m.dt;
        double* __restrict rhs = m.work1.row(j);
        for (int i = 2; i <= m.nx - 1; ++i) {
            const double dx = (u[i + 1] - u[i - 1]) * 0.5 * fx1[i];
            const double dy = (vp[i] - vm[i]) * 0.5 * fy1;
            rhs[i] = (dx + dy) / dt;
        }
    }
    for (int j = 2; j <= m.ny - 1; ++j) {
        const double* __restrict fx2 = m.facX2.data();
        const double fy2 = m.facY2(j);
        double* __restrict centre = m.work2.row(j);
        for (int i = 2; i <= m.nx - 1; ++i)
            centre[i] = 0.5 / (fx2[i] + fy2);
    }
}

PressureSolver::PressureSolver(Module1& m)
    : m_(m),
      fluid_(static_cast<std::size_t>(m.P.upper2() + 1) * static_cast<std::size_t>(m.P.stride())) {
    const std::size_t stride = static_cast<std::size_t>(m.P.stride());
    for (int j = 2; j <= m.ny - 1; ++j) {
        for (int i = 2; i <= m.nx - 1; ++i) {
            const std::size_t at =
                static_cast<std::size_t>(j) * stride + static_cast<std::size_t>(i);
            const Integer kind = m.cellKind(i, j);
            fluid_[at] = kind;
            if (kind == 1) continue;
            // Neighbours in the order the sum is taken: i - 1, i + 1, j + 1, j - 1.
            SolidPoint solid{at, {}, 0, static_cast<double>(m.bcMapB(i, j))};
            const int di[4] = {-1, 1, 0, 0};
            const int dj[4] = {0, 0, 1, -1};
            for (int n = 0; n < 4; ++n)
                if (m.bcMapA(i + di[n], j + dj[n]) != 0)
                    solid.neighbour[solid.count++] = static_cast<std::size_t>(j + dj[n]) * stride +
                                                     static_cast<std::size_t>(i + di[n]);
            solids_.push_back(solid);
        }
    }
}

// Only non-fluid points change: each takes the mean of its marked fluid
// neighbours, which are never themselves changed here.
void PressureSolver::setObstaclePressure() {
    double* p = m_.P.row(0);
    for (const SolidPoint& s : solids_) {
        double sum = 0;
        for (int n = 0; n < s.count; ++n)
            sum = sum + p[s.neighbour[n]];
        p[s.at] = sum * s.weight / 12;
    }
}

void PressureSolver::setPressureBoundary() {
    Array2<double>& P = m_.P;
    const int nx = m_.nx;
    const int ny = m_.ny;
    for (int j = 1; j <= ny; ++j) {
        P(2, j) = P(3, j);
        P(nx - 1, j) = P(nx - 2, j);
    }
    double* bottom = P.row(2);
    const double* bottomInner = P.row(3);
    double* top = P.row(ny - 1);
    const double* topInner = P.row(ny - 2);
    for (int i = 1; i <= nx; ++i) {
        bottom[i] = bottomInner[i];
        top[i] = topInner[i];
    }
}

namespace {

void correctionsOfRow(int first, int last, const double* __restrict below,
                      const double* __restrict row, const double* __restrict above,
                      const double* __restrict fx4, const double* __restrict fx5, double fy4,
                      double fy5, const double* __restrict rhs, const double* __restrict centre,
                      double* __restrict correction) {
    for (int i = first; i <= last; ++i)
        correction[i] =
            (fy4 * above[i] + fx4[i] * row[i + 1] + fx5[i] * row[i - 1] + fy5 * below[i] - rhs[i]) *
                centre[i] -
            row[i];
}

void applyRow(int first, int last, const double* __restrict fluid,
              const double* __restrict correction, double* __restrict row) {
    for (int i = first; i <= last; ++i)
        row[i] = fluid[i] * row[i] + correction[i];
}

} // namespace

double PressureSolver::sweep(double stopAbove) {
    const int first = 3;
    const int last = m_.nx - 2;
    const std::size_t stride = static_cast<std::size_t>(m_.P.stride());
    double* correction = m_.work4.data();
    double err = 0;
    bool summing = true;
    for (int j = 3; j <= m_.ny - 2; ++j) {
        double* row = m_.P.row(j);
        const double* fluid = fluid_.data() + static_cast<std::size_t>(j) * stride;
        correctionsOfRow(first, last, m_.P.row(j - 1), row, m_.P.row(j + 1), m_.facX4.data(),
                         m_.facX5.data(), m_.facY4(j), m_.facY5(j), m_.work1.row(j),
                         m_.work2.row(j), correction);
        if (summing) {
            for (int i = first; i <= last; ++i)
                err = err + correction[i] * correction[i] * fluid[i];
            summing = !(err > stopAbove);
        }
        applyRow(first, last, fluid, correction, row);
    }
    return err;
}

void SetObstaclePressure(Module1& m) {
    PressureSolver(m).setObstaclePressure();
}
void SetPressureBoundary(Module1& m) {
    PressureSolver(m).setPressureBoundary();
}
double SweepPressure(Module1& m) {
    return PressureSolver(m).sweep();
}

} // namespace kestrel
