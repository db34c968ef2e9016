#include "row_sweep.h"

namespace kestrel {

int WidestLanes() {
    static const int widest = [] {
        __builtin_cpu_init(); // in case this runs before the program's constructors
        return __builtin_cpu_supports("avx") ? 4 : 2;
    }();
    return widest;
}

const RowSweeps& ChooseRowSweeps(int lanes) {
    static const RowSweeps two = TwoLaneRowSweeps();
    static const RowSweeps four = WidestLanes() == 4 ? FourLaneRowSweeps() : two;
    return (lanes == 0 ? WidestLanes() : lanes) == 4 ? four : two;
}

} // namespace kestrel
