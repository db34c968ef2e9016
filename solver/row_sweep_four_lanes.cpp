// The row sweep in four lanes, built for AVX (see CMakeLists.txt) and only
// chosen where the processor runs it. (Eight lanes under AVX-512 measured
// slower: the rows are short.)
#include "row_sweep_in_lanes.h"

namespace kestrel {

RowSweeps FourLaneRowSweeps() {
    return InLanes<4>::sweeps();
}

} // namespace kestrel
