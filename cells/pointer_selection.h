#pragma once
// Marking cells with the pointer on the drawing area: one cell per click,
// or a range between two clicks with a rubber band in between.
#include "app/host.h"
#include "app/simulation_state.h"
#include "app/surface.h"

namespace kestrel {

constexpr Rgb kRubberBandColour = MakeRgb(255, 0, 0);

// Cell index under a pointer coordinate; a position less than 0.00001 past a
// grid line still counts to the cell before it.
Integer CellIndexAt(double position);

// A button pressed, and the pointer moved, over the drawing area.
void PressOnPicture(SimulationState& m, Host& host, Surface& picture, int button, float x, float y);
void MoveOnPicture(SimulationState& m, Surface& picture, float x, float y);

} // namespace kestrel
