#include "image_saving.h"

namespace kestrel {

void SavePicture(Host& host, const Surface& picture, SaveDialogState& dialog) {
    const auto chosen = host.askSaveFileName(kImageFilter, dialog.fileName);
    if (!chosen) return;
    dialog.fileName = *chosen;
    if (chosen->empty()) return;
    (void)picture.savePicture(*chosen); // a failed write is not reported
}

} // namespace kestrel
