#include "qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace kestrel {

namespace {

QString toQt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

Answer QtDialogs::message(const std::string& text, Buttons buttons) {
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

QString QtDialogs::qtFilter(const std::string& filter) {
    const QStringList parts = toQt(filter).split('|');
    QStringList entries;
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2)
        entries << parts[k];
    return entries.join(";;");
}

std::optional<std::string> QtDialogs::askSaveFileName(const std::string& filter,
                                                      const std::string& initialName) {
    const QString chosen =
        QFileDialog::getSaveFileName(window_, QString(), toQt(initialName), qtFilter(filter));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

std::optional<std::string> QtDialogs::askSaveFileNameWithExtension(const std::string& filter,
                                                                   const std::string& initialName) {
    QFileDialog dialog(window_, QString(), QString(), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(toQt(initialName));
    // "CSV(*.csv)" gives "csv"; "すべてのファイル(*.*)" none.
    const auto follow = [&dialog](const QString& chosenFilter) {
        const qsizetype open = chosenFilter.lastIndexOf('(');
        const QString first = chosenFilter.mid(open + 1).section(')', 0, 0).section(' ', 0, 0);
        dialog.setDefaultSuffix(first.startsWith("*.") && first != "*.*" ? first.mid(2)
                                                                         : QString());
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    follow(dialog.selectedNameFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::askOpenFileName(const std::string& filter,
                                                      const std::string& initialName) {
    const QString chosen =
        QFileDialog::getOpenFileName(window_, QString(), toQt(initialName), qtFilter(filter));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

std::optional<std::string> QtDialogs::askFolder(const std::string& initialFolder) {
    const QString chosen =
        QFileDialog::getExistingDirectory(window_, QString(), toQt(initialFolder));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

void QtDialogs::processEvents() {
    QApplication::processEvents();
}

void QtDialogs::redrawDuringStep() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtDialogs::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace kestrel
