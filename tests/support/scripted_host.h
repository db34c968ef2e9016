#pragma once
// A host for tests: answers queued in advance, every message recorded, the
// window's options and fields held as plain values.
#include "app/host.h"
#include "app/parameters.h"
#include "runtime/number_text.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kestrel::test {

struct RecordedMessage {
    std::string text;
    Buttons buttons;
};

class ScriptedHost : public Host {
  public:
    Answer message(const std::string& text, Buttons buttons) override;
    std::optional<std::string> askSaveFileName(const std::string& filter,
                                               const std::string& initialName) override;
    void processEvents() override;
    void setBusy(bool busy) override;
    void showStatus(const std::string& text) override;
    Display display() override { return shownDisplay; }
    ChangeMode changeMode() override { return mode; }
    bool confirmEachDisplay() override { return confirm; }
    std::string displayIntervalText() override { return displayInterval; }
    std::string lineWidthText() override { return lineWidth; }
    bool rangeSelection() override { return range; }
    void setRangeSelection(bool on) override { range = on; }

    // The main window's state at start.
    Display shownDisplay = Display::Pressure;
    ChangeMode mode = ChangeMode::Invert;
    bool confirm = true;
    std::string displayInterval = GeneralNumber(kDisplayDefaults.displayInterval);
    std::string lineWidth = std::to_string(kDisplayDefaults.lineWidth);
    bool range = false;
    std::string status;

    std::deque<Answer> answers;                       // next message answers; Ok / No when empty
    std::deque<std::optional<std::string>> saveNames; // dialog results; cancel when empty
    std::vector<RecordedMessage> messages;
    std::vector<std::pair<std::string, std::string>> dialogs; // filter, initial name
    std::vector<std::string> statusLog;                       // every status shown
    std::function<void()> onProcessEvents;
    int processEventsCalls = 0;
    bool busy = false;
};

} // namespace kestrel::test
