#pragma once
// The CFL and diffusion numbers of the current parameters, beside the run
// buttons: red beyond their usual limits, with a tooltip that says what the
// limit means. They only inform; a run starts whatever they say.
#include "app/simulation_state.h"

class QLabel;
class QWidget;

namespace kestrel {

class StabilityLabels {
  public:
    // Two labels on parent at the given place (twips), one above the other.
    void build(QWidget* parent, int left, int top, int width);
    void show(const SimulationState& m);

  private:
    QLabel* cfl_ = nullptr;
    QLabel* diffusion_ = nullptr;
};

} // namespace kestrel
