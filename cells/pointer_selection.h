#pragma once
// Marking cells with the pointer on the drawing area: one cell per click,
// or a range between two clicks with a rubber band in between.
#include "app/host.h"
#include "app/module1.h"
#include "app/surface.h"

namespace kestrel {

constexpr Rgb kRubberBandColour = rgb(255, 0, 0);

// Cell index under a pointer coordinate; a position less than 0.00001 past a
// grid line still counts to the cell before it.
Integer CellIndexAt(double position);

void Picture1_MouseDown(Module1& m, Host& host, Surface& picture, int button, int shift, float x,
                        float y);
void Picture1_MouseMove(Module1& m, Surface& picture, int button, int shift, float x, float y);

} // namespace kestrel
