#include "scripted_host.h"

namespace kestrel::test {

namespace {
const std::vector<std::set<std::string>> kGroups = {{"Option1", "Option2"},
                                                    {"Option4", "Option5"},
                                                    {"Option6", "Option7"},
                                                    {"Option3_0", "Option3_1", "Option3_2"}};
}

ScriptedHost::ScriptedHost() {
    controls = {{"Text8", "2"}, {"Text10", "1"}, {"Command5", "範囲指定"}, {"Label13", ""}};
    selected = {"Option1", "Option4", "Option6", "Option3_2"};
}

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

std::string ScriptedHost::controlText(std::string_view control) {
    auto it = controls.find(std::string(control));
    return it == controls.end() ? std::string() : it->second;
}

void ScriptedHost::setControlText(std::string_view control, const std::string& text) {
    controls[std::string(control)] = text;
    captionLog.emplace_back(std::string(control), text);
}

bool ScriptedHost::isSelected(std::string_view option) {
    return selected.count(std::string(option)) != 0;
}

void ScriptedHost::setBusy(bool b) {
    busy = b;
    ++busyChanges;
}

void ScriptedHost::select(const std::string& option) {
    for (const auto& group : kGroups)
        if (group.count(option))
            for (const auto& o : group)
                selected.erase(o);
    selected.insert(option);
}

} // namespace kestrel::test
