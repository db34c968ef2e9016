#pragma once
// The result plots: every cell coloured by pressure or speed, true to the
// mesh's shape, with a flow line through each.
#include "app/host.h"
#include "app/module1.h"
#include "app/surface.h"

namespace kestrel {

// Each reports its own failure; the result says whether the plot was drawn whole.
bool DrawPressurePlot(Module1& m, Host& host, Surface& picture);
bool DrawSpeedPlot(Module1& m, Host& host, Surface& picture);

// The plot the colour option selects.
bool ShowResult(Module1& m, Host& host, Surface& picture);
inline void Option6_Click(Module1& m, Host& host, Surface& picture) {
    ShowResult(m, host, picture);
}
inline void Option7_Click(Module1& m, Host& host, Surface& picture) {
    ShowResult(m, host, picture);
}
inline void Command9_Click(Module1& m, Host& host, Surface& picture) {
    ShowResult(m, host, picture);
}

} // namespace kestrel
