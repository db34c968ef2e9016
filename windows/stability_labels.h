#pragma once
// The CFL and diffusion numbers of the current parameters, beside the run
// buttons: red beyond their usual limits, with a tooltip that says what the
// limit means. Beside them, what the run means: the Reynolds number based on
// the obstacle's height and the grid Péclet number; and a warning line for
// what makes the method's flow untrue (an even nx, a drifting pressure, lost
// mass). They only inform; a run starts whatever they say.
#include "app/simulation_state.h"

class QLabel;
class QWidget;

namespace kestrel {

class StabilityLabels {
  public:
    // Two columns of two labels on parent at the given place (twips); the
    // warnings in their own label, wherever its owner put it.
    void build(QWidget* parent, int left, int top, int width, QLabel* warnings);
    void show(const SimulationState& m);

  private:
    QLabel* cfl_ = nullptr;
    QLabel* diffusion_ = nullptr;
    QLabel* reynolds_ = nullptr;
    QLabel* peclet_ = nullptr;
    QLabel* warnings_ = nullptr;
};

} // namespace kestrel
