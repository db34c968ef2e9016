#include "thread_choice.h"

#include "two_threads.h"

#include <algorithm>
#include <cstdio>

namespace kestrel {

int OtherThreadsRunning() {
    // "0.52 0.50 0.80 2/345 12345": the threads ready to run, this one among them.
    std::FILE* file = std::fopen("/proc/loadavg", "r");
    if (!file) return 0;
    int running = 0;
    const int read = std::fscanf(file, "%*f %*f %*f %d/", &running);
    std::fclose(file);
    return read == 1 ? std::max(running - 1, 0) : 0;
}

bool ThreadChooser::beforeStep(const SimulationState& m, SolverThreads threads) {
    active_ = threads == SolverThreads::Auto && LargeEnoughForTwoThreads(m);
    if (!active_) return false;
    if (!trying_) {
        trying_ = ++stepsSinceTry_ >= wait_;
        // Kept on one thread, the helper sleeps: any thread running is another program's.
        if (trying_ && oneThread_ && othersRunning_() > 0) trying_ = false;
        stepsTried_ = 0;
    }
    return trying_ ? !oneThread_ : oneThread_;
}

void ThreadChooser::afterStep(double seconds, int sweeps) {
    if (!active_) return;
    // The run's first step starts from cold caches, and the first step of a
    // try moves the field between the cores' caches: measured, either would
    // make the choice it follows look faster than it is.
    if (!warm_) {
        warm_ = true;
        return;
    }
    if (trying_ && ++stepsTried_ < kStepsATry) return;
    const bool one = trying_ ? !oneThread_ : oneThread_;
    // A step's fixed work counts as about two sweeps.
    const double perSweep = seconds / (std::max(sweeps, 0) + 2);
    double& known = secondsPerSweep_[one ? 0 : 1];
    // Recent steps weigh most: the machine's load changes.
    known = known == 0 || trying_ ? perSweep : 0.5 * (known + perSweep);
    if (!trying_) return;
    trying_ = false;
    stepsSinceTry_ = 0;
    const double kept = secondsPerSweep_[oneThread_ ? 0 : 1];
    if (kept != 0 && perSweep < 0.95 * kept) {
        oneThread_ = one; // the other choice is faster now
        wait_ = kWaitAfterSwitch;
    } else {
        const double lost = kept > 0 ? perSweep / kept : 2;
        wait_ = static_cast<int>(std::min<double>(wait_ * std::max(2.0, lost), kLongestWait));
    }
}

} // namespace kestrel
