#pragma once
// Everything the core needs from the windows besides the drawing area, in
// the core's own terms. Which control holds a value is the window's
// business alone.
#include <optional>
#include <string>

namespace kestrel {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// The colour display: pressure ("圧力") or speed magnitude ("速度絶対値").
// The colour map of a result plot: the two options of the window, and the
// vorticity its 表示 menu adds.
enum class Display { Pressure, Speed, Vorticity };
// How a selected cell changes: "非流体", "流体" or "反転".
enum class ChangeMode { NonFluid, Fluid, Invert };

// What any window asks of the user: questions and messages, the save
// dialog, the event loop, the busy pointer.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Modal box titled with the application title, no icon.
    virtual Answer message(const std::string& text, Buttons buttons) = 0;

    // The save dialog; nullopt when cancelled.
    virtual std::optional<std::string> askSaveFileName(const std::string& filter,
                                                       const std::string& initialName) = 0;

    virtual void processEvents() = 0;
    // Inside a step of a long run: the window redraws and its timers run,
    // while what the user does waits for the step's end.
    virtual void redrawDuringStep() {}
    virtual void setBusy(bool busy) = 0;
};

// The main window as the core sees it: its dialogs, and what its options and
// fields say now.
class Host : public Dialogs {
  public:
    // The run's status line ("計算結果 n回目"), shown at once.
    virtual void showStatus(const std::string& text) = 0;

    virtual Display display() = 0;
    virtual ChangeMode changeMode() = 0;
    // Each display of a run asks whether to save the picture ("表示確認"),
    // rather than going straight on ("連続表示").
    virtual bool confirmEachDisplay() = 0;
    // The texts of the fields read when they are used, not stored.
    virtual std::string displayIntervalText() = 0; // "表示間隔"
    virtual std::string lineWidthText() = 0;       // "流線の線幅"

    // A run has just drawn the field after step n; a host that keeps the
    // pictures of a run (an animation) takes it from its drawing area now.
    // Not called when the plot failed (its message has been shown).
    virtual void runDisplayed(int /*n*/) {}

    // Whether pointer editing selects ranges (the toggle then offers "点指定")
    // rather than points (it offers "範囲指定").
    virtual bool rangeSelection() = 0;
    virtual void setRangeSelection(bool on) = 0;
};

} // namespace kestrel
