#include "test_state.h"

#include "app/parameters.h"
#include "cells/cell_map.h"
#include "scripted_host.h"
#include "solver/boundary_conditions.h"
#include "solver/calculation_factors.h"

namespace kestrel::test {

SimulationState defaultState() {
    SimulationState m;
    ApplyDefaults(m); // the window starts without a cell map
    return m;
}

void addDefaultObstacle(SimulationState& m) {
    for (int i = 15; i <= 19; ++i)
        for (int j = 14; j <= 18; ++j)
            m.cellKind(i, j) = 0;
}

SimulationState meshState(int nx, int ny, int meshSize) {
    SimulationState m = defaultState();
    m.nx = static_cast<Integer>(nx);
    m.ny = static_cast<Integer>(ny);
    m.meshSizeX = m.meshSizeY = static_cast<Integer>(meshSize);
    InitCellMap(m);
    return m;
}

SimulationState divergingState() {
    SimulationState m = meshState(20, 12, 1);
    m.cellKind(6, 5) = m.cellKind(7, 5) = m.cellKind(6, 6) = m.cellKind(7, 6) = 0;
    m.dt = 2.0;
    m.stepCount = 300;
    return m;
}

void initialiseRun(SimulationState& m) {
    ScriptedHost host;
    InitCalculationFactors(m, host);
    InitBoundaryConditions(m, host);
    SetInitialConditions(m);
}

void stretchCoordinates(SimulationState& m) {
    m.meshMode = 0;
    m.coordListX.redim(m.nx + 1);
    m.coordListY.redim(m.ny + 1);
    double x = 0;
    for (int k = 1; k <= m.nx + 1; ++k, x += 0.5 + 0.07 * k)
        m.coordListX(k) = x;
    double y = 0;
    for (int k = 1; k <= m.ny + 1; ++k, y += 1.5 - 0.05 * k)
        m.coordListY(k) = y;
}

} // namespace kestrel::test
