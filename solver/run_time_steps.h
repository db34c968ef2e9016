#pragma once
// The calculation itself, shared by the run button and the batch runner:
// initialisation, then the time steps with their checks.
#include "app/host.h"
#include "app/simulation_state.h"
#include "time_step.h"

namespace kestrel {

enum class RunEnd { Completed, Stopped, Cancelled, Refused, Failed, Diverged };

class StepObserver {
  public:
    virtual ~StepObserver() = default;
    // After step n; false ends the run.
    virtual bool stepDone(int n, const StepReport& report) = 0;
};

// Refuses unusable parameters before anything changes, reports failures of
// the initialisation, stops when stopRequested is set (checked after the
// pending events at the start of each step), and stops a run whose values
// leave the Double range with the field of the last finite step restored.
RunEnd RunTimeSteps(SimulationState& m, Host& host, StepObserver& observer,
                    SolverThreads threads = SolverThreads::Auto);

} // namespace kestrel
