#pragma once
// The result plots: every cell coloured by pressure, speed or vorticity, true to the
// mesh's shape, with a flow line through each.
#include "app/host.h"
#include "app/simulation_state.h"
#include "app/surface.h"

namespace kestrel {

// Each reports its own failure; the result says whether the plot was drawn whole.
bool DrawPressurePlot(SimulationState& m, Host& host, Surface& picture);
bool DrawSpeedPlot(SimulationState& m, Host& host, Surface& picture);
// Vorticity on a diverging scale centred on 0 (blue turning clockwise, red
// anticlockwise in the picture's y-down view), over ± its largest size.
bool DrawVorticityPlot(SimulationState& m, Host& host, Surface& picture);

// The plot the colour option selects: after a run's display interval, the
// redisplay button and either colour option.
bool ShowResult(SimulationState& m, Host& host, Surface& picture);

} // namespace kestrel
