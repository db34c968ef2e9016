#pragma once
// Dialogs on Qt for any window: message boxes titled "Kestrel" over that
// window, the save and open dialogs, the event loop, the busy pointer.
#include "app/host.h"

#include <QPointer>
#include <QWidget>

namespace kestrel {

// The filter of every CSV a window saves.
inline constexpr const char* kCsvFilter = "CSV(*.csv)|*.csv|すべてのファイル(*.*)|*.*";

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* window) : window_(window) {}

    Answer message(const std::string& text, Buttons buttons) override;
    std::optional<std::string> askSaveFileName(const std::string& filter,
                                               const std::string& initialName) override;
    // The save dialog of the window's own files (cases, exports, the
    // history): a name typed without an extension gets the chosen filter's,
    // as desktop programs do.
    std::optional<std::string> askSaveFileNameWithExtension(const std::string& filter,
                                                            const std::string& initialName);
    // The open dialog; nullopt when cancelled.
    std::optional<std::string> askOpenFileName(const std::string& filter,
                                               const std::string& initialName);
    // A folder to write into; nullopt when cancelled.
    std::optional<std::string> askFolder(const std::string& initialFolder);
    void processEvents() override;
    void redrawDuringStep() override;
    void setBusy(bool busy) override;

    // "desc|pattern|desc|pattern" as Qt's "desc;;desc" (patterns are in the descriptions).
    static QString qtFilter(const std::string& filter);

  private:
    QPointer<QWidget> window_;
};

} // namespace kestrel
