#include "vorticity.h"

namespace kestrel {

namespace {

// The derivative of f along one axis at k of 1..last: central inside,
// one-sided at either end.
template <typename Value> double derivative(int k, int last, const Array1<double>& nodes, Value f) {
    const int low = k > 1 ? k - 1 : k;
    const int high = k < last ? k + 1 : k;
    if (low == high) return 0;
    return (f(high) - f(low)) / (nodes.at(high) - nodes.at(low));
}

} // namespace

double VorticityAt(const SimulationState& m, int i, int j) {
    if (m.cellKind.at(i, j) == 0) return 0;
    const double dVdx = derivative(i, m.nx, m.xNode, [&](int k) { return m.V.at(k, j); });
    const double dUdy = derivative(j, m.ny, m.yNode, [&](int k) { return m.U.at(i, k); });
    return dVdx - dUdy;
}

} // namespace kestrel
