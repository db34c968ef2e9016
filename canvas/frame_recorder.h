#pragma once
// The pictures a run displays, kept as numbered PNG files (frame-00001.png
// ...) in a folder: the frames of an animation. The window records what it
// shows; the runner records the plot of every display interval.
#include "image_surface.h"
#include "runtime/file_writing.h"

#include <optional>
#include <string>

namespace kestrel {

class FrameRecorder {
  public:
    // nullopt stops recording.
    void setFolder(std::optional<std::string> folder) { folder_ = std::move(folder); }
    const std::optional<std::string>& folder() const { return folder_; }

    // Each run numbers its frames from 1.
    void startRun() { count_ = 0; }

    // Writes the picture as the next frame when recording; a failure names
    // the frame's file, and the write's reason or a picture too large to encode.
    std::optional<Failure> record(const ImageSurface& picture);

  private:
    std::optional<std::string> folder_;
    int count_ = 0;
};

} // namespace kestrel
