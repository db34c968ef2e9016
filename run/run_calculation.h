#pragma once
// The run button: a whole calculation with its displays, save prompts and
// the stop button.
#include "app/host.h"
#include "app/simulation_state.h"
#include "app/surface.h"
#include "plot/image_saving.h"
#include "solver/run_time_steps.h"

#include <string>

namespace kestrel {

// "計算結果 " & n & "回目"
std::string StepCaption(int n);

// Display interval from the field text: rounded, halves to even, sign
// dropped; 0 when it rounds to 0.
long long DisplayInterval(const std::string& text);
long long DisplayIntervalOf(double value);

RunEnd RunCalculation(SimulationState& m, Host& host, Surface& picture, SaveDialogState& dialog);

// "計算実行": clears the stop flag and runs.
inline RunEnd StartRun(SimulationState& m, Host& host, Surface& picture, SaveDialogState& dialog) {
    m.stopRequested = 0;
    return RunCalculation(m, host, picture, dialog);
}
// "停止": the run ends before its next step.
inline void RequestStop(SimulationState& m) {
    m.stopRequested = kTrue;
}

} // namespace kestrel
