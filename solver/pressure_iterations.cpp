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

StepReport inOrder(PressureSolver& solver, int maxIter) {
    StepReport report = noSweeps();
    for (int k = 1; k <= maxIter; ++k) {
        PressureSolver::Sweep sweep = solver.startSweep(k, k == maxIter);
        for (int r = PressureSolver::kFirstStep; r <= solver.lastStep(); ++r)
            solver.step(r, sweep);
        report = {k, solver.error(sweep)};
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
class Progress {
  public:
    void publish(long long value) {
        value_.store(value);
        if (sleepers_.load() != 0) value_.notify_all();
    }
    long long awaitAtLeast(long long wanted) {
        long long now = value_.load(std::memory_order_acquire);
        // The other thread is usually a few rows away: spin a while (a
        // sleeping thread takes long to wake) before sleeping.
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
        for (int spin = 1; now < wanted; ++spin) {
            relax();
            now = value_.load(std::memory_order_acquire);
            if (spin % 64 == 0 && std::chrono::steady_clock::now() > until) break;
        }
        if (now >= wanted) return now;
        sleepers_.fetch_add(1);
        while ((now = value_.load()) < wanted)
            value_.wait(now);
        sleepers_.fetch_sub(1);
        return now;
    }

  private:
    std::atomic<long long> value_{0};
    std::atomic<int> sleepers_{0};
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
        PressureSolver::Sweep sweep = solver_.startSweep(k, k == maxIter_);
        Progress& mine = progress_[k % 2];
        Progress& before = progress_[(k + 1) % 2];
        bool published = false;
        for (int r = PressureSolver::kFirstStep; r <= lastStep_; ++r) {
            if (k > 1)
                before.awaitAtLeast(
                    stepCount(k - 1, std::min(r + PressureSolver::kStepsAhead, lastStep_)));
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

// Two iterations at once pay off once a sweep is long: enough rows for the
// second to follow at a distance, enough points in a row to hide the waits.
bool worthTwoThreads(const SimulationState& m) {
    switch (threadsForTesting) {
    case PressureThreads::Always:
        return true;
    case PressureThreads::Never:
        return false;
    case PressureThreads::Auto:
        break;
    }
    return m.maxIter >= 2 && m.nx >= 128 && m.ny >= 64 && std::thread::hardware_concurrency() >= 2;
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
