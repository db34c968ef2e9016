#include "mac_grid.h"

#include <deque>

namespace kestrel::staggered {

namespace {

std::vector<double> widths(const std::vector<double>& nodes, int cells) {
    std::vector<double> w(cells + 2, 0.0);
    for (int k = 1; k <= cells; ++k)
        w[k] = nodes[k + 1] - nodes[k];
    return w;
}

std::vector<double> nodesOf(const Array1<double>& list, int count) {
    std::vector<double> nodes(count + 2, 0.0);
    for (int k = 1; k <= count + 1; ++k)
        nodes[k] = list(k);
    return nodes;
}

// Fluid cells that no path of fluid faces joins to the outflow column.
int cutOffCells(const MacGrid& g) {
    std::vector<char> reached((g.nx + 2) * (g.ny + 2), 0);
    std::deque<std::pair<int, int>> queue;
    for (int j = 1; j <= g.ny; ++j)
        if (g.isFluid(g.nx, j)) {
            reached[j * (g.nx + 2) + g.nx] = 1;
            queue.emplace_back(g.nx, j);
        }
    while (!queue.empty()) {
        const auto [i, j] = queue.front();
        queue.pop_front();
        for (const auto& [a, b] : {std::pair{i + 1, j}, {i - 1, j}, {i, j + 1}, {i, j - 1}}) {
            if (!g.isFluid(a, b) || reached[b * (g.nx + 2) + a]) continue;
            reached[b * (g.nx + 2) + a] = 1;
            queue.emplace_back(a, b);
        }
    }
    int cut = 0;
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i)
            cut += g.isFluid(i, j) && !reached[j * (g.nx + 2) + i];
    return cut;
}

// A face between cells a and b: a mirror beyond the walls (or the inflow
// and outflow, for V), held on the domain's edge, moving between two fluid
// cells, a mirror inside a body, held on a body's side.
FaceKind kindOf(const MacGrid& g, bool beyond, bool edge, std::pair<int, int> a,
                std::pair<int, int> b) {
    if (beyond) return FaceKind::Mirror;
    if (edge) return FaceKind::Held;
    if (g.isFluid(a.first, a.second) && g.isFluid(b.first, b.second)) return FaceKind::Moves;
    if (g.isSolid(a.first, a.second) && g.isSolid(b.first, b.second)) return FaceKind::Mirror;
    return FaceKind::Held;
}

} // namespace

MacGrid BuildMacGrid(const SimulationState& m) {
    MacGrid g;
    g.nx = m.nx;
    g.ny = m.ny;
    g.x = nodesOf(m.xNode, g.nx);
    g.y = nodesOf(m.yNode, g.ny);
    g.dx = widths(g.x, g.nx);
    g.dy = widths(g.y, g.ny);
    g.solid.assign((g.nx + 2) * (g.ny + 2), 0);
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i)
            g.solid[j * (g.nx + 2) + i] = m.cellKind(i, j) == 0;
    // A U face lies between cells (i - 1, j) and (i, j), a V face between
    // (i, j - 1) and (i, j).
    g.uKind = FaceArray<FaceKind>(g.nx + 2, g.ny + 1);
    for (int j = -1; j <= g.ny + 2; ++j)
        for (int i = -1; i <= g.nx + 3; ++i)
            g.uKind(i, j) = kindOf(g, j < 1 || j > g.ny, i < 2 || i > g.nx, {i - 1, j}, {i, j});
    g.vKind = FaceArray<FaceKind>(g.nx + 1, g.ny + 2);
    for (int j = -1; j <= g.ny + 3; ++j)
        for (int i = -1; i <= g.nx + 2; ++i)
            g.vKind(i, j) = kindOf(g, i < 1 || i > g.nx, j < 2 || j > g.ny, {i, j - 1}, {i, j});
    return g;
}

std::optional<std::string> GridProblem(const MacGrid& g) {
    if (g.nx < 3 || g.ny < 3) return "この計算方法には X、Y とも 3 個以上のメッシュが必要です。";
    for (int i = 1; i <= g.nx; ++i)
        if (!(g.dx[i] > 0)) return "X 座標は左から右へ増えていなければなりません。";
    for (int j = 1; j <= g.ny; ++j)
        if (!(g.dy[j] > 0)) return "Y 座標は下から上へ増えていなければなりません。";
    bool outflow = false;
    for (int j = 1; j <= g.ny; ++j)
        outflow = outflow || g.isFluid(g.nx, j);
    if (!outflow) return "流出口 (右端の列) に流体のセルがありません。";
    if (const int cut = cutOffCells(g); cut > 0)
        return "流出口につながらない流体のセルが " + std::to_string(cut) +
               " 個あります。塗った非流体セルが流れを閉じ込めています。";
    return std::nullopt;
}

} // namespace kestrel::staggered
