#include "output_checks.h"

#include "runtime/file_writing.h"
#include "runtime/frame_files.h"
#include "runtime/user_text.h"

#include <filesystem>
#include <map>

namespace kestrel {

namespace {

std::string quoted(const std::string& path) {
    return "\"" + QuotedExcerpt(path) + "\"";
}

// Two names for one file, or a name among the frames the run will write.
std::optional<std::string> sharedFile(const std::string& casePath,
                                      const std::vector<NamedOutput>& files,
                                      const std::optional<FramesOutput>& frames) {
    const std::string framesFolder = frames ? ResolvedOutputPath(frames->folder) : std::string();
    std::map<std::string, std::string> taken{{ResolvedOutputPath(casePath), "the case file"}};
    const auto isFrame = [&](const std::filesystem::path& p) {
        return frames && p.parent_path() == framesFolder && IsFrameFileName(p.filename().string());
    };
    if (isFrame(ResolvedOutputPath(casePath)))
        return "--frames " + quoted(frames->folder) + " would write over the case file";
    for (const NamedOutput& o : files) {
        const std::string where = ResolvedOutputPath(o.path);
        if (const auto it = taken.find(where); it != taken.end())
            return o.option + " " + quoted(o.path) + " is also " + it->second;
        if (isFrame(where))
            return o.option + " " + quoted(o.path) + " is one of the files of --frames";
        taken.emplace(where, "the file of " + o.option);
    }
    return std::nullopt;
}

std::optional<std::string> prepareFramesFolder(const FramesOutput& frames) {
    std::error_code error;
    std::filesystem::create_directories(frames.folder, error);
    if (const auto problem = FolderWriteProblem(frames.folder)) return "--frames: " + *problem;
    const std::vector<std::string> old = FrameFilesIn(frames.folder);
    if (old.empty()) return std::nullopt;
    if (!frames.replaceOld)
        return "--frames: " + quoted(frames.folder) + " already holds " +
               std::to_string(old.size()) + " frame files (" + old.front() +
               " ...); give --replace-frames to remove them first";
    if (const auto problem = RemoveFrameFiles(frames.folder)) return "--frames: " + *problem;
    return std::nullopt;
}

} // namespace

std::optional<std::string> PrepareOutputs(const std::string& casePath,
                                          const std::vector<NamedOutput>& files,
                                          const std::optional<FramesOutput>& frames) {
    for (const NamedOutput& o : files)
        if (o.path.empty()) return o.option + " needs a file name";
    if (frames && frames->folder.empty()) return "--frames needs a folder name";
    if (const auto shared = sharedFile(casePath, files, frames)) return shared;
    for (const NamedOutput& o : files)
        if (const auto problem = OutputTargetProblem(o.path))
            return o.option + " " + quoted(o.path) + ": " + *problem;
    if (frames) return prepareFramesFolder(*frames);
    return std::nullopt;
}

} // namespace kestrel
