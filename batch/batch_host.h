#pragma once
// The host of a run without windows: messages go to stderr, the display
// options come from the case file.
#include "app/host.h"

#include <string>

namespace kestrel {

class BatchHost : public Host {
  public:
    BatchHost(bool pressureDisplay, int lineWidth)
        : pressureDisplay_(pressureDisplay), lineWidth_(lineWidth) {}

    Answer message(const std::string& text, Buttons buttons) override;
    std::optional<std::string> askSaveFileName(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void processEvents() override {}
    std::string controlText(std::string_view control) override;
    void setControlText(std::string_view, const std::string&) override {}
    bool isSelected(std::string_view option) override;
    void setBusy(bool) override {}

    const std::string& lastMessage() const { return lastMessage_; }

  private:
    bool pressureDisplay_;
    int lineWidth_;
    std::string lastMessage_;
};

} // namespace kestrel
