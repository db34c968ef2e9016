#include "qt_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

namespace kestrel {

namespace {

QString toQt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

Answer QtHost::message(const std::string& text, Buttons buttons) {
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        standard = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::YesNoCancel)
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(QMessageBox::NoIcon, "Kestrel", toQt(text), standard, window_);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // Closing a question box with Escape or its close button means Cancel (or No).
        if (buttons == Buttons::YesNoCancel) return Answer::Cancel;
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

QString QtHost::qtFilter(const std::string& filter) {
    const QStringList parts = toQt(filter).split('|');
    QStringList entries;
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2)
        entries << parts[k];
    return entries.join(";;");
}

std::optional<std::string> QtHost::askSaveFileName(const std::string& filter,
                                                   const std::string& initialName) {
    const QString chosen =
        QFileDialog::getSaveFileName(window_, QString(), toQt(initialName), qtFilter(filter));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

void QtHost::processEvents() {
    QApplication::processEvents();
}

QWidget* QtHost::find(std::string_view control) const {
    return window_ ? window_->findChild<QWidget*>(toQt(control)) : nullptr;
}

std::string QtHost::controlText(std::string_view control) {
    QWidget* w = find(control);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
    return {};
}

void QtHost::setControlText(std::string_view control, const std::string& text) {
    QWidget* w = find(control);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(toQt(text));
        label->repaint();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(toQt(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(toQt(text));
    }
}

bool QtHost::isSelected(std::string_view option) {
    auto* radio = qobject_cast<QRadioButton*>(find(option));
    return radio && radio->isChecked();
}

void QtHost::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace kestrel
