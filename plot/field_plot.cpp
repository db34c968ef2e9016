#include "field_plot.h"

#include "app/handler_guard.h"
#include "color_scale.h"
#include "fields/vorticity.h"
#include "flow_line.h"
#include "mesh/mesh_picture.h"
#include "runtime/failure.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kestrel {

namespace {

constexpr Rgb kBlack = MakeRgb(0, 0, 0);

struct Range {
    double minimum;
    double maximum;
};

// Cells handed to the picture at a time, so that a piece's colours and
// lines stay small however large the mesh is.
constexpr int kCellsPerPiece = 1 << 16;

// The colours of a fluid cell come from colour(c, r); the legend says what
// they stand for once the plot is drawn whole.
template <typename CellColour>
void drawPlot(SimulationState& m, Host& host, Surface& picture, CellColour colour,
              const ColourLegend& legend) {
    PrepareMeshPicture(m, picture);
    if (m.nx < 1 || m.ny < 1) return;
    // No events run during a plot, so the width field cannot change under it.
    const std::string widthText = host.lineWidthText();
    std::optional<int> penWidth; // converted at the first line, where a bad width fails
    CellPlot plot;
    plot.lineColour = kFlowLineColour;
    for (int c = 1; c <= m.nx + 1; ++c)
        plot.xNodes.push_back(static_cast<float>(m.xNode.at(c)));
    for (int r = 1; r <= m.ny + 1; ++r)
        plot.yNodes.push_back(static_cast<float>(m.yNode.at(r)));
    const int pieceColumns = std::max(1, kCellsPerPiece / m.ny);
    for (int first = 1; first <= m.nx; first += pieceColumns) {
        plot.firstColumn = first - 1;
        plot.columnCount = std::min(pieceColumns, m.nx - first + 1);
        plot.colours.clear();
        plot.lines.clear();
        plot.colours.reserve(static_cast<std::size_t>(plot.columnCount) * m.ny);
        plot.lines.reserve(plot.colours.capacity());
        try {
            for (int c = first; c < first + plot.columnCount; ++c) {
                for (int r = 1; r <= m.ny; ++r) {
                    const bool edge = c == 1 || r == 1 || c == m.nx || r == m.ny;
                    plot.colours.push_back(edge || m.cellKind.at(c, r) == 0 ? kBlack
                                                                            : colour(c, r));
                    const auto line = FlowLineThrough(m, 0.5 * (m.xNode(c + 1) + m.xNode(c)),
                                                      0.5 * (m.yNode(r + 1) + m.yNode(r)),
                                                      m.U.at(c, r), m.V.at(c, r));
                    if (!line) continue;
                    if (!penWidth) {
                        penWidth = FlowLinePenWidth(widthText);
                        plot.linePenWidth = *penWidth;
                    }
                    plot.lines.push_back({plot.colours.size() - 1, *line});
                }
            }
        } catch (const Failure&) {
            picture.drawCellPlot(plot); // what came before the failure is shown
            throw;
        }
        picture.drawCellPlot(plot);
    }
    picture.setLegend(legend);
}

// A plot coloured by the ten-band scale over minimum..maximum.
template <typename CellValue>
void drawBandedPlot(SimulationState& m, Host& host, Surface& picture, Range range,
                    const char* quantity, CellValue value) {
    WidenEmptyRange(range.minimum, range.maximum);
    drawPlot(
        m, host, picture,
        [&](int c, int r) { return colorMap(range.minimum, range.maximum, value(c, r)); },
        BandLegend(quantity, range.minimum, range.maximum));
}

void reportPlotFailure(Host& host, const Failure& f) {
    host.message(FailureMessage(f.japanese(), "計算結果表示"), Buttons::Ok);
}

} // namespace

bool DrawPressurePlot(SimulationState& m, Host& host, Surface& picture) {
    try {
        const double minimum = ArrayMin(m.P, m.nx, m.ny);
        const double maximum = ArrayMax(m.P, m.nx, m.ny);
        drawBandedPlot(m, host, picture, {minimum, maximum}, "圧力 P",
                       [&m](int c, int r) { return m.P.at(c, r); });
        return true;
    } catch (const Failure& f) {
        reportPlotFailure(host, f);
        return false;
    }
}

bool DrawSpeedPlot(SimulationState& m, Host& host, Surface& picture) {
    try {
        FindSpeedRange(m);
        drawBandedPlot(m, host, picture, {m.speedMin, m.speedMax}, "速度の大きさ",
                       [&m](int c, int r) {
                           return std::sqrt(m.U.at(c, r) * m.U(c, r) + m.V.at(c, r) * m.V(c, r));
                       });
        return true;
    } catch (const Failure& f) {
        reportPlotFailure(host, f);
        return false;
    }
}

bool DrawVorticityPlot(SimulationState& m, Host& host, Surface& picture) {
    try {
        // Centred on 0: the largest turn either way over the cells the plot colours.
        double largest = 0;
        for (int r = 2; r < m.ny; ++r)
            for (int c = 2; c < m.nx; ++c)
                largest = std::max(largest, std::abs(VorticityAt(m, c, r)));
        if (!std::isfinite(largest)) ThrowOverflow();
        if (largest == 0) largest = 1;
        drawPlot(
            m, host, picture,
            [&](int c, int r) { return DivergingColour(-largest, largest, VorticityAt(m, c, r)); },
            DivergingLegend("渦度 ω", -largest, largest));
        return true;
    } catch (const Failure& f) {
        reportPlotFailure(host, f);
        return false;
    }
}

bool ShowResult(SimulationState& m, Host& host, Surface& picture) {
    switch (host.display()) {
    case Display::Pressure:
        return DrawPressurePlot(m, host, picture);
    case Display::Speed:
        return DrawSpeedPlot(m, host, picture);
    case Display::Vorticity:
        return DrawVorticityPlot(m, host, picture);
    }
    return false;
}

} // namespace kestrel
