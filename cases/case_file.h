#pragma once
// A calculation case in JSON, under the state's own names; missing keys
// take the main window's defaults. The runner takes what the window
// would run: values that make no physical sense only earn a warning, values
// that would make the outputs meaningless are refused.
#include "app/host.h"
#include "app/parameters.h"
#include "runtime/failure.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct CaseFile {
    SimulationState state; // parameters, coordinate lists and the cell map
    Display display = Display::Pressure;
    int lineWidth = kDisplayDefaults.lineWidth;
    // The window's run options; the runner draws no picture between steps.
    double displayInterval = kDisplayDefaults.displayInterval;
    bool confirmEachDisplay = kDisplayDefaults.confirmEachDisplay;
    std::vector<Reason> warnings; // one line each: what the case will do that it may not mean
};

// A case that cannot be read or saved; each reason is one short line
// naming the key or the line and column in the file. what() begins "case file: ".
Failure CaseFailure(const Reason& reason);

// A key's value refused: "\"key\" must ..." and 「key」は….
Reason KeyReason(std::string_view key, const Reason& why);

// What a case file written by this program says it is; a file without it
// (older ones, or written by hand) is read all the same.
inline constexpr const char* kCaseFormat = "kestrel-case 1";

// The largest case file read; a longer input is refused, never read whole.
constexpr std::size_t kMaxCaseFileBytes = 64u << 20;

CaseFile ReadCaseFile(std::string_view json);

// The text of a case file; refuses folders, unreadable paths and inputs
// longer than kMaxCaseFileBytes (also endless ones such as /dev/zero).
std::string ReadCaseText(const std::string& path);

// The main window's defaults, with an all-fluid cell map.
CaseFile DefaultCase();

// What a case holds besides the table's parameters: the coordinate lists,
// the cell map, the monitor cell and the method.
void CopyCaseContents(const SimulationState& from, SimulationState& to);

} // namespace kestrel
