#pragma once
#include "app/simulation_state.h"
#include "app/surface.h"

#include <optional>
#include <string>

namespace kestrel {

constexpr Rgb kFlowLineColour = MakeRgb(0, 0, 255);

// Pen width from the flow-line width field: rounded, halves to even; widths
// below 1 draw with 1. Too large for an Integer fails with overflow.
int FlowLinePenWidth(const std::string& widthText);

// The segment through (x, y) along (u, v), lineScale long per unit speed, in
// the coordinates it is drawn with; none where u² + v² is at most 0.00001.
std::optional<Segment> FlowLineThrough(const SimulationState& m, double x, double y, double u,
                                       double v);

} // namespace kestrel
