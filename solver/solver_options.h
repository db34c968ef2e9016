#pragma once
// How a step may be computed, without changing what it computes.
#include <functional>

namespace kestrel {

// How steps use the helper thread: on the meshes large enough to gain,
// each step choosing the faster of one and two threads as the machine's
// load allows (Auto), always on those meshes (Two), never (One), or on
// every mesh whatever its size (Always, which tests use). Every choice gives
// the same numbers to the last bit.
enum class SolverThreads { Auto, Two, One, Always };

struct SolverOptions {
    SolverThreads threads = SolverThreads::Auto;
    // Under Auto, this step keeps to one thread (see ThreadChooser).
    bool stepOnOneThread = false;
    // Every sweep sums its error in row order, as if each decision to go on
    // were too close to call, instead of stopping the sum once the error is
    // surely above the tolerance. The numbers must not change; tests check it.
    bool sumEveryErrorInOrder = false;
    // The lanes of the pressure sweep: 2, 4 where the processor runs AVX, or
    // 0 for the widest it runs. The numbers are the same.
    int lanes = 0;
    // Called on the calling thread between the phases of a step and between
    // its pressure iterations: a run on a large mesh lets the window redraw
    // there, not only between steps.
    std::function<void()> betweenPhases;
};

} // namespace kestrel
