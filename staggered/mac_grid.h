#pragma once
// The staggered (MAC) arrangement on the mesh's cells: pressure at the
// centre of every cell 1..nx × 1..ny, U on the faces x = xNode(i) and V on
// the faces y = yNode(j). The channel walls are the mesh's first and last
// node rows, the inflow its first node column and the outflow its last;
// painted cells are solid.
#include "app/simulation_state.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrel::staggered {

// Values on faces or cells 1..columns × 1..rows with two layers of ghosts
// on every side.
template <class T> class FaceArray {
  public:
    FaceArray() = default;
    FaceArray(int columns, int rows) : columns_(columns + 4), values_((columns + 4) * (rows + 4)) {}
    T& operator()(int i, int j) { return values_[index(i, j)]; }
    T operator()(int i, int j) const { return values_[index(i, j)]; }

  private:
    std::size_t index(int i, int j) const {
        return static_cast<std::size_t>(j + 2) * columns_ + static_cast<std::size_t>(i + 2);
    }
    int columns_ = 0;
    std::vector<T> values_;
};
using FaceField = FaceArray<double>;

// What a face's velocity is: computed, held at a boundary value (inflow,
// outflow, a body's side), or a mirror image (beyond a wall, inside a body).
enum class FaceKind : char { Moves, Held, Mirror };

struct MacGrid {
    int nx = 0, ny = 0;
    std::vector<double> x, y;   // node coordinates, 1..nx+1 and 1..ny+1 (index 0 unused)
    std::vector<double> dx, dy; // cell widths, 1..nx and 1..ny
    std::vector<char> solid;    // (i, j) at (j * (nx + 2) + i), with a solid-free ring

    bool isSolid(int i, int j) const { return solid[j * (nx + 2) + i] != 0; }
    bool isFluid(int i, int j) const {
        return i >= 1 && i <= nx && j >= 1 && j <= ny && !isSolid(i, j);
    }
    double height() const { return y[ny + 1] - y[1]; }
    // U faces x = x(i), i = -1..nx+3; V faces y = y(j), j = -1..ny+3.
    FaceArray<FaceKind> uKind, vKind;
    // Distance between the centres of cells k and k + 1 along one axis.
    static double between(const std::vector<double>& widths, int k) {
        return 0.5 * (widths[k] + widths[k + 1]);
    }
};

// The grid of m's nodes and cell map (m.xNode, m.yNode and m.cellKind must
// cover nx and ny).
MacGrid BuildMacGrid(const SimulationState& m);

// Why the method cannot run on this grid: a mesh too small, or fluid cut off
// from the outflow by painted cells; nullopt when it can.
std::optional<std::string> GridProblem(const MacGrid& g);

} // namespace kestrel::staggered
