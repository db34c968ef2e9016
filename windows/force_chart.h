#pragma once
// The drag and lift coefficients of every step as a chart: Cd above, Cl below.
#include "app/simulation_state.h"

#include <QWidget>
#include <vector>

namespace kestrel {

class ForceChart : public QWidget {
  public:
    ForceChart(const std::vector<ForceRecord>& forces, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {640, 400}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const std::vector<ForceRecord>& forces_;
};

} // namespace kestrel
