#include "test_state.h"

#include "cells/cell_map.h"
#include "scripted_host.h"
#include "solver/boundary_conditions.h"
#include "solver/calculation_factors.h"

namespace kestrel::test {

Module1 defaultState() {
    Module1 m;
    m.dt = 0.005;
    m.reynolds = 40;
    m.stepCount = 400;
    m.nx = 61;
    m.ny = 31;
    m.meshSizeX = 10;
    m.meshSizeY = 10;
    m.maxIter = 100;
    m.lineScale = 5;
    m.meshMode = kTrue;
    return m;
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
