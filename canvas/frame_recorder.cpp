#include "frame_recorder.h"

#include "runtime/frame_files.h"

#include <filesystem>

namespace kestrel {

std::string FrameFailure::english() const {
    return "cannot write \"" + path +
           "\": " + (write ? write->english : "the picture is too large to encode as PNG");
}

std::string FrameFailure::japanese() const {
    return path + ": " + (write ? write->japanese() : "画像が大きすぎて PNG にできません");
}

std::optional<FrameFailure> FrameRecorder::record(const ImageSurface& picture) {
    if (!folder_) return std::nullopt;
    const std::string path = (std::filesystem::path(*folder_) / FrameFileName(++count_)).string();
    const std::string bytes = picture.encoded("PNG");
    if (bytes.empty()) return FrameFailure{path, std::nullopt};
    if (auto error = WriteWholeFile(path, bytes)) return FrameFailure{path, std::move(error)};
    return std::nullopt;
}

} // namespace kestrel
