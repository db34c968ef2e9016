#pragma once
#include "app/simulation_state.h"
#include "app/surface.h"

#include <string>

namespace kestrel {

constexpr Rgb kFlowLineColour = MakeRgb(0, 0, 255);

// Pen width from the flow-line width field: rounded, halves to even; widths
// below 1 draw with 1. Too large for an Integer fails with overflow.
int FlowLinePenWidth(const std::string& widthText);

// A blue segment through (x, y) along (u, v), lineScale long per unit speed,
// drawn with the field's pen width; the surface's pen width is restored.
void DrawFlowLine(const SimulationState& m, Surface& picture, int penWidth, double x, double y,
                  double u, double v);

} // namespace kestrel
