// How soon the window answers while a run steps: a press of 停止 on a large
// mesh, and the longest the window goes without redrawing on the largest.
// Both go through the real window; the press comes from another thread, as
// a user's does, so the time it waits for the event loop is counted.
#include "bench_application.h"
#include "windows/main_window.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>

namespace {

using namespace kestrel;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// A window holding the case, ready to run.
void openCase(MainWindow& w, const char* text) {
    const QString path = QDir::temp().filePath("kestrel-bench-response.json");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    file.close();
    w.openCaseFile(path.toStdString());
    QFile::remove(path);
}

// 1000 x 500, steps without end: 停止 is pressed a second into the run, and
// the time until the run has ended is measured.
void windowStopOnLargeMesh(benchmark::State& state) {
    bench::Application();
    double worst = 0;
    for (auto _ : state) {
        SimulationState m;
        MainWindow w(m);
        openCase(w, R"({"nx": 1000, "ny": 500, "stepCount": 32767, "displayInterval": 100000,
                        "confirmEachDisplay": false, "obstacleRuns": [[250, 240, 260]]})");
        QPushButton* stop = w.findChild<QPushButton*>("Command7");
        Clock::time_point pressed;
        std::thread user([&] {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            pressed = Clock::now();
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(stop, new QMouseEvent(type, QPointF(5, 5),
                                                                  QPointF(5, 5), Qt::LeftButton,
                                                                  Qt::LeftButton, Qt::NoModifier));
        });
        w.findChild<QPushButton*>("Command1")->click();
        const double latency = millisecondsSince(pressed);
        user.join();
        state.SetIterationTime(latency / 1000);
        worst = std::max(worst, latency);
        if (m.history.size() >= 32767u) state.SkipWithError("the press did not stop the run");
    }
    state.counters["worst_ms"] = worst;
}
BENCHMARK(windowStopOnLargeMesh)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// The largest mesh the program takes (3998 x 3998 cells inside the ring),
// two steps: the longest gap between two turns of the event loop, in which
// the window can be redrawn, against the time of a step.
void windowRedrawGapOnLargestMesh(benchmark::State& state) {
    bench::Application();
    for (auto _ : state) {
        SimulationState m;
        MainWindow w(m);
        openCase(w, R"({"nx": 3998, "ny": 3998, "stepCount": 2, "displayInterval": 100000,
                        "confirmEachDisplay": false, "obstacleRuns": [[1999, 1990, 2010]]})");
        double gap = 0;
        Clock::time_point last = Clock::now();
        QTimer turns;
        QObject::connect(&turns, &QTimer::timeout, [&] {
            gap = std::max(gap, millisecondsSince(last));
            last = Clock::now();
        });
        turns.start(10);
        const Clock::time_point start = Clock::now();
        w.findChild<QPushButton*>("Command1")->click();
        const double run = millisecondsSince(start);
        gap = std::max(gap, millisecondsSince(last));
        state.SetIterationTime(gap / 1000);
        state.counters["step_ms"] = run / 2;
        if (m.history.size() != 2u) state.SkipWithError("the run did not complete");
    }
}
BENCHMARK(windowRedrawGapOnLargestMesh)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

} // namespace
