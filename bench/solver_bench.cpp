// The solver's speed: the fast time step against the plain loops it must
// match, in one binary so that the ratio is measured in one run.
#include "cells/cell_map.h"
#include "oracle/literal_solver.h"
#include "solver/time_step.h"
#include "support/test_state.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kestrel;

SimulationState channel(int nx, int ny) {
    SimulationState m = test::meshState(nx, ny);
    // A square obstacle a quarter of the way along, a sixth of the height.
    const int size = std::max(2, ny / 6);
    for (int i = nx / 4; i < nx / 4 + size; ++i)
        for (int j = ny / 2 - size / 2; j < ny / 2 - size / 2 + size; ++j)
            m.cellKind(i, j) = 0;
    test::initialiseRun(m);
    return m;
}

template <StepReport (*Step)(SimulationState&)> void defaultRun(benchmark::State& state) {
    long long sweeps = 0;
    SimulationState start = test::meshState(61, 31);
    test::addDefaultObstacle(start);
    test::initialiseRun(start);
    SimulationState m;
    for (auto _ : state) {
        state.PauseTiming();
        m = start;
        state.ResumeTiming();
        for (int n = 1; n <= 400; ++n)
            sweeps += Step(m).sweeps;
    }
    const double points = 57.0 * 27.0; // the points a sweep corrects
    state.counters["ns/point/iter"] =
        benchmark::Counter(static_cast<double>(sweeps) * points / 1e9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One time step with exactly 100 pressure iterations (the tolerance is never
// reached from this state with a forced maxIter and an unconverged field).
template <StepReport (*Step)(SimulationState&)> void oneStep(benchmark::State& state) {
    const int nx = static_cast<int>(state.range(0));
    const int ny = static_cast<int>(state.range(1));
    SimulationState start = channel(nx, ny);
    start.maxIter = 100;
    SimulationState warm = start;
    Step(warm); // a developing field, so the sweeps do real work
    long long sweeps = 0;
    // Assigned, not made afresh, under the paused clock: freeing and faulting
    // in a field's pages is no part of a time step, and would otherwise be timed.
    SimulationState m;
    for (auto _ : state) {
        state.PauseTiming();
        m = warm;
        state.ResumeTiming();
        sweeps += Step(m).sweeps;
    }
    const double points = static_cast<double>(nx - 4) * (ny - 4);
    state.counters["sweeps/step"] = static_cast<double>(sweeps) / state.iterations();
    // Obstacle pressure, boundary and sweep together, per point and iteration.
    state.counters["ns/point/iter"] =
        benchmark::Counter(static_cast<double>(sweeps) * points / 1e9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(defaultRun<kestrel::AdvanceTimeStep>)
    ->Name("DefaultRun/fast")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(defaultRun<kestrel::literal::AdvanceTimeStep>)
    ->Name("DefaultRun/literal")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(oneStep<kestrel::AdvanceTimeStep>)
    ->Name("OneStep100Iter/fast")
    ->Args({400, 200})
    ->Args({1000, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime(); // a second thread may work too
BENCHMARK(oneStep<kestrel::literal::AdvanceTimeStep>)
    ->Name("OneStep100Iter/literal")
    ->Args({400, 200})
    ->Args({1000, 500})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
