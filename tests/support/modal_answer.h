#pragma once
// Answers the next modal message box of a widget test by pressing a button.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

namespace kestrel::test {

struct SeenBox {
    QString text;
    QString title;
};

inline std::shared_ptr<SeenBox> answerNextBox(QMessageBox::StandardButton button) {
    auto seen = std::make_shared<SeenBox>();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [seen, button, poll] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen->text = box->text();
            seen->title = box->windowTitle();
            box->button(button)->click();
            return;
        }
        QTimer::singleShot(5, *poll);
    };
    QTimer::singleShot(0, *poll);
    return seen;
}

} // namespace kestrel::test
