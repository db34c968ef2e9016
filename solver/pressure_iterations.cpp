#include "pressure_iterations.h"

#include "helper_thread.h"
#include "pressure_solver.h"
#include "time_step.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

namespace kestrel {

namespace {

PressureThreads threadsForTesting = PressureThreads::Auto;

StepReport noSweeps() {
    return {0, std::numeric_limits<double>::quiet_NaN()};
}

// Phase after phase: the fewest calls per row, for meshes whose rows are short.
StepReport inOrder(PressureSolver& solver, int maxIter) {
    StepReport report = noSweeps();
    for (int k = 1; k <= maxIter; ++k) {
        solver.setObstaclePressure();
        solver.setPressureBoundary();
        report = {k, solver.sweep(k == maxIter)};
        if (PressureConverged(report.lastError)) break;
    }
    return report;
}

void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

// A count that only grows, published by one thread and awaited by the other.
// Publishing is a plain store: the waiter polls, first spinning (the other
// thread is usually a step or two away), then sleeping in short naps.
class alignas(64) Progress {
  public:
    void publish(long long value) { value_.store(value, std::memory_order_release); }
    long long awaitAtLeast(long long wanted) const {
        long long now = value_.load(std::memory_order_acquire);
        const auto spinUntil = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
        for (int spin = 1; now < wanted; ++spin) {
            if (spin % 64 != 0 || std::chrono::steady_clock::now() < spinUntil)
                relax();
            else
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            now = value_.load(std::memory_order_acquire);
        }
        return now;
    }

  private:
    std::atomic<long long> value_{0};
};

// Odd iterations on this thread, even ones on the helper. Iteration k + 1
// starts once iteration k is known to go on (its partial error is surely
// above the tolerance, or it has ended above it) and follows it step by step
// at the distance that keeps the rows they touch apart.
class TwoIterationsAtOnce {
  public:
    TwoIterationsAtOnce(PressureSolver& solver, int maxIter)
        : solver_(solver), maxIter_(maxIter), lastStep_(solver.lastStep()) {}

    void run(int first) {
        for (int k = first; k <= maxIter_; k += 2) {
            if (k > 1 && !goesOn(k - 1)) return;
            if (!iterate(k)) return;
        }
    }
    StepReport report() const { return report_; }

  private:
    // Decisions are published as 2k (iteration k goes on) or 2k + 1 (it ends).
    bool goesOn(int k) { return decisions_.awaitAtLeast(2LL * k) == 2LL * k; }

    long long stepCount(int k, int r) const {
        return static_cast<long long>(k) * (lastStep_ + 1) + r;
    }

    // Whether the iteration after k is to be made.
    bool iterate(int k) {
        PressureSolver::Sweep sweep = solver_.startSweep(k == maxIter_);
        Progress& mine = progress_[k % 2];
        const Progress& before = progress_[(k + 1) % 2];
        long long seen = 0; // the iteration before, as last read
        bool published = false;
        for (int r = PressureSolver::kFirstStep; r <= lastStep_; ++r) {
            const long long needed =
                stepCount(k - 1, std::min(r + PressureSolver::kStepsAhead, lastStep_));
            // Its counter is read only when what was last seen is not enough.
            if (k > 1 && seen < needed) seen = before.awaitAtLeast(needed);
            solver_.step(r, sweep);
            mine.publish(stepCount(k, r));
            if (sweep.goesOn && !published) {
                decisions_.publish(2LL * k);
                published = true;
            }
        }
        if (published) return true;
        const double error = solver_.error(sweep);
        if (PressureConverged(error) || k == maxIter_) {
            report_ = {k, error};
            decisions_.publish(2LL * k + 1);
            return false;
        }
        decisions_.publish(2LL * k);
        return true;
    }

    PressureSolver& solver_;
    const int maxIter_;
    const int lastStep_;
    Progress progress_[2]; // by the parity of the iteration
    Progress decisions_;
    StepReport report_ = noSweeps();
};

// Two iterations at once pay off only once the pressure and its right-hand
// side no longer fit a core's own cache (about a megabyte): then each core
// streams them at its own pace. Below that, one core is as fast, and
// handing rows over between cores costs more than it saves.
bool worthTwoThreads(const SimulationState& m) {
    switch (threadsForTesting) {
    case PressureThreads::Always:
        return true;
    case PressureThreads::Never:
        return false;
    case PressureThreads::Auto:
        break;
    }
    const long long points = static_cast<long long>(m.nx + 2) * (m.ny + 2);
    return m.maxIter >= 2 && m.nx >= 128 && points >= 65536 &&
           std::thread::hardware_concurrency() >= 2;
}

} // namespace

void SetPressureThreadsForTesting(PressureThreads use) {
    threadsForTesting = use;
}

StepReport SolvePressure(SimulationState& m) {
    PressureSolver solver(m);
    if (m.maxIter >= 2 && worthTwoThreads(m)) {
        TwoIterationsAtOnce iterations(solver, m.maxIter);
        if (RunBesideHelper([&] { iterations.run(2); }, [&] { iterations.run(1); }))
            return iterations.report();
    }
    return inOrder(solver, m.maxIter);
}

} // namespace kestrel
