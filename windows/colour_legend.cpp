#include "colour_legend.h"

#include "runtime/number_text.h"

#include <QPainter>

namespace kestrel {

namespace {

QString valueText(double v) {
    return QString::fromStdString(SignificantNumber(v, 4));
}

} // namespace

ColourLegendBar::ColourLegendBar(QWidget* parent) : QWidget(parent) {
    setObjectName("ColourLegend");
    setAccessibleName("色の凡例");
}

void ColourLegendBar::setLegend(const std::optional<ColourLegend>& legend) {
    if (legend == legend_) return;
    legend_ = legend;
    QString tip;
    if (legend_) {
        tip = QString::fromStdString(legend_->quantity) + ": 色ごとの範囲";
        for (std::size_t k = 0; k < legend_->bands.size(); ++k)
            tip += QString("\n%1 〜 %2")
                       .arg(valueText(legend_->edges[k]), valueText(legend_->edges[k + 1]));
    }
    setToolTip(tip);
    setAccessibleDescription(tip);
    update();
}

void ColourLegendBar::paintEvent(QPaintEvent*) {
    if (!legend_ || legend_->bands.empty()) return;
    QPainter p(this);
    const QFontMetrics metrics = p.fontMetrics();
    const QString name = QString::fromStdString(legend_->quantity);
    const QString low = valueText(legend_->edges.front());
    const QString high = valueText(legend_->edges.back());
    int x = 0;
    const int textTop = (height() - metrics.height()) / 2 + metrics.ascent();
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(x, textTop, name);
    x += metrics.horizontalAdvance(name) + 10;
    p.drawText(x, textTop, low);
    x += metrics.horizontalAdvance(low) + 6;
    const int highWidth = metrics.horizontalAdvance(high);
    const int barWidth = std::max(40, width() - x - highWidth - 8);
    const int count = static_cast<int>(legend_->bands.size());
    for (int k = 0; k < count; ++k) {
        const Rgb c = legend_->bands[static_cast<std::size_t>(k)];
        const int left = x + barWidth * k / count;
        const int right = x + barWidth * (k + 1) / count;
        p.fillRect(QRect(left, 3, right - left, height() - 6),
                   QColor(RedOf(c), GreenOf(c), BlueOf(c)));
    }
    p.setPen(Qt::black);
    p.drawRect(QRect(x, 3, barWidth - 1, height() - 7));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(x + barWidth + 6, textTop, high);
}

} // namespace kestrel
