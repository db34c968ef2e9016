#pragma once
// The 計算 menu: which method a run computes with, and the second method's
// walls, inflow and time step. It edits the state's choice directly; the
// choice is part of a case.
#include "app/simulation_state.h"

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kestrel {

class MethodMenu : public QObject {
    Q_OBJECT
  public:
    MethodMenu(QMenuBar* bar, MethodChoice& choice, QWidget* dialogParent);
    // Shows the choice as it now is (after a case was opened).
    void sync();

  signals:
    void changed();

  private:
    void askSafety();

    MethodChoice& choice_;
    QWidget* dialogParent_;
    QAction *classic_, *staggered_, *noSlip_, *slip_, *uniform_, *parabolic_, *automatic_, *safety_;
    QMenu* options_;
};

} // namespace kestrel
