#include "body_forces.h"

namespace kestrel::staggered {

std::optional<ForceRecord> ForcesOnBody(const MacGrid& g, double nu, const SimulationState& m) {
    double fx = 0, fy = 0, fxPressure = 0, fxFriction = 0, height = 0;
    for (int j = 3; j <= g.ny - 2; ++j) {
        bool rowCounts = false;
        for (int i = 3; i <= g.nx - 2; ++i) {
            if (!g.isSolid(i, j)) continue;
            rowCounts = true;
            if (g.isFluid(i - 1, j)) {
                fx += m.P(i - 1, j) * g.dy[j];
                fxPressure += m.P(i - 1, j) * g.dy[j];
                fy += nu * m.V(i - 1, j) / (0.5 * g.dx[i - 1]) * g.dy[j];
            }
            if (g.isFluid(i + 1, j)) {
                fx -= m.P(i + 1, j) * g.dy[j];
                fxPressure -= m.P(i + 1, j) * g.dy[j];
                fy += nu * m.V(i + 1, j) / (0.5 * g.dx[i + 1]) * g.dy[j];
            }
            if (g.isFluid(i, j - 1)) {
                fy += m.P(i, j - 1) * g.dx[i];
                const double shear = nu * m.U(i, j - 1) / (0.5 * g.dy[j - 1]) * g.dx[i];
                fx += shear;
                fxFriction += shear;
            }
            if (g.isFluid(i, j + 1)) {
                fy -= m.P(i, j + 1) * g.dx[i];
                const double shear = nu * m.U(i, j + 1) / (0.5 * g.dy[j + 1]) * g.dx[i];
                fx += shear;
                fxFriction += shear;
            }
        }
        if (rowCounts) height += g.dy[j];
    }
    if (height == 0) return std::nullopt;
    const double half = height / 2;
    return ForceRecord{0, fx / half, fy / half, fxPressure / half, fxFriction / half};
}

} // namespace kestrel::staggered
