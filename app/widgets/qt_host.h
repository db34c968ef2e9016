#pragma once
// The host on Qt: message boxes titled "Kestrel", the save dialog, the event
// loop, and the main window's controls found by their names.
#include "app/host.h"

#include <QPointer>
#include <QWidget>

namespace kestrel {

class QtHost : public Host {
  public:
    explicit QtHost(QWidget* window) : window_(window) {}

    Answer message(const std::string& text, Buttons buttons) override;
    std::optional<std::string> askSaveFileName(const std::string& filter,
                                               const std::string& initialName) override;
    void processEvents() override;
    std::string controlText(std::string_view control) override;
    void setControlText(std::string_view control, const std::string& text) override;
    bool isSelected(std::string_view option) override;
    void setBusy(bool busy) override;

    // "desc|pattern|desc|pattern" as Qt's "desc;;desc" (patterns are in the descriptions).
    static QString qtFilter(const std::string& filter);

  private:
    QWidget* find(std::string_view control) const;
    QPointer<QWidget> window_;
};

} // namespace kestrel
