#include "defaults.h"

namespace kestrel {

void ApplyDefaults(SimulationState& m) {
    m.dt = kDefaults.dt;
    m.reynolds = kDefaults.reynolds;
    m.stepCount = kDefaults.stepCount;
    m.nx = kDefaults.nx;
    m.ny = kDefaults.ny;
    m.meshSizeX = kDefaults.meshSizeX;
    m.meshSizeY = kDefaults.meshSizeY;
    m.maxIter = kDefaults.maxIter;
    m.lineScale = kDefaults.lineScale;
    m.meshMode = kTrue;
}

} // namespace kestrel
