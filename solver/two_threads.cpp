#include "two_threads.h"

#include "helper_thread.h"

namespace kestrel {

namespace {

SolverThreads threadsForTesting = SolverThreads::Auto;

} // namespace

void SetSolverThreadsForTesting(SolverThreads use) {
    threadsForTesting = use;
}

// Two threads pay off once half the rows outgrow what one core keeps close
// (measured here: from about 40 000 points on). Below that one core is as
// fast, and waking the helper and handing rows over costs more than it saves.
bool WorthTwoThreads(const SimulationState& m) {
    switch (threadsForTesting) {
    case SolverThreads::Always:
        return true;
    case SolverThreads::Never:
        return false;
    case SolverThreads::Auto:
        break;
    }
    const long long points = static_cast<long long>(m.nx + 2) * (m.ny + 2);
    return m.nx >= 128 && points >= 32768 && AvailableCores() >= 2;
}

int ForRowHalves(const SimulationState& m, int first, int last,
                 const std::function<void(int from, int to)>& rows) {
    if (last - first >= 1 && WorthTwoThreads(m)) {
        const int split = first + (last - first + 1) / 2;
        if (RunBesideHelper([&] { rows(split, last); }, [&] { rows(first, split - 1); }))
            return split;
    }
    if (first <= last) rows(first, last);
    return last + 1;
}

} // namespace kestrel
