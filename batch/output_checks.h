#pragma once
// Every output of a run checked before its first step: a name that cannot
// be written, or two outputs (or an output and the case file, or a frame)
// that are one file under different spellings, stop the run before it costs
// anything.
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

struct NamedOutput {
    std::string option; // "--csv"
    std::string path;
};

struct FramesOutput {
    std::string folder;
    bool replaceOld = false; // frame files already there are removed, not mixed in
};

// What is wrong, one line naming the option; nullopt when every output may
// be written. The frames' folder is made when missing, and with replaceOld
// its old frame files are removed, once everything else has been checked.
std::optional<std::string> PrepareOutputs(const std::string& casePath,
                                          const std::vector<NamedOutput>& files,
                                          const std::optional<FramesOutput>& frames);

} // namespace kestrel
