// How long a redraw of the convergence chart takes as a history grows: a
// long history is drawn a pixel column at a time, so the cost should barely
// grow with the steps.
#include "windows/history_chart.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace kestrel;

QApplication& application() {
    static int argc = 1;
    static char name[] = "kestrel_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void historyChartRedraw(benchmark::State& state) {
    application();
    std::vector<StepReport> history;
    for (long long n = 0; n < state.range(0); ++n)
        history.push_back({static_cast<int>(5 + n % 17), std::pow(10.0, -3 - (n % 5) * 0.3)});
    HistoryChart chart(history);
    chart.resize(640, 400);
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        chart.render(&image);
    state.SetLabel(std::to_string(state.range(0)) + " steps");
}
BENCHMARK(historyChartRedraw)
    ->Arg(400)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

} // namespace
