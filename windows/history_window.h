#pragma once
// "収束履歴": the sweeps and last error of every step of the last run as a
// chart, redrawn while a run goes on, and saved as CSV on request.
#include "app/simulation_state.h"
#include "qt_dialogs.h"

#include <QTimer>
#include <QWidget>

class QLabel;

namespace kestrel {

class HistoryChart;

class HistoryWindow : public QWidget {
  public:
    explicit HistoryWindow(const SimulationState& m);

    // Shows the history as it is now.
    void refresh();

  private:
    void saveCsv();

    const SimulationState& m_;
    QtDialogs dialogs_;
    HistoryChart* chart_ = nullptr;
    QLabel* summary_ = nullptr;
    QTimer timer_;
};

} // namespace kestrel
