#include "momentum.h"

#include <cmath>

namespace kestrel::staggered {

namespace {

// The value carried through a face from the upwind side C towards D, with U
// the value beyond C.
double vanLeer(double upwindFar, double upwind, double downwind) {
    const double change = downwind - upwind;
    if (change == 0) return upwind;
    const double r = (upwind - upwindFar) / change;
    return upwind + 0.5 * (r + std::abs(r)) / (1 + std::abs(r)) * change;
}

// What a velocity sees of its neighbour across a face parallel to itself: the
// value, the distance between the two, and whether it is a real unknown (a
// wall or a body is mirrored).
struct Neighbour {
    double value;
    double distance;
    bool real;
};

// The upwind value through a face between `here` and `next`, with `before`
// beyond here and `after` beyond next; first order where the value beyond
// the upwind side is a mirror image.
double carried(double flow, double here, const Neighbour& before, const Neighbour& next,
               const Neighbour& after) {
    if (flow >= 0) return before.real ? vanLeer(before.value, here, next.value) : here;
    return next.real && after.real ? vanLeer(after.value, next.value, here) : next.value;
}

// U on face (i, j) seen from row `from` (j ± 1): beyond a wall the ghost
// row's value, inside a body the mirror image (no slip).
Neighbour uAcrossRow(const MacGrid& g, const FaceField& u, int i, int j, int from) {
    if (g.uKind(i, j) != FaceKind::Mirror)
        return {u(i, j), MacGrid::between(g.dy, std::min(j, from)), true};
    const bool wall = j < 1 || j > g.ny;
    return {wall ? u(i, j) : -u(i, from), g.dy[from], false};
}

// V on face (i, j) seen from column `from` (i ± 1): beyond the inflow or the
// outflow the ghost column's value, inside a body the mirror image.
Neighbour vAcrossColumn(const MacGrid& g, const FaceField& v, int i, int j, int from) {
    if (g.vKind(i, j) != FaceKind::Mirror)
        return {v(i, j), MacGrid::between(g.dx, std::min(i, from)), true};
    const bool edge = i < 1 || i > g.nx;
    return {edge ? v(i, j) : -v(from, j), g.dx[from], false};
}

double uTendency(const MacGrid& g, double nu, const FaceField& u, const FaceField& v, int i,
                 int j) {
    const double here = u(i, j);
    const double width = MacGrid::between(g.dx, i - 1);
    const double east = 0.5 * (here + u(i + 1, j));
    const double west = 0.5 * (u(i - 1, j) + here);
    const double eastValue = east >= 0 ? vanLeer(u(i - 1, j), here, u(i + 1, j))
                                       : vanLeer(u(i + 2, j), u(i + 1, j), here);
    const double westValue = west >= 0 ? vanLeer(u(i - 2, j), u(i - 1, j), here)
                                       : vanLeer(u(i + 1, j), here, u(i - 1, j));
    const Neighbour north = uAcrossRow(g, u, i, j + 1, j);
    const Neighbour south = uAcrossRow(g, u, i, j - 1, j);
    const Neighbour north2 = north.real ? uAcrossRow(g, u, i, j + 2, j + 1) : north;
    const Neighbour south2 = south.real ? uAcrossRow(g, u, i, j - 2, j - 1) : south;
    const auto across = [&](int row) {
        return (v(i - 1, row) * g.dx[i - 1] + v(i, row) * g.dx[i]) / (g.dx[i - 1] + g.dx[i]);
    };
    const double up = across(j + 1), down = across(j);
    const double upValue = carried(up, here, south, north, north2);
    const double downValue = carried(-down, here, north, south, south2);
    const double convection =
        (east * eastValue - west * westValue) / width + (up * upValue - down * downValue) / g.dy[j];
    const double diffusion =
        ((u(i + 1, j) - here) / g.dx[i] - (here - u(i - 1, j)) / g.dx[i - 1]) / width +
        ((north.value - here) / north.distance - (here - south.value) / south.distance) / g.dy[j];
    return -convection + nu * diffusion;
}

double vTendency(const MacGrid& g, double nu, const FaceField& u, const FaceField& v, int i,
                 int j) {
    const double here = v(i, j);
    const double height = MacGrid::between(g.dy, j - 1);
    const double north = 0.5 * (here + v(i, j + 1));
    const double south = 0.5 * (v(i, j - 1) + here);
    const double northValue = north >= 0 ? vanLeer(v(i, j - 1), here, v(i, j + 1))
                                         : vanLeer(v(i, j + 2), v(i, j + 1), here);
    const double southValue = south >= 0 ? vanLeer(v(i, j - 2), v(i, j - 1), here)
                                         : vanLeer(v(i, j + 1), here, v(i, j - 1));
    const Neighbour east = vAcrossColumn(g, v, i + 1, j, i);
    const Neighbour west = vAcrossColumn(g, v, i - 1, j, i);
    const Neighbour east2 = east.real ? vAcrossColumn(g, v, i + 2, j, i + 1) : east;
    const Neighbour west2 = west.real ? vAcrossColumn(g, v, i - 2, j, i - 1) : west;
    const auto across = [&](int column) {
        return (u(column, j - 1) * g.dy[j - 1] + u(column, j) * g.dy[j]) / (g.dy[j - 1] + g.dy[j]);
    };
    const double right = across(i + 1), left = across(i);
    const double rightValue = carried(right, here, west, east, east2);
    const double leftValue = carried(-left, here, east, west, west2);
    const double convection = (right * rightValue - left * leftValue) / g.dx[i] +
                              (north * northValue - south * southValue) / height;
    const double diffusion =
        ((east.value - here) / east.distance - (here - west.value) / west.distance) / g.dx[i] +
        ((v(i, j + 1) - here) / g.dy[j] - (here - v(i, j - 1)) / g.dy[j - 1]) / height;
    return -convection + nu * diffusion;
}

} // namespace

bool UFaceMoves(const MacGrid& g, int i, int j) {
    return g.uKind(i, j) == FaceKind::Moves;
}

bool VFaceMoves(const MacGrid& g, int i, int j) {
    return g.vKind(i, j) == FaceKind::Moves;
}

void FillGhosts(const MacGrid& g, Walls walls, FaceField& u, FaceField& v) {
    const double sign = walls == Walls::NoSlip ? -1 : 1;
    for (int i = -1; i <= g.nx + 3; ++i) {
        u(i, 0) = sign * u(i, 1);
        u(i, -1) = sign * u(i, 2);
        u(i, g.ny + 1) = sign * u(i, g.ny);
        u(i, g.ny + 2) = sign * u(i, g.ny - 1);
    }
    for (int j = -1; j <= g.ny + 2; ++j) {
        u(0, j) = u(-1, j) = u(1, j);
        u(g.nx + 2, j) = u(g.nx + 3, j) = u(g.nx + 1, j);
    }
    for (int j = -1; j <= g.ny + 3; ++j) {
        v(0, j) = -v(1, j);
        v(-1, j) = -v(2, j);
        v(g.nx + 1, j) = v(g.nx + 2, j) = v(g.nx, j);
    }
    for (int i = -1; i <= g.nx + 2; ++i) {
        v(i, 0) = -v(i, 2);
        v(i, -1) = -v(i, 3);
        v(i, g.ny + 2) = -v(i, g.ny);
        v(i, g.ny + 3) = -v(i, g.ny - 1);
    }
}

void MomentumTendency(const MacGrid& g, double nu, const FaceField& u, const FaceField& v,
                      FaceField& hu, FaceField& hv) {
    for (int j = 1; j <= g.ny; ++j)
        for (int i = 2; i <= g.nx; ++i)
            if (UFaceMoves(g, i, j)) hu(i, j) = uTendency(g, nu, u, v, i, j);
    for (int j = 2; j <= g.ny; ++j)
        for (int i = 1; i <= g.nx; ++i)
            if (VFaceMoves(g, i, j)) hv(i, j) = vTendency(g, nu, u, v, i, j);
}

} // namespace kestrel::staggered
