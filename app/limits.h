#pragma once
// The sizes the program keeps to, in one place.

namespace kestrel {

// Mesh counts a run takes: every solver step needs an interior point, and
// nx + 1 / ny + 1 must fit the 16-bit Integer.
constexpr int kMinRunMeshCount = 5;
constexpr int kMaxMeshCount = 32766;

// Largest mesh, cells including the border ring, the program takes on:
// beyond it the arrays of a run would not fit this machine comfortably.
constexpr long long kMaxMeshCells = 16'000'000;

// Twips (1/1440 inch) to a pixel: the window's layout and the pictures'
// resolution (96 per inch) both count in them.
constexpr int kTwipsPerPixel = 15;

// The drawing area as the main window lays it out, in twips; the runner
// draws its pictures the same size.
constexpr int kPictureWidthTwips = 7215;
constexpr int kPictureHeightTwips = 3735;

} // namespace kestrel
