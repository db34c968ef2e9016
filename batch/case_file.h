#pragma once
// A calculation case read from JSON, under the state's own names; missing
// keys take the main window's defaults.
#include "app/module1.h"

#include <string>
#include <utility>
#include <vector>

namespace kestrel {

struct CaseFile {
    Module1 state; // parameters, coordinate lists and the cell map
    bool pressureDisplay = true;
    int lineWidth = 1;
};

// Throws std::runtime_error with a one-line message naming the key.
CaseFile ReadCaseFile(const std::string& json);

// The main window's defaults, with an all-fluid cell map.
CaseFile DefaultCase();

} // namespace kestrel
