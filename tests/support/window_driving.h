#pragma once
// Driving a real window in a widget test the way a user does.
#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace kestrel::test {

// Selects the field's text away and types the new one key by key.
inline void Retype(QLineEdit* field, const char* text) {
    field->clear();
    QTest::keyClicks(field, text);
}

// Chooses the menu command with this caption, as a click on it would.
inline void TriggerMenuCommand(QWidget& window, const QString& caption) {
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == caption) {
            action->trigger();
            return;
        }
    ADD_FAILURE() << "no menu command " << caption.toStdString();
}

} // namespace kestrel::test
