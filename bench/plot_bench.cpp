// How long one display of a run takes: the pressure plot with flow lines.
#include "canvas/image_surface.h"
#include "plot/field_plot.h"
#include "run/run_calculation.h"
#include "support/scripted_host.h"
#include "support/test_state.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kestrel;

void pressurePlot(benchmark::State& state) {
    SimulationState m =
        test::meshState(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    test::initialiseRun(m);
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i)
            m.P(i, j) = 0.01 * i - 0.02 * j; // every band in use
    test::ScriptedHost host;
    ImageSurface picture(kPictureWidthTwips, kPictureHeightTwips);
    for (auto _ : state)
        DrawPressurePlot(m, host, picture);
}

// A whole default run in continuous display mode: 400 steps, a plot every 2.
void defaultRunWithDisplays(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        SimulationState m = test::meshState(61, 31);
        test::addDefaultObstacle(m);
        test::ScriptedHost host;
        host.confirm = false;
        ImageSurface picture(kPictureWidthTwips, kPictureHeightTwips);
        SaveDialogState dialog;
        state.ResumeTiming();
        StartRun(m, host, picture, dialog);
    }
}

} // namespace

BENCHMARK(defaultRunWithDisplays)
    ->Name("DefaultRunContinuousDisplay")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(pressurePlot)
    ->Name("PressurePlot")
    ->Args({61, 31})
    ->Args({400, 200})
    ->Unit(benchmark::kMillisecond);
