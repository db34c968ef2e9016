#pragma once
// The X Y U V P table: header, rule, one 42-character row per cell, CRLF.
#include "app/simulation_state.h"

#include <functional>
#include <string>

namespace kestrel {

inline const std::string kTableHeader = "     X     Y      U         V         P \r\n"
                                        "-------------------------------------------\r\n";

// "#0.0000": four decimals, halfway values away from zero, no sign on a
// value that rounds to zero.
std::string FormatFixed4(double v);

// The right-most width characters of width blanks followed by text.
std::string RightAligned(const std::string& text, std::size_t width);

// Row of cell (i, j); the index failure when the fields do not hold it.
void AppendTableRow(std::string& out, const SimulationState& m, int i, int j);

struct TableRange {
    int firstI, lastI, firstJ, lastJ;
};

// Header, rule and the rows of the range, j outer and i inner; beforeRow(j)
// runs before each row of j.
std::string BuildResultTable(const SimulationState& m, TableRange range,
                             const std::function<void(int j)>& beforeRow = {});

} // namespace kestrel
