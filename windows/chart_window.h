#pragma once
// A window with a chart of the last run, a one-line summary and a button
// that saves the numbers as CSV. A run steps inside the event loop, so a
// timer looks at the state; only a change is drawn again.
#include "qt_dialogs.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QLabel;

namespace kestrel {

class ChartWindow : public QWidget {
  public:
    struct Parts {
        const char* objectName;
        const char* title;
        const char* summaryName; // the summary label's object name
        const char* saveName;    // the save button's
        const char* csvFileName; // offered when saving
        // A short text that changes whenever the chart would.
        std::function<std::string()> signature;
        std::function<std::string()> summary;
        std::function<std::string()> csv;
    };
    // The window takes chart as its child.
    ChartWindow(QWidget* chart, Parts parts);

    // Shows the state as it is now; nothing is redrawn when it did not change.
    void refresh();

  private:
    void saveCsv();

    Parts parts_;
    QtDialogs dialogs_;
    QWidget* chart_;
    QLabel* summary_ = nullptr;
    QTimer timer_;
    std::optional<std::string> shown_;
};

} // namespace kestrel
