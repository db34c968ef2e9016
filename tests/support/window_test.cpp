#include "support/window_test.h"

#include <QAction>
#include <QApplication>
#include <fstream>

namespace kestrel::test {

std::string ReadFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

void Retype(QLineEdit* field, const char* text) {
    field->clear();
    QTest::keyClicks(field, text);
}

void TriggerMenuCommand(QWidget& window, const QString& caption) {
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == caption) {
            action->trigger();
            return;
        }
    ADD_FAILURE() << "no menu command " << caption.toStdString();
}

QWidget* ShownWindow(const char* name) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible()) return top;
    return nullptr;
}

void WindowTest::choose(const char* name) {
    QRadioButton* o = option(name);
    QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(8, o->height() / 2));
}

void WindowTest::clickCell(int i, int j) {
    QTest::mouseClick(w.findChild<QWidget*>("Picture1"), Qt::LeftButton, {},
                      w.picture().toPixel(i - 0.5, j - 0.5).toPoint());
}

QRgb WindowTest::pixelOfCell(int i, int j) {
    const QPoint p = w.picture().toPixel(i - 0.5, j - 0.5).toPoint();
    return w.picture().pixel(p.x(), p.y()) & 0xffffff;
}

void WindowTest::startEditing() {
    answerer.buttons.push_back(QMessageBox::Yes);
    click("Command3");
}

void WindowTest::runSteps(const char* steps, const char* interval) {
    retype("Text3", steps);
    retype("Text8", interval);
    choose("Option5");
    startEditing();
    m.cellKind(5, 4) = 0;
    click("Command1");
}

} // namespace kestrel::test
