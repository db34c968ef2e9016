// The second method on 400 × 200 cells with a square body: one time step
// (momentum, pressure solve, correction, the stable step and the cells'
// values), and the factorisation made once per geometry.
#include "staggered/staggered_solver.h"
#include "support/test_state.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kestrel;

staggered::MacGrid channelGrid() {
    SimulationState m = test::meshState(400, 200, 1);
    for (int i = 90; i <= 110; ++i)
        for (int j = 90; j <= 110; ++j)
            m.cellKind(i, j) = 0;
    test::initialiseRun(m);
    return staggered::BuildMacGrid(m);
}

void secondMethodStep(benchmark::State& state) {
    SimulationState m = test::meshState(400, 200, 1);
    test::initialiseRun(m);
    staggered::StaggeredSolver solver(channelGrid(), {0.1});
    for (int n = 0; n < 20; ++n) // a developing field
        solver.step(0.1);
    for (auto _ : state) {
        solver.step(std::min(0.1, solver.stableTimeStep()));
        solver.writeCellValues(m);
    }
}

void secondMethodFactorisation(benchmark::State& state) {
    const staggered::MacGrid grid = channelGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(staggered::PressureProjection(grid));
}

} // namespace

BENCHMARK(secondMethodStep)->Name("SecondMethod/step400x200")->Unit(benchmark::kMillisecond);
BENCHMARK(secondMethodFactorisation)
    ->Name("SecondMethod/factorise400x200")
    ->Unit(benchmark::kMillisecond);
