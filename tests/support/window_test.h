#pragma once
// The main window of a widget test, driven the way a user drives it: every
// window test starts from this fixture, its boxes answered by `answerer`.
#include "support/modal_answer.h"
#include "windows/main_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

namespace kestrel::test {

std::string ReadFile(const QString& path);
void WriteFile(const QString& path, const std::string& text);

// Selects the field's text away and types the new one key by key.
void Retype(QLineEdit* field, const char* text);

// Chooses the menu command with this caption, as a click on it would.
void TriggerMenuCommand(QWidget& window, const QString& caption);

// The top-level window of that object name on screen; null when none is.
QWidget* ShownWindow(const char* name);

class WindowTest : public ::testing::Test {
  protected:
    QLineEdit* field(const char* name) { return w.findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) { return w.findChild<QPushButton*>(name); }
    QRadioButton* option(const char* name) { return w.findChild<QRadioButton*>(name); }
    QLabel* label(const char* name) { return w.findChild<QLabel*>(name); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    // A click on the option's caption, where a user clicks.
    void choose(const char* name);
    void retype(const char* name, const char* text) { Retype(field(name), text); }
    // Several fields in turn, as {field, text}.
    void retype(std::initializer_list<std::pair<const char*, const char*>> fields) {
        for (const auto& [name, text] : fields)
            retype(name, text);
    }
    void trigger(const QString& caption) { TriggerMenuCommand(w, caption); }
    // A click in the middle of cell (i, j) of the map on screen.
    void clickCell(int i, int j);
    QRgb pixelOfCell(int i, int j);
    // Makes the map (answering its question) and switches point editing on.
    void startEditing();
    // A short run without questions: continuous display, an all-fluid map
    // with one obstacle at (5, 4).
    void runSteps(const char* steps, const char* interval = "2");
    QString path(const char* name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    ModalAnswerer answerer;
    SimulationState m;
    MainWindow w{m};
};

} // namespace kestrel::test
