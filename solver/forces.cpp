#include "forces.h"

namespace kestrel {

namespace {

// The counted region of the mesh.
struct Region {
    int firstI, lastI, firstJ, lastJ;
    bool holds(int i, int j) const {
        return i >= firstI && i <= lastI && j >= firstJ && j <= lastJ;
    }
};

Region countedRegion(const SimulationState& m) {
    return {3, m.nx - 2, 3, m.ny - 2};
}

bool painted(const SimulationState& m, int i, int j) {
    return m.cellKind(i, j) == 0;
}

double spanY(const SimulationState& m, int j) {
    return (m.yNode(j + 1) - m.yNode(j - 1)) / 2;
}

double spanX(const SimulationState& m, int i) {
    return (m.xNode(i + 1) - m.xNode(i - 1)) / 2;
}

} // namespace

std::optional<double> ObstacleHeight(const SimulationState& m) {
    if (!m.cellKind.exists() || !m.xNode.exists()) return std::nullopt;
    const Region r = countedRegion(m);
    double height = 0;
    bool any = false;
    for (int j = r.firstJ; j <= r.lastJ; ++j)
        for (int i = r.firstI; i <= r.lastI; ++i)
            if (painted(m, i, j)) {
                // The second method's cells are the rows themselves.
                height += m.method.method == Method::Staggered ? m.yNode(j + 1) - m.yNode(j)
                                                               : spanY(m, j);
                any = true;
                break;
            }
    if (!any) return std::nullopt;
    return height;
}

double ReferenceLength(const SimulationState& m) {
    if (const auto height = ObstacleHeight(m)) return *height;
    return m.yNode.exists() ? m.yNode(m.ny + 1) - m.yNode(1) : 0;
}

// Called after every step: one pass over the counted region, the height
// summed on the way, each row's cells read through its own pointer.
std::optional<ForceRecord> ForcesOnObstacle(const SimulationState& m) {
    if (!m.cellKind.exists() || !m.xNode.exists() || !m.P.exists()) return std::nullopt;
    const Region r = countedRegion(m);
    const double nu = 1 / m.reynolds;
    double fx = 0, fy = 0, fxPressure = 0, fxFriction = 0, height = 0;
    bool any = false;
    const auto fluid = [&](int i, int j) { return r.holds(i, j) && !painted(m, i, j); };
    for (int j = r.firstJ; j <= r.lastJ; ++j) {
        const Integer* kinds = m.cellKind.row(j);
        bool counted = false;
        for (int i = r.firstI; i <= r.lastI; ++i) {
            if (kinds[i] != 0) continue;
            counted = true;
            if (fluid(i - 1, j)) {
                const double pressure = m.P(i - 1, j) * spanY(m, j);
                fx += pressure;
                fxPressure += pressure;
                fy += nu * m.V(i - 1, j) / (m.xNode(i) - m.xNode(i - 1)) * spanY(m, j);
            }
            if (fluid(i + 1, j)) {
                const double pressure = m.P(i + 1, j) * spanY(m, j);
                fx -= pressure;
                fxPressure -= pressure;
                fy += nu * m.V(i + 1, j) / (m.xNode(i + 1) - m.xNode(i)) * spanY(m, j);
            }
            if (fluid(i, j - 1)) {
                fy += m.P(i, j - 1) * spanX(m, i);
                const double shear =
                    nu * m.U(i, j - 1) / (m.yNode(j) - m.yNode(j - 1)) * spanX(m, i);
                fx += shear;
                fxFriction += shear;
            }
            if (fluid(i, j + 1)) {
                fy -= m.P(i, j + 1) * spanX(m, i);
                const double shear =
                    nu * m.U(i, j + 1) / (m.yNode(j + 1) - m.yNode(j)) * spanX(m, i);
                fx += shear;
                fxFriction += shear;
            }
        }
        if (counted) height += spanY(m, j);
        any = any || counted;
    }
    if (!any) return std::nullopt;
    const double half = height / 2;
    return ForceRecord{0, fx / half, fy / half, fxPressure / half, fxFriction / half};
}

} // namespace kestrel
