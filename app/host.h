#pragma once
// Everything the core needs from the windows besides the drawing area:
// message boxes, the save dialog, the event loop and the controls it reads
// or writes by name.
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

class Host {
  public:
    virtual ~Host() = default;

    // Modal box titled with the application title, no icon.
    virtual Answer message(const std::string& text, Buttons buttons) = 0;

    // The save dialog; nullopt when cancelled.
    virtual std::optional<std::string> askSaveFileName(const std::string& filter,
                                                       const std::string& initialName) = 0;

    virtual void processEvents() = 0;

    // Text of a field, caption of a label or button ("Text8", "Command5").
    virtual std::string controlText(std::string_view control) = 0;
    // Sets a caption and shows it at once.
    virtual void setControlText(std::string_view control, const std::string& text) = 0;
    // Whether an option button ("Option4", "Option3_2") is selected.
    virtual bool isSelected(std::string_view option) = 0;

    virtual void setBusy(bool busy) = 0;
};

} // namespace kestrel
