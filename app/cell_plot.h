#pragma once
// A result plot handed to the picture in one piece: a filled box for every
// cell and a line through the cells that have one. It must look exactly as
// if each box were drawn, then its line, cell after cell: columns left to
// right, each from its first row. A picture that knows every box beforehand
// can draw that without drawing each box.
#include "rgb.h"

#include <cstddef>
#include <vector>

namespace kestrel {

struct Segment {
    float x1, y1, x2, y2;
};

struct CellPlot {
    // Node coordinates of the whole mesh as drawn: columns + 1, rows + 1.
    std::vector<float> xNodes;
    std::vector<float> yNodes;
    // The whole columns this piece covers (0-based); earlier ones are drawn.
    int firstColumn = 0;
    int columnCount = 0;
    // One colour per cell of the piece, column by column. Fewer than the
    // piece's cells when a failure stopped the plot: only these are drawn.
    std::vector<Rgb> colours;
    struct Line {
        std::size_t cell; // index into colours: drawn right after that box
        Segment segment;
    };
    std::vector<Line> lines; // in cell order
    Rgb lineColour = 0;
    int linePenWidth = 1; // at least 1

    int rows() const { return static_cast<int>(yNodes.size()) - 1; }
    bool whole() const { return colours.size() == static_cast<std::size_t>(columnCount) * rows(); }
};

} // namespace kestrel
