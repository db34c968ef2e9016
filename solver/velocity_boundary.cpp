#include "solver_steps.h"

namespace kestrel {

// Walls at rows 2 and ny - 1 with their ghost rows, then the outflow columns;
// the outflow loop runs last, so it owns the corners.
void SetVelocityBoundary(SimulationState& m) {
    Array2<double>& U = m.U;
    Array2<double>& V = m.V;
    const int nx = m.nx;
    const int ny = m.ny;
    for (int i = 1; i <= nx; ++i) {
        U(i, ny) = U(i, ny - 2);
        V(i, ny) = -V(i, ny - 2);
        U(i, ny - 1) = U(i, ny - 2);
        V(i, ny - 1) = 0;
        U(i, 1) = U(i, 3);
        V(i, 1) = -V(i, 3);
        U(i, 2) = U(i, 3);
        V(i, 2) = 0;
    }
    for (int j = 1; j <= ny; ++j) {
        U(nx, j) = U(nx - 2, j);
        V(nx, j) = V(nx - 2, j);
        U(nx - 1, j) = U(nx - 2, j);
        V(nx - 1, j) = V(nx - 2, j);
    }
}

} // namespace kestrel
