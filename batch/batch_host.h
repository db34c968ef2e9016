#pragma once
// The host of a run without windows: messages go to stderr, the display
// and the flow-line width come from the case file.
#include "app/host.h"

#include <string>

namespace kestrel {

class BatchHost : public Host {
  public:
    BatchHost(Display display, int lineWidth) : display_(display), lineWidth_(lineWidth) {}

    Answer message(const std::string& text, Buttons buttons) override;
    std::optional<std::string> askSaveFileName(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void processEvents() override {}
    void setBusy(bool) override {}
    void showStatus(const std::string&) override {}

    Display display() override { return display_; }
    ChangeMode changeMode() override { return ChangeMode::Invert; }
    bool confirmEachDisplay() override { return false; }
    std::string displayIntervalText() override { return {}; }
    std::string lineWidthText() override { return std::to_string(lineWidth_); }
    bool rangeSelection() override { return false; }
    void setRangeSelection(bool) override {}

  private:
    Display display_;
    int lineWidth_;
};

} // namespace kestrel
