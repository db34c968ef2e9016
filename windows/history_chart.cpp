#include "history_chart.h"

#include "solver/time_step.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

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

    int most = 1;
    for (const StepReport& s : history_)
        most = std::max(most, s.sweeps);
    const Panel sweeps{top, 0, static_cast<double>(most), count};
    drawFrame(p, sweeps, "反復回数", "0", QString::number(most));
    QPolygonF line;
    for (int n = 1; n <= count; ++n)
        line << sweeps.at(n, history_[n - 1].sweeps);
    p.setPen(QPen(QColor(0, 70, 200), 1.5));
    p.drawPolyline(line);

    // Errors on a log scale from the decade below the smallest to the one
    // above the largest, the tolerance always in view; 0 and NaN are left out.
    double lowest = std::log10(kPressureTolerance);
    double highest = lowest;
    for (const StepReport& s : history_)
        if (s.lastError > 0 && std::isfinite(s.lastError)) {
            lowest = std::min(lowest, std::log10(s.lastError));
            highest = std::max(highest, std::log10(s.lastError));
        }
    const Panel errors{bottom, std::floor(lowest), std::ceil(highest) + 1, count};
    drawFrame(p, errors, "最終誤差", powerOfTen(errors.low), powerOfTen(errors.high));
    const double tolerance = std::log10(kPressureTolerance);
    p.setPen(QPen(Qt::darkGreen, 1, Qt::DashLine));
    p.drawLine(errors.at(1, tolerance).x() - (count > 1 ? 0 : bottom.width() / 2),
               errors.at(1, tolerance).y(), bottom.right(), errors.at(count, tolerance).y());
    p.drawText(QPointF(bottom.right() - 140, errors.at(count, tolerance).y() - 4),
               "許容誤差 0.0001");
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    for (int n = 1; n <= count; ++n) {
        const double e = history_[n - 1].lastError;
        if (e > 0 && std::isfinite(e)) p.drawEllipse(errors.at(n, std::log10(e)), 2, 2);
    }

    p.setPen(Qt::black);
    const QRectF stepLabel(kLeft, bottom.bottom() + 4, bottom.width(), 16);
    p.drawText(stepLabel, Qt::AlignLeft, "1");
    p.drawText(stepLabel, Qt::AlignRight, QString::number(count));
    p.drawText(stepLabel, Qt::AlignHCenter, "時間ステップ");
}

} // namespace kestrel
