#pragma once
#include "app/host.h"
#include "app/surface.h"

#include <string>

namespace kestrel {

inline const std::string kImageFilter = "bmp(*.bmp)|*.bmp|すべてのファイル(*.*)|*.*";

// The save dialog opens with the name of its previous use.
struct SaveDialogState {
    std::string fileName;
};

// Saves the picture as BMP under the chosen name, whatever its extension.
// Cancel, an empty name and a failed write all end silently.
// "表示画像保存", and Yes at a run's display question.
void SavePicture(Host& host, const Surface& picture, SaveDialogState& dialog);

} // namespace kestrel
