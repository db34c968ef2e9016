#include "chart_panels.h"

namespace kestrel {

std::pair<QRectF, QRectF> TwoPanelAreas(QSize size) {
    const double panelHeight = (size.height() - 2.0 * (kChartTop + kChartBottom)) / 2;
    const QRectF top(kChartLeft, kChartTop, size.width() - kChartLeft - kChartRight, panelHeight);
    const QRectF bottom(kChartLeft, top.bottom() + kChartBottom + kChartTop, top.width(),
                        panelHeight);
    return {top, bottom};
}

void DrawPanelFrame(QPainter& p, const Panel& panel, const QString& title, const QString& lowText,
                    const QString& highText) {
    p.setPen(Qt::black);
    p.drawRect(panel.area);
    p.drawText(QPointF(panel.area.left(), panel.area.top() - 6), title);
    const QRectF label(0, 0, kChartLeft - 8, 16);
    p.drawText(label.translated(0, panel.area.top() - 2), Qt::AlignRight, highText);
    p.drawText(label.translated(0, panel.area.bottom() - 14), Qt::AlignRight, lowText);
}

void DrawStepLabels(QPainter& p, const QRectF& area, int count) {
    p.setPen(Qt::black);
    const QRectF stepLabel(kChartLeft, area.bottom() + 4, area.width(), 16);
    p.drawText(stepLabel, Qt::AlignLeft, "1");
    p.drawText(stepLabel, Qt::AlignRight, QString::number(count));
    p.drawText(stepLabel, Qt::AlignHCenter, "時間ステップ");
}

std::pair<double, double> RangeOf(const std::vector<ColumnRange>& ranges, double low, double high) {
    for (const ColumnRange& r : ranges)
        if (r.firstStep != 0) {
            low = std::min(low, r.least);
            high = std::max(high, r.most);
        }
    return {low, high};
}

// Separate lines, not one polyline: a wide pen strokes a long zig-zag
// polyline far more slowly.
void DrawSeries(QPainter& p, const Panel& panel, const std::vector<ColumnRange>& ranges,
                bool joined) {
    std::vector<QLineF> lines;
    std::optional<QPointF> previous;
    for (const ColumnRange& r : ranges) {
        if (r.firstStep == 0) continue;
        const QPointF low = panel.at(r.firstStep, r.least);
        const QPointF high = panel.at(r.firstStep, r.most);
        if (joined && previous) lines.emplace_back(*previous, low);
        if (r.least != r.most) lines.emplace_back(low, high);
        previous = high;
    }
    p.drawLines(lines.data(), static_cast<int>(lines.size()));
}

} // namespace kestrel
