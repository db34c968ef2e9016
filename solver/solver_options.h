#pragma once
// How a step may be computed, without changing what it computes.
namespace kestrel {

struct SolverOptions {
    // Every sweep sums its error in row order, as if each decision to go on
    // were too close to call, instead of stopping the sum once the error is
    // surely above the tolerance. The numbers must not change; tests check it.
    bool sumEveryErrorInOrder = false;
};

} // namespace kestrel
