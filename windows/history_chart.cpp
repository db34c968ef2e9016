#include "history_chart.h"

#include "runtime/number_text.h"
#include "solver/time_step.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kestrel {

namespace {

constexpr int kLeft = 70; // room for the value labels
constexpr int kRight = 16;
constexpr int kTop = 24;    // room for a panel's title
constexpr int kBottom = 34; // room for the step labels

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

void drawFrame(QPainter& p, const Panel& panel, const QString& title, const QString& lowText,
               const QString& highText) {
    p.setPen(Qt::black);
    p.drawRect(panel.area);
    p.drawText(QPointF(panel.area.left(), panel.area.top() - 6), title);
    const QRectF label(0, 0, kLeft - 8, 16);
    p.drawText(label.translated(0, panel.area.top() - 2), Qt::AlignRight, highText);
    p.drawText(label.translated(0, panel.area.bottom() - 14), Qt::AlignRight, lowText);
}

QString powerOfTen(double exponent) {
    return QString("1e%1").arg(static_cast<int>(exponent));
}

bool charted(double error) {
    return error > 0 && std::isfinite(error);
}

// A long history drawn at most one mark a pixel column: each column shows
// the least and the most of its steps, so a redraw costs the chart's width
// in drawing however many steps there are.
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

template <typename Value>
std::vector<ColumnRange> columnRanges(const std::vector<StepReport>& history, int columns,
                                      Value value) {
    std::vector<ColumnRange> ranges(static_cast<std::size_t>(columns));
    const auto count = static_cast<long long>(history.size());
    for (long long n = 0; n < count; ++n) {
        const std::optional<double> v = value(history[static_cast<std::size_t>(n)]);
        if (!v) continue;
        const long long column = count > 1 ? n * (columns - 1) / (count - 1) : 0;
        ranges[static_cast<std::size_t>(column)].add(static_cast<int>(n + 1), *v);
    }
    return ranges;
}

// Each column's least to most as a line, and when joined, a line from each
// column's last value to the next column's first. Separate lines, not one
// polyline: a wide pen strokes a long zig-zag polyline far more slowly.
void drawSeries(QPainter& p, const Panel& panel, const std::vector<ColumnRange>& ranges,
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

} // namespace

HistoryChart::HistoryChart(const std::vector<StepReport>& history, QWidget* parent)
    : QWidget(parent), history_(history) {
    setObjectName("HistoryChart");
    setAccessibleName("収束履歴のグラフ");
    setMinimumSize(320, 240);
}

void HistoryChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const int count = static_cast<int>(history_.size());
    if (count == 0) {
        p.drawText(rect(), Qt::AlignCenter, "まだ計算していません。");
        return;
    }
    // Two panels of equal height, each with room for its title and labels.
    const double panelHeight = (height() - 2.0 * (kTop + kBottom)) / 2;
    const QRectF top(kLeft, kTop, width() - kLeft - kRight, panelHeight);
    const QRectF bottom(kLeft, top.bottom() + kBottom + kTop, top.width(), panelHeight);

    const int columns = std::max(1, std::min(count, static_cast<int>(top.width())));
    const auto sweepRanges = columnRanges(
        history_, columns, [](const StepReport& s) { return std::optional<double>(s.sweeps); });
    double most = 1;
    for (const ColumnRange& r : sweepRanges)
        if (r.firstStep != 0) most = std::max(most, r.most);
    const Panel sweeps{top, 0, most, count};
    drawFrame(p, sweeps, "反復回数", "0", QString::number(most));
    p.setPen(QPen(QColor(0, 70, 200), 1.5));
    drawSeries(p, sweeps, sweepRanges, true);

    // Errors on a log scale from the decade below the smallest to the one
    // above the largest, the tolerance always in view; 0 and NaN are left out.
    const auto errorRanges = columnRanges(history_, columns, [](const StepReport& s) {
        return charted(s.lastError) ? std::optional(std::log10(s.lastError)) : std::nullopt;
    });
    const double tolerance = std::log10(kPressureTolerance);
    double lowest = tolerance;
    double highest = tolerance;
    for (const ColumnRange& r : errorRanges)
        if (r.firstStep != 0) {
            lowest = std::min(lowest, r.least);
            highest = std::max(highest, r.most);
        }
    const Panel errors{bottom, std::floor(lowest), std::ceil(highest) + 1, count};
    drawFrame(p, errors, "最終誤差", powerOfTen(errors.low), powerOfTen(errors.high));
    p.setPen(QPen(Qt::darkGreen, 1, Qt::DashLine));
    p.drawLine(errors.at(1, tolerance).x() - (count > 1 ? 0 : bottom.width() / 2),
               errors.at(1, tolerance).y(), bottom.right(), errors.at(count, tolerance).y());
    p.drawText(QPointF(bottom.right() - 140, errors.at(count, tolerance).y() - 4),
               "許容誤差 " + QString::fromStdString(GeneralNumber(kPressureTolerance)));
    const QColor errorColour(200, 30, 30);
    p.setPen(QPen(errorColour, 4, Qt::SolidLine, Qt::RoundCap));
    drawSeries(p, errors, errorRanges, false);
    p.setPen(Qt::NoPen);
    p.setBrush(errorColour);
    for (const ColumnRange& r : errorRanges)
        if (r.firstStep != 0 && r.least == r.most)
            p.drawEllipse(errors.at(r.firstStep, r.least), 2, 2);

    p.setPen(Qt::black);
    const QRectF stepLabel(kLeft, bottom.bottom() + 4, bottom.width(), 16);
    p.drawText(stepLabel, Qt::AlignLeft, "1");
    p.drawText(stepLabel, Qt::AlignRight, QString::number(count));
    p.drawText(stepLabel, Qt::AlignHCenter, "時間ステップ");
}

} // namespace kestrel
