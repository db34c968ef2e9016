#include "force_chart.h"

#include "chart_panels.h"
#include "runtime/number_text.h"

namespace kestrel {

namespace {

QString label(double v) {
    return QString::fromStdString(SignificantNumber(v, 4));
}

// One coefficient in a panel scaled to its values after the first tenth of
// the steps: an impulsive start gives forces thousands of times larger than
// the flow's own, which would flatten everything after them. The start is
// drawn too, cut at the panel's edge.
template <typename Value>
void drawCoefficient(QPainter& p, const QRectF& area, const std::vector<ForceRecord>& forces,
                     const QString& title, QColor colour, Value value) {
    const int count = static_cast<int>(forces.size());
    const int columns = std::max(1, std::min(count, static_cast<int>(area.width())));
    const auto ranges = ColumnRanges(forces, columns, [&](const ForceRecord& f) {
        const double v = value(f);
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

} // namespace

ForceChart::ForceChart(const std::vector<ForceRecord>& forces, QWidget* parent)
    : QWidget(parent), forces_(forces) {
    setObjectName("ForceChart");
    setAccessibleName("抗力・揚力のグラフ");
    setMinimumSize(320, 240);
}

void ForceChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (forces_.empty()) {
        p.drawText(rect(), Qt::AlignCenter,
                   "障害物に働く力はまだありません。\n"
                   "障害物 (非流体) を置いて計算すると、ステップごとに表示します。");
        return;
    }
    const auto [top, bottom] = TwoPanelAreas(size());
    drawCoefficient(p, top, forces_, "抗力係数 Cd", QColor(0, 70, 200),
                    [](const ForceRecord& f) { return f.cd; });
    drawCoefficient(p, bottom, forces_, "揚力係数 Cl", QColor(200, 30, 30),
                    [](const ForceRecord& f) { return f.cl; });
    DrawStepLabels(p, bottom, forces_.back().step);
}

} // namespace kestrel
