#include "inflow_profile.h"

namespace kestrel::staggered {

std::vector<double> InflowProfile(const MacGrid& g, Inflow inflow) {
    std::vector<double> speed(g.ny + 1, 1.0);
    if (inflow == Inflow::Uniform) return speed;
    // Row j: (w(j+1) - w(j)) / h(j+½) - (w(j) - w(j-1)) / h(j-½) = -dy(j), with
    // w = 0 on the walls half a cell beyond the first and last rows; solved
    // by elimination down the rows and substitution back up.
    const int n = g.ny;
    std::vector<double> lower(n + 1), diagonal(n + 1), upper(n + 1), right(n + 1);
    for (int j = 1; j <= n; ++j) {
        const double below = j > 1 ? 1 / MacGrid::between(g.dy, j - 1) : 2 / g.dy[1];
        const double above = j < n ? 1 / MacGrid::between(g.dy, j) : 2 / g.dy[n];
        lower[j] = j > 1 ? -below : 0;
        upper[j] = j < n ? -above : 0;
        diagonal[j] = below + above;
        right[j] = g.dy[j];
    }
    for (int j = 2; j <= n; ++j) {
        const double factor = lower[j] / diagonal[j - 1];
        diagonal[j] -= factor * upper[j - 1];
        right[j] -= factor * right[j - 1];
    }
    speed[n] = right[n] / diagonal[n];
    for (int j = n - 1; j >= 1; --j)
        speed[j] = (right[j] - upper[j] * speed[j + 1]) / diagonal[j];
    double flux = 0;
    for (int j = 1; j <= n; ++j)
        flux += speed[j] * g.dy[j];
    for (int j = 1; j <= n; ++j)
        speed[j] *= g.height() / flux;
    return speed;
}

} // namespace kestrel::staggered
