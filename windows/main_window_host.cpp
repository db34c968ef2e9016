#include "main_window_host.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kestrel {

namespace {

// The toggle's caption says what a press switches to.
const QString kOffersRange = "範囲指定";
const QString kOffersPoint = "点指定";

} // namespace

void MainWindowHost::showStatus(const std::string& text) {
    c_.status->setText(QString::fromStdString(text));
    c_.status->repaint();
}

Display MainWindowHost::display() {
    if (vorticity_ && vorticity_->isChecked()) return Display::Vorticity;
    return c_.pressure->isChecked() ? Display::Pressure : Display::Speed;
}

ChangeMode MainWindowHost::changeMode() {
    if (c_.invert->isChecked()) return ChangeMode::Invert;
    return c_.fluid->isChecked() ? ChangeMode::Fluid : ChangeMode::NonFluid;
}

bool MainWindowHost::confirmEachDisplay() {
    return c_.confirm->isChecked();
}

std::string MainWindowHost::displayIntervalText() {
    return c_.displayInterval->text().toStdString();
}

std::string MainWindowHost::lineWidthText() {
    return c_.lineWidth->text().toStdString();
}

bool MainWindowHost::rangeSelection() {
    return rangeSelection_;
}

void MainWindowHost::setRangeSelection(bool on) {
    rangeSelection_ = on;
    c_.rangeToggle->setText(on ? kOffersPoint : kOffersRange);
}

} // namespace kestrel
