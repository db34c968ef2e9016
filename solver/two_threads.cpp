#include "two_threads.h"

#include "helper_thread.h"

namespace kestrel {

// Two threads pay off once half the rows outgrow what one core keeps close
// (measured here: from about 40 000 points on). Below that one core is as
// fast, and waking the helper and handing rows over costs more than it saves.
bool LargeEnoughForTwoThreads(const SimulationState& m) {
    const long long points = static_cast<long long>(m.nx + 2) * (m.ny + 2);
    return m.nx >= 128 && points >= 32768 && AvailableCores() >= 2;
}

bool WorthTwoThreads(const SimulationState& m, const SolverOptions& options) {
    switch (options.threads) {
    case SolverThreads::Always:
        return true;
    case SolverThreads::One:
        return false;
    case SolverThreads::Two:
        return LargeEnoughForTwoThreads(m);
    case SolverThreads::Auto:
        break;
    }
    return !options.stepOnOneThread && LargeEnoughForTwoThreads(m);
}

int ForRowHalves(const SimulationState& m, const SolverOptions& options, int first, int last,
                 const std::function<void(int from, int to)>& rows) {
    if (last - first >= 1 && WorthTwoThreads(m, options)) {
        const int split = first + (last - first + 1) / 2;
        if (RunBesideHelper([&] { rows(split, last); }, [&] { rows(first, split - 1); }))
            return split;
    }
    if (first <= last) rows(first, last);
    return last + 1;
}

} // namespace kestrel
