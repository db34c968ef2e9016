// The text viewer and the coordinate editor windows.
#include "mesh/widgets/coordinate_editor.h"
#include "report/widgets/text_viewer.h"
#include "support/modal_answer.h"
#include "support/scripted_host.h"
#include "support/test_state.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kestrel {
namespace {

TEST(TextViewerWindow, ShowsTheFirst65532CharactersAndSavesTheWholeTable) {
    Module1 m = test::meshState(61, 31);
    test::initialiseRun(m);
    test::ScriptedHost host;
    auto* viewer = new TextViewer(m, host);
    Command8_Click(m, host, [viewer]() -> ResultViewer& { return *viewer; });
    EXPECT_EQ(viewer->windowTitle(), "実行結果");
    EXPECT_EQ(viewer->findChild<QPlainTextEdit*>("Text1")->toPlainText().size() +
                  viewer->findChild<QPlainTextEdit*>("Text1")->blockCount() - 1,
              65532); // CRLF shows as one line break per row
    EXPECT_EQ(viewer->findChild<QLineEdit*>("Text5")->text(), "31");

    const std::string path = ::testing::TempDir() + "kestrel_table.txt";
    ASSERT_TRUE(viewer->saveTable(path));
    std::ifstream in(path, std::ios::binary);
    std::stringstream saved;
    saved << in.rdbuf();
    EXPECT_EQ(saved.str().size(), 83291u);

    viewer->findChild<QLineEdit*>("Text4")->setText("25");
    QTest::mouseClick(viewer->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(viewer->table().size(), 87u + 44 * 61 * 7);
    EXPECT_TRUE(viewer->findChild<QLabel*>("Label5")->text().isEmpty());
    EXPECT_EQ(viewer->findChild<QLineEdit*>("Text4")->text(), "25");
    delete viewer;
}

TEST(CoordinateEditorWindow, StoresOnYesAndKeepsOnNo) {
    Module1 m = test::meshState(3, 2);
    test::ScriptedHost host;
    {
        CoordinateEditor editor(m, host);
        auto* list = editor.findChild<QListWidget*>("List1_0");
        ASSERT_EQ(list->count(), 4);
        EXPECT_EQ(list->item(0)->text(), "0001 : ");
        m.meshSizeX = 5;
        QTest::mouseClick(editor.findChild<QPushButton*>("Command3_0"), Qt::LeftButton);
        EXPECT_EQ(list->item(3)->text(), "0004 : 15");
        host.answers = {Answer::No};
        EXPECT_TRUE(editor.close());
        EXPECT_FALSE(m.coordListX.exists());
    }
    CoordinateEditor editor(m, host);
    editor.setAttribute(Qt::WA_DeleteOnClose, false);
    QTest::mouseClick(editor.findChild<QPushButton*>("Command3_0"), Qt::LeftButton);
    host.answers = {Answer::Cancel};
    editor.show();
    EXPECT_FALSE(editor.close());
    host.answers = {Answer::Yes};
    EXPECT_TRUE(editor.close());
    EXPECT_EQ(host.messages.back().text, "XY座標値を入れ替えますか?");
    ASSERT_TRUE(m.coordListX.exists());
    EXPECT_EQ(m.coordListX(4), 15);
    EXPECT_EQ(m.coordListY(1), kUnsetCoordinate);
}

} // namespace
} // namespace kestrel
