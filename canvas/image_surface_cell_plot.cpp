// A result plot on the picture. Drawn box by box, a plot writes every
// pixel of the mesh once per box and converts every node twice per cell;
// knowing all boxes beforehand, the picture gives each pixel the colour of
// the last box that covers it instead.
#include "image_surface.h"
#include "line_raster.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrel {

namespace {

// For every pixel along one axis, the last of the first `count` intervals
// [pixel[k], pixel[k + 1]] (either way round) that covers it; -1 for none.
std::vector<int> lastCovering(const std::vector<int>& pixel, int count, int size) {
    std::vector<int> last(static_cast<std::size_t>(size), -1);
    for (int k = 0; k < count; ++k) {
        const auto [low, high] = std::minmax(pixel[k], pixel[k + 1]);
        for (int p = std::max(low, 0); p <= std::min(high, size - 1); ++p)
            last[p] = k;
    }
    return last;
}

} // namespace

void ImageSurface::drawCellPlot(const CellPlot& plot) {
    if (drawMode_ == DrawMode::CopyPen && plot.linePenWidth == 1 && plot.whole())
        drawCellPlotAtOnce(plot);
    else
        drawCellPlotInOrder(plot);
    notifyChanged();
}

void ImageSurface::drawCellPlotInOrder(const CellPlot& plot) {
    const int saved = penWidth_;
    setPenWidth(plot.linePenWidth);
    const int rows = plot.rows();
    auto line = plot.lines.begin();
    for (std::size_t k = 0; k < plot.colours.size(); ++k) {
        const int c = plot.firstColumn + static_cast<int>(k) / rows;
        const int r = static_cast<int>(k) % rows;
        fillBox(plot.xNodes[c], plot.yNodes[r], plot.xNodes[c + 1], plot.yNodes[r + 1],
                plot.colours[k]);
        for (; line != plot.lines.end() && line->cell == k; ++line)
            drawLine(line->segment.x1, line->segment.y1, line->segment.x2, line->segment.y2,
                     plot.lineColour);
    }
    penWidth_ = saved;
}

// Boxes cover whole columns and rows of the mesh, so the last box over a
// pixel is that of the last column over its x and the last row over its y.
// A line pixel stays unless a later box covers it. Only for copied,
// one-pixel lines: their pixels do not depend on what is beneath or beside.
void ImageSurface::drawCellPlotAtOnce(const CellPlot& plot) {
    const int rows = plot.rows();
    const int columnsDrawn = plot.firstColumn + plot.columnCount;
    std::vector<int> nodeX(static_cast<std::size_t>(columnsDrawn) + 1);
    std::vector<int> nodeY(plot.yNodes.size());
    for (int c = 0; c <= columnsDrawn; ++c)
        nodeX[c] = pixelX(plot.xNodes[c]);
    for (std::size_t r = 0; r < nodeY.size(); ++r)
        nodeY[r] = pixelY(plot.yNodes[r]);
    const std::vector<int> lastColumn = lastCovering(nodeX, columnsDrawn, columns_);
    const std::vector<int> lastRow = lastCovering(nodeY, rows, rows_);
    Pixels pixels = pixelsForDrawing();

    // The runs of pixel columns whose last box lies in this piece.
    struct Run {
        int from, to, column;
    };
    std::vector<Run> runs;
    for (int x = 0; x < columns_; ++x) {
        const int c = lastColumn[x];
        if (c < plot.firstColumn) continue;
        if (!runs.empty() && runs.back().column == c && runs.back().to == x - 1)
            runs.back().to = x;
        else
            runs.push_back({x, x, c});
    }
    // Pixel rows under the same mesh row look alike: each after the first is
    // copied. The runs touch: neighbouring columns share a node, so the
    // piece's columns cover one stretch, and each pixel there has its last
    // box in this piece.
    for (int y = 0; y < rows_ && !runs.empty(); ++y) {
        const int r = lastRow[y];
        if (r < 0) continue;
        if (y > 0 && lastRow[y - 1] == r) {
            const QRgb* above = pixels.row(y - 1);
            QRgb* line = pixels.row(y); // leaves the row above in memory
            const int from = runs.front().from;
            std::copy(above + from, above + runs.back().to + 1, line + from);
            continue;
        }
        QRgb* line = pixels.row(y);
        for (const Run& run : runs) {
            const Rgb colour =
                plot.colours[static_cast<std::size_t>(run.column - plot.firstColumn) * rows + r];
            std::fill(line + run.from, line + run.to + 1, toQRgb(colour));
        }
    }

    // Draw order of the last box over a pixel, as the sum of a column's and a
    // row's part; below zero where no box is.
    constexpr std::int64_t kNone = -(std::int64_t{1} << 62);
    std::vector<std::int64_t> columnOrder(lastColumn.size());
    std::vector<std::int64_t> rowOrder(lastRow.size());
    for (std::size_t x = 0; x < lastColumn.size(); ++x)
        columnOrder[x] = lastColumn[x] < 0 ? kNone : std::int64_t{lastColumn[x]} * rows;
    for (std::size_t y = 0; y < lastRow.size(); ++y)
        rowOrder[y] = lastRow[y] < 0 ? kNone : lastRow[y];
    // The line ends in pixels first, all together, so that their divisions
    // overlap instead of each waiting for the one before.
    std::vector<PointD> ends(2 * plot.lines.size());
    for (std::size_t k = 0; k < plot.lines.size(); ++k) {
        const Segment& s = plot.lines[k].segment;
        ends[2 * k] = {pixelXf(s.x1), pixelYf(s.y1)};
        ends[2 * k + 1] = {pixelXf(s.x2), pixelYf(s.y2)};
    }
    const QRgb lineValue = toQRgb(plot.lineColour);
    for (std::size_t k = 0; k < plot.lines.size(); ++k) {
        const std::int64_t order = static_cast<std::int64_t>(plot.firstColumn) * rows +
                                   static_cast<std::int64_t>(plot.lines[k].cell);
        RasterLine(ends[2 * k], ends[2 * k + 1], pixels.width, pixels.height, [&](int x, int y) {
            if (columnOrder[x] + rowOrder[y] <= order) pixels.row(y)[x] = lineValue;
        });
    }
}

} // namespace kestrel
