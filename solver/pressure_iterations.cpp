#include "pressure_iterations.h"

#include "helper_thread.h"
#include "pressure_solver.h"
#include "time_step.h"
#include "two_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

namespace kestrel {

namespace {

StepReport noSweeps() {
    return {0, std::numeric_limits<double>::quiet_NaN()};
}

// Phase after phase: the fewest calls per row, for meshes whose rows are short.
StepReport inOrder(PressureSolver& solver, int maxIter, const std::function<void()>& between) {
    StepReport report = noSweeps();
    for (int k = 1; k <= maxIter; ++k) {
        if (k > 1 && between) between();
        solver.setObstaclePressure();
        solver.setPressureBoundary();
        report = {k, solver.sweep(k == maxIter)};
        if (PressureConverged(report.lastError)) break;
    }
    return report;
}

// A count that only grows, published by one thread and awaited by the other.
// Publishing is a plain store: the waiter polls, first spinning (the other
// thread is usually a step or two away), then sleeping in short naps.
class alignas(64) Progress {
  public:
    void publish(long long value) { value_.store(value, std::memory_order_release); }
    // Publishes `value` unless a larger one is already out.
    void raise(long long value) {
        long long now = value_.load(std::memory_order_relaxed);
        while (now < value && !value_.compare_exchange_weak(now, value, std::memory_order_release,
                                                            std::memory_order_relaxed)) {
        }
    }
    bool reached(long long wanted) const {
        return value_.load(std::memory_order_acquire) >= wanted;
    }
    // whileWaiting runs between the naps: the window's redraws go on while
    // this thread waits for the other to end a long sweep.
    long long awaitAtLeast(long long wanted, const std::function<void()>& whileWaiting = {}) const {
        if (!SpinUntil([&] { return reached(wanted); }))
            while (!reached(wanted)) {
                std::this_thread::sleep_for(std::chrono::microseconds(50));
                if (whileWaiting) whileWaiting();
            }
        return value_.load(std::memory_order_acquire);
    }

  private:
    std::atomic<long long> value_{0};
};

// Every iteration in two stages: its first steps (the lower rows) on this
// thread, the rest (the upper rows) on the helper, so that each thread keeps
// its rows in its own cache. While the helper finishes iteration k, this
// thread starts iteration k + 1 once k is known to go on: from its own rows'
// error terms when they are surely above the tolerance, otherwise once the
// helper has summed both parts. The threads meet only where the stages do.
class TwoStages {
  public:
    TwoStages(PressureSolver& solver, int maxIter, const std::function<void()>& between)
        : solver_(solver), maxIter_(maxIter), lastStep_(solver.lastStep()),
          split_((PressureSolver::kFirstStep + lastStep_) / 2), between_(between) {}

    void runLower() {
        long long seen = 0; // the helper's steps, as last read
        for (int k = 1; k <= maxIter_; ++k) {
            if (k > 1 && !goesOn(k - 1)) return;
            if (k > 1 && between_) between_();
            PressureSolver::Sweep sweep = solver_.startSweep(k, k == maxIter_);
            for (int r = PressureSolver::kFirstStep; r <= split_; ++r) {
                // The last few steps read rows the helper sweeps in iteration k - 1.
                const int ahead = std::min(r + PressureSolver::kStepsAhead, lastStep_);
                if (k > 1 && ahead > split_ && seen < stepCount(k - 1, ahead))
                    seen = upper_.awaitAtLeast(stepCount(k - 1, ahead), between_);
                solver_.step(r, sweep);
                if (r % PressureSolver::kRowsBetweenCalls == 0 && between_) between_();
            }
            lowerPart_[k % PressureSolver::kIterationsAtOnce] = sweep.unordered;
            if (sweep.goesOn) decisions_.raise(2LL * k);
            lower_.publish(stepCount(k, split_));
        }
        // The last allowed iteration always ends on the helper; waiting here
        // rather than for the helper to return lets the window redraw meanwhile.
        if (between_) decisions_.awaitAtLeast(kEnded, between_);
    }

    void runUpper() {
        for (int k = 1; k <= maxIter_; ++k) {
            lower_.awaitAtLeast(stepCount(k, split_));
            PressureSolver::Sweep sweep = solver_.startSweep(k, k == maxIter_);
            for (int r = split_ + 1; r <= lastStep_; ++r) {
                // Terms are kept only until the lower rows have settled it.
                if (!sweep.goesOn && decisions_.reached(2LL * k)) sweep.goesOn = true;
                solver_.step(r, sweep);
                // Only these steps are awaited. Publishing every step would
                // pull the count's cache line from a waiting reader each time
                // and hold up the row stores queued behind it.
                if (r <= split_ + PressureSolver::kStepsAhead) upper_.publish(stepCount(k, r));
            }
            if (decisions_.reached(2LL * k)) continue;
            const double both = lowerPart_[k % PressureSolver::kIterationsAtOnce] + sweep.unordered;
            if (!solver_.surelyAbove(sweep, both)) {
                const double error = solver_.exactError(sweep);
                if (PressureConverged(error) || k == maxIter_) {
                    report_ = {k, error};
                    decisions_.raise(kEnded);
                    return;
                }
            }
            decisions_.raise(2LL * k);
        }
    }

    StepReport report() const { return report_; }

  private:
    // Decisions are published as 2k when iteration k goes on; the end of the
    // iterations releases the other thread at once.
    static constexpr long long kEnded = std::numeric_limits<long long>::max();
    // Asked by the lower stage, on the calling thread.
    bool goesOn(int k) { return decisions_.awaitAtLeast(2LL * k, between_) == 2LL * k; }

    long long stepCount(int k, int r) const {
        return static_cast<long long>(k) * (lastStep_ + 1) + r;
    }

    PressureSolver& solver_;
    const int maxIter_;
    const int lastStep_;
    const int split_; // the lower stage's last step
    const std::function<void()>& between_;
    Progress lower_; // steps made by each stage
    Progress upper_;
    Progress decisions_;
    double lowerPart_[PressureSolver::kIterationsAtOnce] = {}; // the lower rows' terms in lanes
    StepReport report_ = noSweeps();
};

} // namespace

StepReport SolvePressure(SimulationState& m, const SolverOptions& options) {
    PressureSolver solver(m, options);
    if (m.maxIter >= 2 && WorthTwoThreads(m, options)) {
        TwoStages stages(solver, m.maxIter, options.betweenPhases);
        if (RunBesideHelper([&] { stages.runUpper(); }, [&] { stages.runLower(); }))
            return stages.report();
    }
    return inOrder(solver, m.maxIter, options.betweenPhases);
}

} // namespace kestrel
