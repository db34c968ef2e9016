#pragma once
// A host for tests: answers queued in advance, every message recorded,
// controls held as plain texts.
#include "app/host.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kestrel::test {

struct RecordedMessage {
    std::string text;
    Buttons buttons;
};

class ScriptedHost : public Host {
  public:
    ScriptedHost();

    Answer message(const std::string& text, Buttons buttons) override;
    std::optional<std::string> askSaveFileName(const std::string& filter,
                                               const std::string& initialName) override;
    void processEvents() override;
    std::string controlText(std::string_view control) override;
    void setControlText(std::string_view control, const std::string& text) override;
    bool isSelected(std::string_view option) override;
    void setBusy(bool busy) override;

    void select(const std::string& option); // also clears the others of its group

    std::deque<Answer> answers;                       // next message answers; Ok / No when empty
    std::deque<std::optional<std::string>> saveNames; // dialog results; cancel when empty
    std::vector<RecordedMessage> messages;
    std::vector<std::pair<std::string, std::string>> dialogs; // filter, initial name
    std::map<std::string, std::string> controls;
    std::vector<std::pair<std::string, std::string>> captionLog; // every caption set
    std::set<std::string> selected;
    std::function<void()> onProcessEvents;
    int processEventsCalls = 0;
    bool busy = false;
    int busyChanges = 0;
};

} // namespace kestrel::test
