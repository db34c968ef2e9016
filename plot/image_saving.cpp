#include "image_saving.h"

#include <cstdio>

namespace kestrel {

void SavePicture(Host& host, const Surface& picture, SaveDialogState& dialog) {
    const auto chosen = host.askSaveFileName(kImageFilter, dialog.fileName);
    if (!chosen) return;
    dialog.fileName = *chosen;
    if (chosen->empty()) return;
    (void)picture.savePicture(*chosen); // a failed write is not reported
}

std::string FrameFileName(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", n);
    return name;
}

} // namespace kestrel
