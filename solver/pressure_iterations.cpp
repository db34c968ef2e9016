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

std::optional<IterationSpread> spreadForTesting;

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
class alignas(64) Progress {
  public:
    bool reached(long long wanted) const {
        return value_.load(std::memory_order_acquire) >= wanted;
    }
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

// Iterations in flight at once, each the given steps behind the one before.
// `threads` threads take turns; each runs `group` consecutive iterations
// interleaved row by row, so that a row is swept again while it is still in
// the cache. Iteration k + 1 starts once iteration k is known to go on (its
// partial error is surely above the tolerance, or it ended above it).
class Wavefront {
  public:
    Wavefront(PressureSolver& solver, int maxIter, IterationSpread spread)
        : solver_(solver), maxIter_(maxIter), lastStep_(solver.lastStep()), spread_(spread) {}

    void run(int thread) {
        const int turn = spread_.threads * spread_.group;
        for (int first = 1 + thread * spread_.group; first <= maxIter_; first += turn)
            if (!runGroup(first)) return;
    }
    StepReport report() const { return report_; }

  private:
    struct Running {
        PressureSolver::Sweep sweep;
        int next; // step
        bool decided;
    };

    long long stepCount(int k, int r) const {
        return static_cast<long long>(k) * (lastStep_ + 1) + r;
    }
    Progress& progress(int k) { return progress_[k % PressureSolver::kMaxIterationsAtOnce]; }
    long long needed(int k, int r) const {
        return stepCount(k - 1, std::min(r + PressureSolver::kStepsAhead, lastStep_));
    }
    bool ready(int k, int r) { return k == 1 || progress(k - 1).reached(needed(k, r)); }

    // Decisions are published as 2k when iteration k goes on; the end of the
    // iterations releases every waiter at once.
    static constexpr long long kEnded = std::numeric_limits<long long>::max();
    bool goesOn(int k) { return decisions_.awaitAtLeast(2LL * k) == 2LL * k; }

    // Runs iterations first.. of one group; whether the one after them is to be made.
    bool runGroup(int first) {
        if (first > 1 && !goesOn(first - 1)) return false;
        const int count = std::min(spread_.group, maxIter_ - first + 1);
        Running running[PressureSolver::kMaxIterationsAtOnce];
        int started = 0;
        const auto start = [&] {
            const int k = first + started;
            running[started++] = {solver_.startSweep(k, k == maxIter_), PressureSolver::kFirstStep,
                                  false};
        };
        start();
        for (;;) {
            bool advanced = false;
            for (int g = 0; g < started; ++g) {
                // A later iteration takes two steps a round, to catch up.
                for (int n = 0; n < (g == 0 ? 1 : 2); ++n) {
                    Running& it = running[g];
                    const int k = first + g;
                    if (it.next > lastStep_ || !ready(k, it.next)) break;
                    if (!advance(k, it)) return false;
                    advanced = true;
                }
            }
            if (started < count && running[started - 1].decided) {
                start();
                advanced = true;
            }
            if (started == count && running[count - 1].next > lastStep_) return true;
            // Only the first can be held up, by an iteration on the other thread.
            if (!advanced) progress(first - 1).awaitAtLeast(needed(first, running[0].next));
        }
    }

    // One step of iteration k; false when the iterations end with it.
    bool advance(int k, Running& it) {
        const int r = it.next++;
        solver_.step(r, it.sweep);
        progress(k).publish(stepCount(k, r));
        if (!it.decided && it.sweep.goesOn) {
            decisions_.publish(2LL * k);
            it.decided = true;
        }
        if (r < lastStep_ || it.decided) return true;
        const double error = solver_.error(it.sweep);
        if (PressureConverged(error) || k == maxIter_) {
            report_ = {k, error};
            decisions_.publish(kEnded);
            return false;
        }
        decisions_.publish(2LL * k);
        it.decided = true;
        return true;
    }

    PressureSolver& solver_;
    const int maxIter_;
    const int lastStep_;
    const IterationSpread spread_;
    Progress progress_[PressureSolver::kMaxIterationsAtOnce]; // by iteration
    Progress decisions_;
    StepReport report_ = noSweeps();
};

// Iterations at once pay off once a sweep is long: enough rows for the next
// to follow at a distance, enough points in a row to hide the waits.
IterationSpread spreadFor(const SimulationState& m) {
    if (spreadForTesting) return *spreadForTesting;
    if (m.nx < 128 || m.ny < 64) return {1, 1};
    return {std::thread::hardware_concurrency() >= 2 ? 2 : 1, 2};
}

} // namespace

void SetIterationSpreadForTesting(std::optional<IterationSpread> spread) {
    spreadForTesting = spread;
}

StepReport SolvePressure(SimulationState& m) {
    PressureSolver solver(m);
    IterationSpread spread = spreadFor(m);
    if (m.maxIter < 2 || spread.group * spread.threads == 1) return inOrder(solver, m.maxIter);
    if (spread.threads == 2) {
        Wavefront iterations(solver, m.maxIter, spread);
        if (RunBesideHelper([&] { iterations.run(1); }, [&] { iterations.run(0); }))
            return iterations.report();
        spread.threads = 1; // no second thread to be had
    }
    Wavefront iterations(solver, m.maxIter, spread);
    iterations.run(0);
    return iterations.report();
}

} // namespace kestrel
