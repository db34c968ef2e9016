// How long a redraw of the convergence chart takes as a history grows: a
// long history is drawn a pixel column at a time, so the cost should barely
// grow with the steps.
#include "bench_application.h"
#include "windows/history_chart.h"
#include "windows/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace kestrel;

using bench::Application;

void historyChartRedraw(benchmark::State& state) {
    Application();
    std::vector<StepReport> history;
    for (long long n = 0; n < state.range(0); ++n)
        history.push_back({static_cast<int>(5 + n % 17), std::pow(10.0, -3 - (n % 5) * 0.3)});
    const Method classic = Method::Classic;
    HistoryChart chart(history, classic);
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

// The longest run (32767 steps) of the default case in the window, the history window closed
// (0) or open (1): the open chart must cost next to nothing.
void windowRunWithHistory(benchmark::State& state) {
    Application();
    const QString casePath = QDir::temp().filePath("kestrel-bench-long.json");
    QFile file(casePath);
    file.open(QIODevice::WriteOnly);
    file.write(R"({"stepCount": 32767, "displayInterval": 100000, "confirmEachDisplay": false,
                   "obstacleRuns": [[14, 20, 24], [15, 20, 24], [16, 20, 24], [17, 20, 24],
                                    [18, 20, 24]]})");
    file.close();
    for (auto _ : state) {
        state.PauseTiming();
        SimulationState m;
        MainWindow w(m);
        w.openCaseFile(casePath.toStdString());
        if (state.range(0) == 1) {
            for (QAction* action : w.findChildren<QAction*>())
                if (action->text() == "収束履歴…") action->trigger();
            QApplication::processEvents();
        }
        state.ResumeTiming();
        w.findChild<QPushButton*>("Command1")->click();
        state.PauseTiming();
        if (m.history.size() != 32767u) state.SkipWithError("the run did not complete");
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "frmHistory") top->close();
        state.ResumeTiming();
    }
    QFile::remove(casePath);
    state.SetLabel(state.range(0) == 1 ? "history open" : "history closed");
}
BENCHMARK(windowRunWithHistory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
