#pragma once
// "収束履歴": the sweeps and last error of every step of the last run as a
// chart, redrawn while a run goes on, and saved as CSV on request.
#include "app/simulation_state.h"
#include "qt_dialogs.h"

#include <QTimer>
#include <QWidget>
#include <optional>

class QLabel;

namespace kestrel {

class HistoryChart;

class HistoryWindow : public QWidget {
  public:
    explicit HistoryWindow(const SimulationState& m);

    // Shows the history as it is now; nothing is redrawn when no step came.
    void refresh();

  private:
    void saveCsv();

    // What was last shown: a history of another length, or other first or
    // last steps (a new run as long as the last), is redrawn.
    struct Shown {
        std::size_t count = 0;
        StepReport first, last;
        bool operator==(const Shown& other) const;
    };
    static Shown shownOf(const std::vector<StepReport>& history);

    const SimulationState& m_;
    QtDialogs dialogs_;
    HistoryChart* chart_ = nullptr;
    QLabel* summary_ = nullptr;
    QTimer timer_;
    std::optional<Shown> shown_;
};

} // namespace kestrel
