#pragma once
// The obstacle map: creating it, drawing it as equal squares, and the
// commands that switch pointer editing on.
#include "app/host.h"
#include "app/module1.h"
#include "app/surface.h"

namespace kestrel {

constexpr Rgb kFluidColour = rgb(0, 255, 255);
constexpr Rgb kSolidColour = rgb(255, 0, 0);
constexpr Rgb kOutlineColour = rgb(0, 0, 0);

void InitCellMap(Module1& m);
// 0 when the whole map was drawn, else the number of the failure.
int DrawCellMap(Module1& m, Surface& picture);
int ShowCellMap(Module1& m, Host& host, Surface& picture);
// New value of a cell from its current one, by the change mode.
Integer NewCellKind(Host& host, Integer v);

void Command3_Click(Module1& m, Host& host, Surface& picture);
void Command4_Click(Module1& m, Host& host, Surface& picture);
void Command5_Click(Module1& m, Host& host, Surface& picture);

// A filled box with a black outline over the same corners.
void DrawOutlinedBox(Surface& picture, float x1, float y1, float x2, float y2, Rgb fill);

// One square of the map at its place in the current coordinate system.
void DrawCell(const Module1& m, Surface& picture, int i, int j);

} // namespace kestrel
