#include "series_chart.h"

#include "chart_panels.h"
#include "runtime/number_text.h"

namespace kestrel {

namespace {

QString label(double v) {
    return QString::fromStdString(SignificantNumber(v, 4));
}

} // namespace

// Scaled to the values after the first tenth of the steps: an impulsive
// start gives forces thousands of times larger than the flow's own, which
// would flatten everything after them. The start is drawn too, cut at the
// panel's edge.
void DrawSeriesPanel(QPainter& p, const QRectF& area, int count,
                     const std::function<double(int)>& valueAt, const QString& title,
                     QColor colour) {
    const int columns = std::max(1, std::min(count, static_cast<int>(area.width())));
    const auto ranges = ColumnRanges(count, columns, [&](std::size_t k) {
        const double v = valueAt(static_cast<int>(k));
        return std::isfinite(v) ? std::optional(v) : std::nullopt;
    });
    std::vector<ColumnRange> later;
    for (const ColumnRange& r : ranges)
        if (r.firstStep > count / 10) later.push_back(r);
    const double first = later.empty() ? 0 : later.front().least;
    auto [low, high] = RangeOf(later, first, first);
    if (high == low) {
        low -= 1;
        high += 1;
    }
    const Panel panel{area, low, high, count};
    DrawPanelFrame(p, panel, title, label(low), label(high));
    p.save();
    p.setClipRect(area);
    p.setPen(QPen(colour, 1.5));
    DrawSeries(p, panel, ranges, true);
    p.restore();
}

void DrawSeriesChart(QWidget& chart, int count, int lastStep, const QString& empty,
                     const std::function<void(QPainter&, const QRectF&, const QRectF&)>& panels) {
    QPainter p(&chart);
    p.fillRect(chart.rect(), Qt::white);
    if (count == 0) {
        p.drawText(chart.rect(), Qt::AlignCenter, empty);
        return;
    }
    const auto [top, bottom] = TwoPanelAreas(chart.size());
    panels(p, top, bottom);
    DrawStepLabels(p, bottom, lastStep);
}

} // namespace kestrel
