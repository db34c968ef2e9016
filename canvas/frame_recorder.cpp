#include "frame_recorder.h"

#include "runtime/frame_files.h"

#include <filesystem>

namespace kestrel {

std::optional<Failure> FrameRecorder::record(const ImageSurface& picture) {
    if (!folder_) return std::nullopt;
    const std::string path = (std::filesystem::path(*folder_) / FrameFileName(++count_)).string();
    const std::string bytes = picture.encoded("PNG");
    const auto failure = [&path](const Reason& why) {
        return Failure(
            Reason{"cannot write \"" + path + "\": " + why.english, path + ": " + why.japanese});
    };
    if (bytes.empty())
        return failure(
            {"the picture is too large to encode as PNG", "画像が大きすぎて PNG にできません"});
    if (const auto write = WriteWholeFile(path, bytes))
        return failure({write->english(), write->japanese()});
    return std::nullopt;
}

} // namespace kestrel
