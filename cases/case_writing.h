#pragma once
// A case written as the JSON text that ReadCaseFile reads back to the same
// values, bit for bit.
#include "case_file.h"

#include <string>

namespace kestrel {

// Numbers in the fewest digits that read back exactly; the obstacles as the
// [i, j] cells of the map within the mesh counts; coordinate lists only when
// they exist, a node without a coordinate as null. Throws CaseError for a
// value JSON cannot hold (an infinity or NaN).
std::string WriteCaseText(const CaseFile& c);

} // namespace kestrel
