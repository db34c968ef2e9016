#include "frame_recorder.h"

#include "runtime/frame_files.h"

#include <filesystem>

namespace kestrel {

std::optional<Failure> FrameRecorder::record(const ImageSurface& picture) {
    if (!folder_) return std::nullopt;
    const std::string path = (std::filesystem::path(*folder_) / FrameFileName(++count_)).string();
    const std::string bytes = picture.encoded("PNG");
    std::optional<Failure> write;
    if (!bytes.empty() && !(write = WriteWholeFile(path, bytes))) return std::nullopt;
    const Reason why = write ? Reason{write->english(), write->japanese()}
                             : Reason{"the picture is too large to encode as PNG",
                                      "画像が大きすぎて PNG にできません"};
    return Failure(
        Reason{"cannot write \"" + path + "\": " + why.english, path + ": " + why.japanese});
}

} // namespace kestrel
