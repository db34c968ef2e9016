#include "frame_recorder.h"

#include "runtime/file_writing.h"
#include "runtime/frame_files.h"

#include <filesystem>

namespace kestrel {

std::optional<std::string> FrameRecorder::record(const ImageSurface& picture) {
    if (!folder_) return std::nullopt;
    const std::string path = (std::filesystem::path(*folder_) / FrameFileName(++count_)).string();
    const std::string bytes = picture.encoded("PNG");
    if (bytes.empty()) return path + ": 画像が大きすぎて PNG にできません";
    if (const auto error = WriteWholeFile(path, bytes)) return path + ": " + error->japanese();
    return std::nullopt;
}

} // namespace kestrel
