#pragma once
// What the charts of a run share: panels that map steps across and values
// up, their frames, and a long series drawn at most one mark a pixel column.
#include <QPainter>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kestrel {

inline constexpr int kChartLeft = 70; // room for the value labels
inline constexpr int kChartRight = 16;
inline constexpr int kChartTop = 24;    // room for a panel's title
inline constexpr int kChartBottom = 34; // room for the step labels

// Maps steps 1..count across a panel and values low..high up it.
struct Panel {
    QRectF area;
    double low;
    double high;
    int count;
    QPointF at(int step, double value) const {
        const double fx = count > 1 ? (step - 1.0) / (count - 1.0) : 0.5;
        const double fy = high > low ? (value - low) / (high - low) : 0.5;
        return {area.left() + fx * area.width(), area.bottom() - fy * area.height()};
    }
};

// Two panels of equal height in a widget of this size, each with room for
// its title and labels.
std::pair<QRectF, QRectF> TwoPanelAreas(QSize size);

void DrawPanelFrame(QPainter& p, const Panel& panel, const QString& title, const QString& lowText,
                    const QString& highText);

// "1", the last step and 時間ステップ under a panel.
void DrawStepLabels(QPainter& p, const QRectF& area, int count);

// The least and the most of the steps that fall in one pixel column, so a
// redraw costs the chart's width in drawing however many steps there are.
struct ColumnRange {
    double least = INFINITY;
    double most = -INFINITY;
    int firstStep = 0; // 0: the column holds no value
    void add(int step, double v) {
        if (firstStep == 0) firstStep = step;
        least = std::min(least, v);
        most = std::max(most, v);
    }
};

// The values of steps 1..count (valueAt(k) for step k + 1: an
// optional<double>, none to leave the step out) gathered into columns.
template <typename Value>
std::vector<ColumnRange> ColumnRanges(long long count, int columns, Value valueAt) {
    std::vector<ColumnRange> ranges(static_cast<std::size_t>(columns));
    for (long long n = 0; n < count; ++n) {
        const std::optional<double> v = valueAt(static_cast<std::size_t>(n));
        if (!v) continue;
        const long long column = count > 1 ? n * (columns - 1) / (count - 1) : 0;
        ranges[static_cast<std::size_t>(column)].add(static_cast<int>(n + 1), *v);
    }
    return ranges;
}

// The lowest least and highest most of the ranges, widened to hold low..high.
std::pair<double, double> RangeOf(const std::vector<ColumnRange>& ranges, double low, double high);

// Each column's least to most as a line, and when joined, a line from each
// column's last value to the next column's first.
void DrawSeries(QPainter& p, const Panel& panel, const std::vector<ColumnRange>& ranges,
                bool joined);

} // namespace kestrel
