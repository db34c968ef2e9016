#include "history_chart.h"

#include "chart_panels.h"
#include "runtime/number_text.h"
#include "solver/time_step.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kestrel {

namespace {

QString powerOfTen(double exponent) {
    return QString("1e%1").arg(static_cast<int>(exponent));
}

bool charted(double error) {
    return error > 0 && std::isfinite(error);
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
    const auto [top, bottom] = TwoPanelAreas(size());

    const int columns = std::max(1, std::min(count, static_cast<int>(top.width())));
    const auto sweepRanges = ColumnRanges(count, columns, [this](std::size_t k) {
        return std::optional<double>(history_[k].sweeps);
    });
    const double most = RangeOf(sweepRanges, 0, 1).second;
    const Panel sweeps{top, 0, most, count};
    DrawPanelFrame(p, sweeps, "反復回数", "0", QString::number(most));
    p.setPen(QPen(QColor(0, 70, 200), 1.5));
    DrawSeries(p, sweeps, sweepRanges, true);

    // Errors on a log scale from the decade below the smallest to the one
    // above the largest, the tolerance always in view; 0 and NaN are left out.
    const auto errorRanges = ColumnRanges(count, columns, [this](std::size_t k) {
        const double error = history_[k].lastError;
        return charted(error) ? std::optional(std::log10(error)) : std::nullopt;
    });
    const double tolerance = std::log10(kPressureTolerance);
    const auto [lowest, highest] = RangeOf(errorRanges, tolerance, tolerance);
    const Panel errors{bottom, std::floor(lowest), std::ceil(highest) + 1, count};
    DrawPanelFrame(p, errors, "最終誤差", powerOfTen(errors.low), powerOfTen(errors.high));
    p.setPen(QPen(Qt::darkGreen, 1, Qt::DashLine));
    p.drawLine(errors.at(1, tolerance).x() - (count > 1 ? 0 : bottom.width() / 2),
               errors.at(1, tolerance).y(), bottom.right(), errors.at(count, tolerance).y());
    p.drawText(QPointF(bottom.right() - 140, errors.at(count, tolerance).y() - 4),
               "許容誤差 " + QString::fromStdString(GeneralNumber(kPressureTolerance)));
    const QColor errorColour(200, 30, 30);
    p.setPen(QPen(errorColour, 4, Qt::SolidLine, Qt::RoundCap));
    DrawSeries(p, errors, errorRanges, false);
    p.setPen(Qt::NoPen);
    p.setBrush(errorColour);
    for (const ColumnRange& r : errorRanges)
        if (r.firstStep != 0 && r.least == r.most)
            p.drawEllipse(errors.at(r.firstStep, r.least), 2, 2);

    DrawStepLabels(p, bottom, count);
}

} // namespace kestrel
