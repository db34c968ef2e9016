#pragma once
// The main window as the core's Host: its dialogs, and what its options and
// fields say now, read from the controls that hold them.
#include "app/host.h"
#include "qt_dialogs.h"

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestrel {

class MainWindowHost : public Host {
  public:
    // The controls behind the answers.
    struct Controls {
        QRadioButton* pressure;     // Option6 "圧力"
        QRadioButton* confirm;      // Option4 "表示確認"
        QRadioButton* fluid;        // Option3(1) "流体"
        QRadioButton* invert;       // Option3(2) "反転"
        QLineEdit* displayInterval; // Text8
        QLineEdit* lineWidth;       // Text10
        QLabel* status;             // Label13
        QPushButton* rangeToggle;   // Command5 "範囲指定" / "点指定"
    };

    explicit MainWindowHost(QWidget* window) : dialogs_(window) {}
    // 表示 → 渦度: while checked, plots are coloured by vorticity.
    void setVorticityChoice(QAction* choice) { vorticity_ = choice; }
    void attach(const Controls& controls, std::function<void()> displayed) {
        c_ = controls;
        displayed_ = std::move(displayed);
    }

    Answer message(const std::string& text, Buttons buttons) override {
        return dialogs_.message(text, buttons);
    }
    std::optional<std::string> askSaveFileName(const std::string& filter,
                                               const std::string& initialName) override {
        return dialogs_.askSaveFileName(filter, initialName);
    }
    std::optional<std::string> askSaveFileNameWithExtension(const std::string& filter,
                                                            const std::string& initialName) {
        return dialogs_.askSaveFileNameWithExtension(filter, initialName);
    }
    std::optional<std::string> askOpenFileName(const std::string& filter,
                                               const std::string& initialName) {
        return dialogs_.askOpenFileName(filter, initialName);
    }
    std::optional<std::string> askFolder(const std::string& initialFolder) {
        return dialogs_.askFolder(initialFolder);
    }
    void processEvents() override { dialogs_.processEvents(); }
    void redrawDuringStep() override { dialogs_.redrawDuringStep(); }
    void setBusy(bool busy) override { dialogs_.setBusy(busy); }

    void showStatus(const std::string& text) override;
    Display display() override;
    ChangeMode changeMode() override;
    bool confirmEachDisplay() override;
    std::string displayIntervalText() override;
    std::string lineWidthText() override;
    bool rangeSelection() override;
    void setRangeSelection(bool on) override;
    void runDisplayed(int) override { displayed_(); }

  private:
    QtDialogs dialogs_;
    Controls c_{};
    QAction* vorticity_ = nullptr;
    bool rangeSelection_ = false; // the toggle's caption offers the other mode
    std::function<void()> displayed_ = [] {};
};

} // namespace kestrel
