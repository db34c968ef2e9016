#pragma once
// On a machine shared with other programs two threads can lose to one
// many times over: every pressure sweep hands rows between the threads, and
// whenever either loses its core for a scheduler slice the other waits. So
// a run measures both: its first steps take one thread (which never loses
// badly), the third and fourth try two, and from then on it keeps whichever
// takes less time a sweep, now and then trying the other for two steps. A
// try that loses waits longer before the next, by at least twice and by as
// much as it lost, so a settled choice costs little. A try of two threads while another program
// is running is not made at all: it would lose, and cost most of all.
#include "app/simulation_state.h"
#include "solver_options.h"

#include <functional>

namespace kestrel {

// How many threads of other programs are ready to run now (from
// /proc/loadavg, less this thread; 0 when it cannot be read).
int OtherThreadsRunning();

class ThreadChooser {
  public:
    explicit ThreadChooser(std::function<int()> othersRunning = OtherThreadsRunning)
        : othersRunning_(std::move(othersRunning)) {}
    // Before a step: whether it keeps to one thread (SolverOptions::stepOnOneThread).
    bool beforeStep(const SimulationState& m, SolverThreads threads);
    // What the step cost: its time and its pressure sweeps.
    void afterStep(double seconds, int sweeps);

  private:
    static constexpr int kWaitAfterSwitch = 8; // steps before trying back
    static constexpr int kLongestWait = 256;
    static constexpr int kStepsATry = 2; // only the last is measured

    bool active_ = false;   // Auto, and a mesh that two threads might speed up
    bool warm_ = false;     // past the run's first step, which is not measured
    bool oneThread_ = true; // the choice kept
    bool trying_ = false;   // this step tries the other choice
    int stepsTried_ = 0;    // of the try under way
    int wait_ = 3;          // the first try starts at the third step
    int stepsSinceTry_ = 0;
    double secondsPerSweep_[2] = {0, 0}; // one thread, two threads; 0 unknown
    std::function<int()> othersRunning_;
};

} // namespace kestrel
