#include "flow_account.h"

#include "stability.h"

#include <cmath>

namespace kestrel {

namespace {

// Rows 3..ny-2 holding a painted cell in columns 3..nx-2, as the forces count them.
std::optional<double> paintedHeight(const SimulationState& m, const std::vector<double>& rows) {
    const bool cells = m.method.method == Method::Staggered;
    if (!m.cellKind.exists()) return std::nullopt;
    double height = 0;
    bool any = false;
    for (int j = 3; j <= m.ny - 2; ++j)
        for (int i = 3; i <= m.nx - 2; ++i)
            if (m.cellKind.inRange(i, j) && m.cellKind(i, j) == 0) {
                // The classic method's node spacing at node j (half of the
                // cells either side); the second method's cell height.
                const double own = rows[static_cast<std::size_t>(j - 1)];
                height += cells ? own : (rows[static_cast<std::size_t>(j - 2)] + own) / 2;
                any = true;
                break;
            }
    if (!any) return std::nullopt;
    return height;
}

std::optional<double> finite(double v) {
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

double spanY(const SimulationState& m, int j) {
    return (m.yNode(j + 1) - m.yNode(j - 1)) / 2;
}

} // namespace

FlowAccount AccountOfParameters(const SimulationState& m) {
    FlowAccount a;
    a.evenNx = m.method.method == Method::Classic && m.nx % 2 == 0;
    const bool equal = m.meshMode != 0;
    const auto columns = CellWidths(equal, m.meshSizeX, m.coordListX, m.nx);
    const auto rows = CellWidths(equal, m.meshSizeY, m.coordListY, m.ny);
    if (!columns || !rows) return a;
    if (const auto height = paintedHeight(m, *rows)) {
        a.length = height;
        a.ofObstacle = true;
    } else {
        double channel = 0;
        for (double h : *rows)
            channel += h;
        a.length = channel;
    }
    a.reynolds = finite(m.reynolds * *a.length);
    a.peclet = finite(1 * columns->front() * m.reynolds);
    return a;
}

void UpdateFlowHealth(const SimulationState& m, FlowHealth& health) {
    double sum = 0;
    long long count = 0;
    for (int j = 2; j <= m.ny - 1; ++j) {
        const Integer* kinds = m.cellKind.row(j);
        const double* p = m.P.row(j);
        for (int i = 2; i <= m.nx - 1; ++i)
            if (kinds[i] != 0) {
                sum += p[i];
                ++count;
            }
    }
    const double mean = count > 0 ? sum / static_cast<double>(count) : 0;
    // The second method fixes the pressure at the outflow: its level cannot drift.
    const bool classic = m.method.method == Method::Classic;
    health.pressureRises = classic && mean > health.meanPressure ? health.pressureRises + 1 : 0;
    health.meanPressure = mean;
    double in = 0, out = 0;
    if (classic)
        for (int j = 2; j <= m.ny - 1; ++j) {
            in += m.U(2, j) * spanY(m, j);
            out += m.U(m.nx - 1, j) * spanY(m, j);
        }
    else // every row between the walls, each its cell's height
        for (int j = 1; j <= m.ny; ++j) {
            in += m.U(1, j) * (m.yNode(j + 1) - m.yNode(j));
            out += m.U(m.nx, j) * (m.yNode(j + 1) - m.yNode(j));
        }
    health.outflowRatio = in != 0 ? std::optional(out / in) : std::nullopt;
}

} // namespace kestrel
