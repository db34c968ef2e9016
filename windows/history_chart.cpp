#include "history_chart.h"

#include "chart_panels.h"
#include "runtime/number_text.h"
#include "solver/time_step.h"
#include "staggered/pressure_projection.h"

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

HistoryChart::HistoryChart(const std::vector<StepReport>& history, const Method& method,
                           QWidget* parent)
    : QWidget(parent), history_(history), method_(method) {
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
    const bool direct = method_ == Method::Staggered;

    const int columns = std::max(1, std::min(count, static_cast<int>(top.width())));
    const auto sweepRanges = ColumnRanges(count, columns, [this](std::size_t k) {
        return std::optional<double>(history_[k].sweeps);
    });
    const double most = RangeOf(sweepRanges, 0, 1).second;
    const Panel sweeps{top, 0, most, count};
    DrawPanelFrame(p, sweeps, direct ? "圧力の解 (直接法の回数)" : "反復回数", "0",
                   QString::number(most));
    p.setPen(QPen(QColor(0, 70, 200), 1.5));
    DrawSeries(p, sweeps, sweepRanges, true);

    // Errors on a log scale from the decade below the smallest to the one
    // above the largest, the tolerance always in view; 0 and NaN are left out.
    const auto errorRanges = ColumnRanges(count, columns, [this](std::size_t k) {
        const double error = history_[k].lastError;
        return charted(error) ? std::optional(std::log10(error)) : std::nullopt;
    });
    const double bound = direct ? staggered::kDivergenceBound : kPressureTolerance;
    const double tolerance = std::log10(bound);
    const auto [lowest, highest] = RangeOf(errorRanges, tolerance, tolerance);
    const Panel errors{bottom, std::floor(lowest), std::ceil(highest) + 1, count};
    DrawPanelFrame(p, errors, direct ? "残った発散 (流入量に対する最大値)" : "最終誤差",
                   powerOfTen(errors.low), powerOfTen(errors.high));
    p.setPen(QPen(Qt::darkGreen, 1, Qt::DashLine));
    p.drawLine(errors.at(1, tolerance).x() - (count > 1 ? 0 : bottom.width() / 2),
               errors.at(1, tolerance).y(), bottom.right(), errors.at(count, tolerance).y());
    p.drawText(QPointF(bottom.right() - 140, errors.at(count, tolerance).y() - 4),
               (direct ? "上限 " : "許容誤差 ") + QString::fromStdString(GeneralNumber(bound)));
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
