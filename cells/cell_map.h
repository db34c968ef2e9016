#pragma once
// The obstacle map: creating it, drawing it as equal squares, and the
// commands that switch pointer editing on.
#include "app/host.h"
#include "app/simulation_state.h"
#include "app/surface.h"

namespace kestrel {

constexpr Rgb kFluidColour = MakeRgb(0, 255, 255);
constexpr Rgb kSolidColour = MakeRgb(255, 0, 0);
constexpr Rgb kOutlineColour = MakeRgb(0, 0, 0);

// Obstacles red, everything else (any code but 0) cyan.
constexpr Rgb CellColour(Integer kind) {
    return kind == 0 ? kSolidColour : kFluidColour;
}

void InitCellMap(SimulationState& m);
// 0 when the whole map was drawn, else the number of the failure.
int DrawCellMap(SimulationState& m, Surface& picture);
int ShowCellMap(SimulationState& m, Host& host, Surface& picture);
// New value of a cell from its current one, by the change mode.
Integer NewCellKind(Host& host, Integer v);

// "流体有無指定": shows the map (offering to make it) and switches pointer
// editing on in the mode the range toggle stands for.
void StartCellEditing(SimulationState& m, Host& host, Surface& picture);
// "流体箇所初期化": after a question, an all-fluid map, drawn.
void ResetCellMap(SimulationState& m, Host& host, Surface& picture);
// "範囲指定" / "点指定": shows the map and switches between range and point editing.
void ToggleRangeSelection(SimulationState& m, Host& host, Surface& picture);

// A filled box with a black outline over the same corners.
void DrawOutlinedBox(Surface& picture, float x1, float y1, float x2, float y2, Rgb fill);

// One square of the map at its place in the current coordinate system.
void DrawCell(const SimulationState& m, Surface& picture, int i, int j);

} // namespace kestrel
