#include "scripted_host.h"

namespace kestrel::test {

Answer ScriptedHost::message(const std::string& text, Buttons buttons) {
    messages.push_back({text, buttons});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

std::optional<std::string> ScriptedHost::askSaveFileName(const std::string& filter,
                                                         const std::string& initialName) {
    dialogs.emplace_back(filter, initialName);
    if (saveNames.empty()) return std::nullopt;
    auto name = saveNames.front();
    saveNames.pop_front();
    return name;
}

void ScriptedHost::processEvents() {
    ++processEventsCalls;
    if (onProcessEvents) onProcessEvents();
}

void ScriptedHost::setBusy(bool b) {
    busy = b;
}

void ScriptedHost::showStatus(const std::string& text) {
    status = text;
    statusLog.push_back(text);
}

} // namespace kestrel::test
