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

// What crosses a boundary between two control volumes: the carried
// momentum (flow × value) and the velocity's gradient across it.
struct Flux {
    double convection = 0;
    double gradient = 0;
};

// Between two real velocities low and high (in that order along the
// normal), flow the velocity across; farLow and farHigh lie beyond them and
// count only when real (else first order on that side).
Flux between(double flow, double farLow, bool farLowReal, double low, double high, double farHigh,
             bool farHighReal, double distance) {
    const double value = flow >= 0 ? (farLowReal ? vanLeer(farLow, low, high) : low)
                                   : (farHighReal ? vanLeer(farHigh, high, low) : high);
    return {flow * value, (high - low) / distance};
}

// Against a wall or a body's face: nothing flows through, and the gradient
// reaches the mirror image (the ghost value beyond a wall, minus the
// velocity inside a body) half a cell away on either side.
Flux againstMirror(double low, double high, double height) {
    return {0, (high - low) / height};
}

bool real(FaceKind k) {
    return k != FaceKind::Mirror;
}

// Along x, through the centre of cell c of row j: the mean of the faces
// either side carries the upwind value.
Flux alongRow(const FaceField& q, int c, int j, double width) {
    return between(0.5 * (q(c, j) + q(c + 1, j)), q(c - 1, j), true, q(c, j), q(c + 1, j),
                   q(c + 2, j), true, width);
}

// U across the boundary between rows b and b + 1 at face column i.
Flux uAcross(const MacGrid& g, const FaceField& u, const FaceField& v, int i, int b) {
    const bool low = real(g.uKind(i, b)), high = real(g.uKind(i, b + 1));
    if (low && high) {
        const double flow =
            (v(i - 1, b + 1) * g.dx[i - 1] + v(i, b + 1) * g.dx[i]) / (g.dx[i - 1] + g.dx[i]);
        return between(flow, u(i, b - 1), real(g.uKind(i, b - 1)), u(i, b), u(i, b + 1),
                       u(i, b + 2), real(g.uKind(i, b + 2)), MacGrid::between(g.dy, b));
    }
    if (low) return againstMirror(u(i, b), b + 1 > g.ny ? u(i, b + 1) : -u(i, b), g.dy[b]);
    if (high) return againstMirror(b < 1 ? u(i, b) : -u(i, b + 1), u(i, b + 1), g.dy[b + 1]);
    return {};
}

// V across the boundary between columns b and b + 1 at face row j. The
// outflow carries V out with the flow (its ghost copies the last column);
// the inflow brings V = 0.
Flux vAcross(const MacGrid& g, const FaceField& u, const FaceField& v, int b, int j) {
    const bool low = real(g.vKind(b, j)), high = real(g.vKind(b + 1, j));
    const bool outflow = b == g.nx;
    if (low && (high || outflow)) {
        const double flow =
            (u(b + 1, j - 1) * g.dy[j - 1] + u(b + 1, j) * g.dy[j]) / (g.dy[j - 1] + g.dy[j]);
        return between(flow, v(b - 1, j), real(g.vKind(b - 1, j)), v(b, j), v(b + 1, j),
                       v(b + 2, j), high && real(g.vKind(b + 2, j)),
                       outflow ? g.dx[b] : MacGrid::between(g.dx, b));
    }
    if (low) return againstMirror(v(b, j), b + 1 > g.nx ? v(b + 1, j) : -v(b, j), g.dx[b]);
    if (high) return againstMirror(b < 1 ? v(b, j) : -v(b + 1, j), v(b + 1, j), g.dx[b + 1]);
    return {};
}

// −convection + ν·diffusion of one control volume from its four fluxes.
double tendency(double nu, const Flux& west, const Flux& east, double width, const Flux& south,
                const Flux& north, double height) {
    const double convection = (east.convection - west.convection) / width +
                              (north.convection - south.convection) / height;
    const double diffusion =
        (east.gradient - west.gradient) / width + (north.gradient - south.gradient) / height;
    return -convection + nu * diffusion;
}

// Row by row, every flux computed once and used by both volumes it bounds.
void uTendencies(const MacGrid& g, double nu, const FaceField& u, const FaceField& v,
                 FaceField& hu) {
    std::vector<Flux> along(g.nx + 1), below(g.nx + 1), above(g.nx + 1);
    for (int i = 2; i <= g.nx; ++i)
        below[i] = uAcross(g, u, v, i, 0);
    for (int j = 1; j <= g.ny; ++j) {
        for (int i = 2; i <= g.nx; ++i)
            above[i] = uAcross(g, u, v, i, j);
        for (int c = 1; c <= g.nx; ++c)
            along[c] = alongRow(u, c, j, g.dx[c]);
        for (int i = 2; i <= g.nx; ++i)
            if (g.uKind(i, j) == FaceKind::Moves)
                hu(i, j) = tendency(nu, along[i - 1], along[i], MacGrid::between(g.dx, i - 1),
                                    below[i], above[i], g.dy[j]);
        std::swap(below, above);
    }
}

void vTendencies(const MacGrid& g, double nu, const FaceField& u, const FaceField& v,
                 FaceField& hv) {
    std::vector<Flux> across(g.nx + 1), south(g.nx + 1), north(g.nx + 1);
    // Along y through the centre of row r: as along a row, with the roles of i and j swapped.
    const auto alongColumn = [&](int i, int r) {
        return between(0.5 * (v(i, r) + v(i, r + 1)), v(i, r - 1), true, v(i, r), v(i, r + 1),
                       v(i, r + 2), true, g.dy[r]);
    };
    for (int i = 1; i <= g.nx; ++i)
        south[i] = alongColumn(i, 1);
    for (int j = 2; j <= g.ny; ++j) {
        for (int i = 1; i <= g.nx; ++i)
            north[i] = alongColumn(i, j);
        for (int b = 0; b <= g.nx; ++b)
            across[b] = vAcross(g, u, v, b, j);
        for (int i = 1; i <= g.nx; ++i)
            if (g.vKind(i, j) == FaceKind::Moves)
                hv(i, j) = tendency(nu, across[i - 1], across[i], g.dx[i], south[i], north[i],
                                    MacGrid::between(g.dy, j - 1));
        std::swap(south, north);
    }
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
    uTendencies(g, nu, u, v, hu);
    vTendencies(g, nu, u, v, hv);
}

} // namespace kestrel::staggered
