#pragma once
// Records the pressure sweeps of every step of a run.
#include "solver/run_time_steps.h"

#include <vector>

namespace kestrel::test {

class SweepRecorder : public StepObserver {
  public:
    std::vector<int> sweeps;
    bool stepDone(int, const StepReport& r) override {
        sweeps.push_back(r.sweeps);
        return true;
    }
};

} // namespace kestrel::test
