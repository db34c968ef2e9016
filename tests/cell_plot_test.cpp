// A plot handed to the picture in one piece must leave exactly the pixels
// that drawing each box and then its line, cell after cell, would leave.
#include "canvas/image_surface.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace kestrel {
namespace {

enum class Nodes { Equal, Stretched, Mirrored, Shuffled };

struct Mesh {
    std::vector<float> x, y;
};

std::vector<float> nodes(Nodes kind, int count, std::mt19937& rng) {
    std::uniform_real_distribution<float> width(2, 25);
    std::vector<float> v(static_cast<std::size_t>(count) + 1, 0);
    for (std::size_t k = 1; k < v.size(); ++k)
        v[k] = v[k - 1] + (kind == Nodes::Equal ? 10 : width(rng));
    if (kind == Nodes::Mirrored) std::reverse(v.begin(), v.end());
    if (kind == Nodes::Shuffled) std::shuffle(v.begin(), v.end(), rng);
    return v;
}

// Colours from a few bands, black among them; lines short and long, some
// of a single point, some far outside the picture.
CellPlot randomPlot(Nodes kind, int columns, int rows, unsigned seed) {
    std::mt19937 rng(seed);
    CellPlot plot;
    plot.xNodes = nodes(kind, columns, rng);
    plot.yNodes = nodes(kind, rows, rng);
    plot.columnCount = columns;
    plot.lineColour = MakeRgb(0, 0, 255);
    const Rgb palette[] = {MakeRgb(0, 0, 0), MakeRgb(100, 200, 128), MakeRgb(255, 64, 64),
                           MakeRgb(255, 255, 64)};
    std::uniform_int_distribution<int> pick(0, 3);
    std::uniform_real_distribution<float> unit(-1, 1);
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            plot.colours.push_back(palette[pick(rng)]);
            if (pick(rng) == 0) continue; // a still cell
            const float x = (plot.xNodes[c] + plot.xNodes[c + 1]) / 2;
            const float y = (plot.yNodes[r] + plot.yNodes[r + 1]) / 2;
            const float reach = pick(rng) == 3 ? 400 : pick(rng) == 2 ? 0 : 15;
            const float dx = reach * unit(rng);
            const float dy = reach * unit(rng);
            plot.lines.push_back({plot.colours.size() - 1, {x - dx, y - dy, x + dx, y + dy}});
        }
    }
    return plot;
}

// The plain way: every box, then the lines of its cell.
void drawOneByOne(ImageSurface& s, const CellPlot& plot) {
    const int saved = s.penWidth();
    s.setPenWidth(plot.linePenWidth);
    const int rows = plot.rows();
    for (std::size_t k = 0; k < plot.colours.size(); ++k) {
        const int c = plot.firstColumn + static_cast<int>(k / rows);
        const int r = static_cast<int>(k % rows);
        s.fillBox(plot.xNodes[c], plot.yNodes[r], plot.xNodes[c + 1], plot.yNodes[r + 1],
                  plot.colours[k]);
        for (const CellPlot::Line& line : plot.lines)
            if (line.cell == k)
                s.drawLine(line.segment.x1, line.segment.y1, line.segment.x2, line.segment.y2,
                           plot.lineColour);
    }
    s.setPenWidth(saved);
}

// The same plot cut into pieces of `width` columns, as a plot of a large mesh is.
std::vector<CellPlot> inPieces(const CellPlot& whole, int width) {
    std::vector<CellPlot> pieces;
    const std::size_t rows = static_cast<std::size_t>(whole.rows());
    for (int first = 0; first < whole.columnCount; first += width) {
        CellPlot piece = whole;
        piece.firstColumn = first;
        piece.columnCount = std::min(width, whole.columnCount - first);
        const std::size_t from = first * rows;
        const std::size_t to = from + piece.columnCount * rows;
        piece.colours.assign(whole.colours.begin() + from, whole.colours.begin() + to);
        piece.lines.clear();
        for (CellPlot::Line line : whole.lines)
            if (line.cell >= from && line.cell < to) {
                line.cell -= from;
                piece.lines.push_back(line);
            }
        pieces.push_back(piece);
    }
    return pieces;
}

int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

class CellPlotDrawing : public ::testing::TestWithParam<Nodes> {
  protected:
    ImageSurface atOnce{7215, 3600};
    ImageSurface oneByOne{7215, 3600};
    // Both pictures show the plot's node range, or the part given.
    void scaleTo(const CellPlot& plot, float fraction = 1) {
        const auto [left, right] = std::minmax_element(plot.xNodes.begin(), plot.xNodes.end());
        const auto [top, bottom] = std::minmax_element(plot.yNodes.begin(), plot.yNodes.end());
        for (ImageSurface* s : {&atOnce, &oneByOne})
            s->setScale(*left, *top, (*right - *left) * fraction, (*bottom - *top) * fraction);
    }
    void expectSamePictures() { EXPECT_EQ(differingPixels(atOnce.image(), oneByOne.image()), 0); }
};

TEST_P(CellPlotDrawing, WholeMeshesOfManySizes) {
    for (const auto& [columns, rows] : {std::pair{61, 31}, {1, 1}, {3, 40}, {130, 7}}) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(testing::Message() << columns << " x " << rows << ", seed " << seed);
            const CellPlot plot = randomPlot(GetParam(), columns, rows, seed);
            scaleTo(plot);
            atOnce.clear();
            oneByOne.clear();
            atOnce.drawCellPlot(plot);
            drawOneByOne(oneByOne, plot);
            expectSamePictures();
        }
    }
}

TEST_P(CellPlotDrawing, InPiecesAndWithTheMeshPartlyOutsideThePicture) {
    const CellPlot plot = randomPlot(GetParam(), 50, 20, 7);
    scaleTo(plot, 0.6f); // the far columns and rows lie outside
    drawOneByOne(oneByOne, plot);
    for (const CellPlot& piece : inPieces(plot, 7))
        atOnce.drawCellPlot(piece);
    expectSamePictures();
}

// A failure while the plot is made: the cells before it are drawn, nothing after.
TEST_P(CellPlotDrawing, APieceCutShortByAFailure) {
    const CellPlot plot = randomPlot(GetParam(), 30, 12, 11);
    scaleTo(plot);
    std::vector<CellPlot> pieces = inPieces(plot, 8);
    CellPlot& cut = pieces[2];
    cut.colours.resize(29); // into its third column
    std::erase_if(cut.lines, [](const CellPlot::Line& line) { return line.cell >= 28; });
    for (int k = 0; k <= 2; ++k) {
        atOnce.drawCellPlot(pieces[k]);
        drawOneByOne(oneByOne, pieces[k]);
    }
    expectSamePictures();
}

TEST_P(CellPlotDrawing, WidePensAndExclusiveOrKeepTheirOwnRules) {
    CellPlot plot = randomPlot(GetParam(), 20, 10, 5);
    scaleTo(plot);
    plot.linePenWidth = 3;
    atOnce.drawCellPlot(plot);
    drawOneByOne(oneByOne, plot);
    expectSamePictures();
    EXPECT_EQ(atOnce.penWidth(), 1); // the picture's own pen is back

    plot.linePenWidth = 1;
    for (ImageSurface* s : {&atOnce, &oneByOne})
        s->setDrawMode(DrawMode::XorPen);
    atOnce.drawCellPlot(plot);
    drawOneByOne(oneByOne, plot);
    expectSamePictures();
}

std::string nodesName(const ::testing::TestParamInfo<Nodes>& info) {
    static const char* const names[] = {"Equal", "Stretched", "Mirrored", "Shuffled"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Meshes, CellPlotDrawing,
                         ::testing::Values(Nodes::Equal, Nodes::Stretched, Nodes::Mirrored,
                                           Nodes::Shuffled),
                         nodesName);

} // namespace
} // namespace kestrel
