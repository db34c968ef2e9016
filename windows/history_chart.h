#pragma once
// The convergence history as a chart drawn with the painter: the sweeps of
// every step above, the last error of every step below on a log scale with
// the tolerance marked; for the second method, its solves and the largest
// divergence, with the 1e-10 it must stay under.
#include "app/simulation_state.h"

#include <QWidget>
#include <vector>

namespace kestrel {

class HistoryChart : public QWidget {
  public:
    // Both are read at every paint: they must outlive the chart.
    HistoryChart(const std::vector<StepReport>& history, const Method& method,
                 QWidget* parent = nullptr);
    HistoryChart(const std::vector<StepReport>&, Method&&, QWidget* = nullptr) = delete;
    QSize sizeHint() const override { return {640, 400}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const std::vector<StepReport>& history_;
    const Method& method_; // of the run the history belongs to
};

} // namespace kestrel
