#pragma once
// Answers the modal boxes and file dialogs of a widget test while it lives:
// message boxes with the queued buttons (Escape when none is queued or the
// box lacks the queued one), file
// dialogs with the queued names (Cancel when none is queued). Every box is
// recorded with the window it belongs to.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <vector>

namespace kestrel::test {

struct SeenBox {
    QString text;
    QString title;
    QPointer<QWidget> owner; // the window the box opened over
};

class ModalAnswerer : public QObject {
  public:
    ModalAnswerer();

    std::deque<QMessageBox::StandardButton> buttons;
    std::deque<QString> fileNames; // an empty name cancels
    std::vector<SeenBox> seen;
    int dialogsSeen = 0;

    // The last box's text, empty when none was seen.
    QString lastText() const { return seen.empty() ? QString() : seen.back().text; }

  private:
    void poll();
    QTimer timer_;
};

} // namespace kestrel::test
