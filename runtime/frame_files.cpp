#include "frame_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace kestrel {

std::string FrameFileName(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", n);
    return name;
}

bool IsFrameFileName(const std::string& name) {
    constexpr std::string_view head = "frame-", tail = ".png";
    if (name.size() <= head.size() + tail.size()) return false;
    if (name.compare(0, head.size(), head) != 0) return false;
    if (name.compare(name.size() - tail.size(), tail.size(), tail) != 0) return false;
    return std::all_of(name.begin() + head.size(), name.end() - tail.size(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> FrameFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (IsFrameFileName(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> RemoveFrameFiles(const std::string& folder) {
    for (const std::string& name : FrameFilesIn(folder)) {
        std::error_code error;
        std::filesystem::remove(std::filesystem::path(folder) / name, error);
        if (error) return "cannot remove \"" + name + "\": " + error.message();
    }
    return std::nullopt;
}

} // namespace kestrel
