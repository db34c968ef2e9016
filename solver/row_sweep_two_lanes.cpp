// The row sweep in two lanes: what every x86-64 processor runs.
#include "row_sweep_in_lanes.h"

namespace kestrel {

RowSweeps TwoLaneRowSweeps() {
    return InLanes<2>::sweeps();
}

} // namespace kestrel
