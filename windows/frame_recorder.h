#pragma once
// The pictures a run displays, kept as numbered PNG files (frame-00001.png
// ...) in a folder the user chose: the frames of an animation.
#include "canvas/image_surface.h"

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

    // Writes the picture as the next frame when recording; why not, when it
    // could not be written.
    std::optional<std::string> record(const ImageSurface& picture);

  private:
    std::optional<std::string> folder_;
    int count_ = 0;
};

} // namespace kestrel
