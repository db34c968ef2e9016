#pragma once
// Two quantities of every step of the last run as a chart, one panel each:
// the forces on the obstacle, the values at the monitor cell.
#include "app/simulation_state.h"

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace kestrel {

template <typename Record> struct Series {
    QString title;
    QColor colour;
    std::function<double(const Record&)> value;
};

// Draws one series in area, scaled to its values after the first tenth of
// the steps; count records, record k given by at(k).
void DrawSeriesPanel(QPainter& p, const QRectF& area, int count,
                     const std::function<double(int)>& valueAt, const QString& title,
                     QColor colour);

template <typename Record> class SeriesChart : public QWidget {
  public:
    SeriesChart(const std::vector<Record>& records, Series<Record> top, Series<Record> bottom,
                QString empty, QWidget* parent = nullptr)
        : QWidget(parent), records_(records), top_(std::move(top)), bottom_(std::move(bottom)),
          empty_(std::move(empty)) {
        setMinimumSize(320, 240);
    }
    QSize sizeHint() const override { return {640, 400}; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    const std::vector<Record>& records_;
    Series<Record> top_, bottom_;
    QString empty_; // said while there is nothing to draw
};

// The chart's frame, drawn for any kind of record.
void DrawSeriesChart(QWidget& chart, int count, int lastStep, const QString& empty,
                     const std::function<void(QPainter&, const QRectF&, const QRectF&)>& panels);

template <typename Record> void SeriesChart<Record>::paintEvent(QPaintEvent*) {
    const int count = static_cast<int>(records_.size());
    DrawSeriesChart(
        *this, count, count > 0 ? records_.back().step : 0, empty_,
        [&](QPainter& p, const QRectF& top, const QRectF& bottom) {
            for (const auto& [series, area] : {std::pair{&top_, top}, std::pair{&bottom_, bottom}})
                DrawSeriesPanel(
                    p, area, count,
                    [&](int k) { return series->value(records_[static_cast<std::size_t>(k)]); },
                    series->title, series->colour);
        });
}

} // namespace kestrel
