#include "field_plot.h"

#include "app/handler_guard.h"
#include "color_scale.h"
#include "flow_line.h"
#include "mesh/mesh_picture.h"
#include "runtime/failure.h"

#include <cmath>
#include <optional>

namespace kestrel {

namespace {

constexpr Rgb kBlack = MakeRgb(0, 0, 0);

struct Range {
    double minimum;
    double maximum;
};

template <typename CellValue>
void drawPlot(SimulationState& m, Host& host, Surface& picture, Range range, CellValue value) {
    WidenEmptyRange(range.minimum, range.maximum);
    PrepareMeshPicture(m, picture);
    // No events run during a plot, so the width field cannot change under it.
    const std::string widthText = host.lineWidthText();
    std::optional<int> penWidth; // converted at the first line, where a bad width fails
    for (int i = 2; i <= m.nx + 1; ++i) {
        for (int j = 2; j <= m.ny + 1; ++j) {
            const int c = i - 1;
            const int r = j - 1;
            Rgb colour = kBlack;
            const bool edge = i == 2 || j == 2 || i == m.nx + 1 || j == m.ny + 1;
            if (!edge && m.cellKind.at(c, r) != 0)
                colour = colorMap(range.minimum, range.maximum, value(c, r));
            picture.fillBox(static_cast<float>(m.xNode.at(c)), static_cast<float>(m.yNode.at(r)),
                            static_cast<float>(m.xNode.at(c + 1)),
                            static_cast<float>(m.yNode.at(r + 1)), colour);
            const double u = m.U.at(c, r);
            const double v = m.V.at(c, r);
            if (u * u + v * v <= 0.00001) continue; // no line, so no pen width needed
            if (!penWidth) penWidth = FlowLinePenWidth(widthText);
            DrawFlowLine(m, picture, *penWidth, 0.5 * (m.xNode(c + 1) + m.xNode(c)),
                         0.5 * (m.yNode(r + 1) + m.yNode(r)), u, v);
        }
    }
}

void reportPlotFailure(Host& host, const Failure& f) {
    host.message(FailureMessage(f.description(), "計算結果表示"), Buttons::Ok);
}

} // namespace

bool DrawPressurePlot(SimulationState& m, Host& host, Surface& picture) {
    try {
        const double minimum = ArrayMin(m.P, m.nx, m.ny);
        const double maximum = ArrayMax(m.P, m.nx, m.ny);
        drawPlot(m, host, picture, {minimum, maximum}, [&m](int c, int r) { return m.P.at(c, r); });
        return true;
    } catch (const Failure& f) {
        reportPlotFailure(host, f);
        return false;
    }
}

bool DrawSpeedPlot(SimulationState& m, Host& host, Surface& picture) {
    try {
        FindSpeedRange(m);
        drawPlot(m, host, picture, {m.speedMin, m.speedMax}, [&m](int c, int r) {
            return std::sqrt(m.U.at(c, r) * m.U(c, r) + m.V.at(c, r) * m.V(c, r));
        });
        return true;
    } catch (const Failure& f) {
        reportPlotFailure(host, f);
        return false;
    }
}

bool ShowResult(SimulationState& m, Host& host, Surface& picture) {
    if (host.display() == Display::Pressure) return DrawPressurePlot(m, host, picture);
    return DrawSpeedPlot(m, host, picture);
}

} // namespace kestrel
