#pragma once
// The run button: a whole calculation with its displays, save prompts and
// the stop button.
#include "app/host.h"
#include "app/module1.h"
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

RunEnd RunCalculation(Module1& m, Host& host, Surface& picture, SaveDialogState& dialog);

inline RunEnd Command1_Click(Module1& m, Host& host, Surface& picture, SaveDialogState& dialog) {
    m.stopRequested = 0;
    return RunCalculation(m, host, picture, dialog);
}
inline void Command7_Click(Module1& m) {
    m.stopRequested = kTrue;
}

} // namespace kestrel
