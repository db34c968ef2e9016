#include "probe.h"

#include "runtime/number_text.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

// The cell whose nodes enclose a position (the upper node belongs to the
// next cell); nodes may run either way, as a negative mesh size mirrors them.
std::optional<int> cellAlong(const Array1<double>& nodes, int cells, double position) {
    if (!nodes.exists() || nodes.upper() < cells + 1) return std::nullopt;
    for (int c = 1; c <= cells; ++c) {
        const double low = std::min(nodes(c), nodes(c + 1));
        const double high = std::max(nodes(c), nodes(c + 1));
        if (position >= low && position < high) return c;
    }
    return std::nullopt;
}

bool covers(const Array2<double>& a, int i, int j) {
    return a.inRange(i, j);
}

} // namespace

std::optional<ProbedCell> ResultCellAt(const SimulationState& m, double x, double y) {
    const auto i = cellAlong(m.xNode, m.nx, x);
    const auto j = cellAlong(m.yNode, m.ny, y);
    if (!i || !j || !covers(m.U, *i, *j) || !covers(m.V, *i, *j) || !covers(m.P, *i, *j))
        return std::nullopt;
    ProbedCell cell;
    cell.i = *i;
    cell.j = *j;
    cell.x = 0.5 * (m.xNode(*i) + m.xNode(*i + 1));
    cell.y = 0.5 * (m.yNode(*j) + m.yNode(*j + 1));
    cell.u = m.U(*i, *j);
    cell.v = m.V(*i, *j);
    cell.p = m.P(*i, *j);
    cell.speed = std::sqrt(cell.u * cell.u + cell.v * cell.v);
    cell.border = *i == 1 || *j == 1 || *i == m.nx || *j == m.ny;
    return cell;
}

std::string ProbeText(const ProbedCell& c) {
    const auto n = [](double v) { return SignificantNumber(v, 5); };
    return "i " + std::to_string(c.i) + "  j " + std::to_string(c.j) + "  x " + n(c.x) + "  y " +
           n(c.y) + "  U " + n(c.u) + "  V " + n(c.v) + "  P " + n(c.p) + "  速度 " + n(c.speed) +
           (c.border ? "  (境界)" : "");
}

} // namespace kestrel
