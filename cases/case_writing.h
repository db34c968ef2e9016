#pragma once
// A case written as the JSON text that ReadCaseFile reads back to the same
// values, bit for bit.
#include "case_file.h"

#include <string>

namespace kestrel {

// Numbers in the fewest digits that read back exactly; the obstacles as
// runs [j, i1, i2] of the map's painted cells within the mesh counts;
// coordinate lists only when they exist, a node without a coordinate as
// null. Throws CaseFailure for a value JSON cannot hold (an infinity or NaN)
// and for a text longer than a case file may be, which could not be opened.
std::string WriteCaseText(const CaseFile& c);

} // namespace kestrel
