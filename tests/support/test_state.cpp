#include "test_state.h"

#include "batch/case_file.h"
#include "cells/cell_map.h"
#include "scripted_host.h"
#include "solver/boundary_conditions.h"
#include "solver/calculation_factors.h"

namespace kestrel::test {

Module1 defaultState() {
    Module1 m = DefaultCase().state;
    m.cellKind.erase(); // the window starts without a cell map
    return m;
}

void addDefaultObstacle(Module1& m) {
    for (int i = 15; i <= 19; ++i)
        for (int j = 14; j <= 18; ++j)
            m.cellKind(i, j) = 0;
}

Module1 meshState(int nx, int ny, int meshSize) {
    Module1 m = defaultState();
    m.nx = static_cast<Integer>(nx);
    m.ny = static_cast<Integer>(ny);
    m.meshSizeX = m.meshSizeY = static_cast<Integer>(meshSize);
    InitCellMap(m);
    return m;
}

void initialiseRun(Module1& m) {
    ScriptedHost host;
    計算因子初期化(m, host);
    境界条件初期化(m, host);
    初期条件(m);
}

} // namespace kestrel::test
