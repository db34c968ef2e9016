#pragma once
// The numbered pictures of a run kept as an animation (frame-00001.png ...),
// and the folder that holds them: one run's frames never mix with another's.
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

// The file of the n-th picture of a run: "frame-00001.png".
std::string FrameFileName(int n);

// Whether a file name is one a run's frames could take: "frame-", digits, ".png".
bool IsFrameFileName(const std::string& name);

// The frame files already in a folder, sorted (none when it cannot be read).
std::vector<std::string> FrameFilesIn(const std::string& folder);

// Removes the frame files from a folder (a link among them is removed, not
// what it points to); why not, on the first failure.
std::optional<std::string> RemoveFrameFiles(const std::string& folder);

} // namespace kestrel
