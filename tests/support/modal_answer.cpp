#include "modal_answer.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace kestrel::test {

ModalAnswerer::ModalAnswerer() {
    timer_.setInterval(2);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
}

void ModalAnswerer::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        if (!box->isVisible()) return;
        seen.push_back({box->text(), box->windowTitle(), box->parentWidget()});
        QAbstractButton* answer = nullptr;
        if (!buttons.empty()) {
            answer = box->button(buttons.front()); // null when the box has no such button
            buttons.pop_front();
        }
        if (answer) {
            answer->click();
            return;
        }
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        if (!dialog->isVisible()) return;
        ++dialogsSeen;
        const QString name = fileNames.empty() ? QString() : fileNames.front();
        if (!fileNames.empty()) fileNames.pop_front();
        if (name.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(name);
        // Queued: accepting may open a question (overwrite?) that this poll must answer.
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    }
}

} // namespace kestrel::test
