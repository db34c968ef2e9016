// The text viewer and the coordinate editor windows.
#include "solver/boundary_conditions.h"
#include "support/scripted_host.h"
#include "support/test_state.h"
#include "support/window_test.h"
#include "windows/coordinate_editor.h"
#include "windows/text_viewer.h"

#include <QListWidget>
#include <QPlainTextEdit>

namespace kestrel {
namespace {

class TextViewerWindow : public ::testing::Test {
  protected:
    TextViewerWindow() {
        test::initialiseRun(m);
        viewer->setAttribute(Qt::WA_DeleteOnClose, false);
        ShowResultText(m, host, [this]() -> ResultViewer& { return *viewer; });
    }
    ~TextViewerWindow() override { delete viewer; }
    QLineEdit* field(const char* name) { return viewer->findChild<QLineEdit*>(name); }
    void press(const char* name) {
        QTest::mouseClick(viewer->findChild<QPushButton*>(name), Qt::LeftButton);
    }

    SimulationState m = test::meshState(61, 31);
    test::ScriptedHost host;
    TextViewer* viewer = new TextViewer(m);
    test::ModalAnswerer answerer;
};

TEST_F(TextViewerWindow, ShowsTheFirst65532CharactersAndRedisplaysARange) {
    EXPECT_EQ(viewer->windowTitle(), "実行結果");
    auto* area = viewer->findChild<QPlainTextEdit*>("Text1");
    EXPECT_EQ(area->toPlainText().size() + area->blockCount() - 1,
              65532); // CRLF shows as one line break per row
    EXPECT_EQ(field("Text5")->text(), "31");

    field("Text4")->setText("25");
    press("Command1");
    EXPECT_EQ(viewer->table().size(), 87u + 44 * 61 * 7);
    EXPECT_TRUE(viewer->findChild<QLabel*>("Label5")->text().isEmpty());
    EXPECT_EQ(field("Text4")->text(), "25");
}

TEST_F(TextViewerWindow, SavesTheWholeTableWhateverRangeIsShown) {
    field("Text4")->setText("30");
    press("Command1");
    ASSERT_EQ(viewer->table().size(), 87u + 44 * 61 * 2);
    const std::string path = ::testing::TempDir() + "kestrel_whole_table.txt";
    std::remove(path.c_str());
    answerer.fileNames = {QString::fromStdString(path)};
    press("SaveTable");
    EXPECT_EQ(answerer.dialogsSeen, 1);
    const std::string saved = test::ReadFile(QString::fromStdString(path));
    EXPECT_EQ(saved.size(), 83291u);
    EXPECT_EQ(saved, BuildResultTable(m, {1, 61, 1, 31}));
}

TEST_F(TextViewerWindow, ARunThatShrinksTheFieldDuringARedisplayEndsItWithAMessage) {
    // Another command re-dimensions the fields while the rows are built, as a
    // run started from the main window during the redisplay would.
    QTimer::singleShot(0, [this] {
        m.nx = 10;
        m.ny = 10;
        SetInitialConditions(m);
    });
    press("Command1");
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text.toStdString(), "インデックスが有効範囲にありません。 (再表示)");
    EXPECT_EQ(answerer.seen[0].owner, viewer);
    EXPECT_TRUE(viewer->findChild<QLabel*>("Label5")->text().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The field gone (a new mesh made while the viewer stays open): both
// commands say there is no result yet, naming themselves.
TEST_F(TextViewerWindow, WithoutAFieldSavingAndRedisplayingSayThereIsNoResult) {
    m.P.erase();
    for (const auto& [button, operation] :
         {std::pair{"SaveTable", "表全体を保存"}, std::pair{"Command1", "再表示"}}) {
        answerer.seen.clear();
        press(button);
        ASSERT_EQ(answerer.seen.size(), 1u) << button;
        EXPECT_EQ(answerer.seen[0].text.toStdString(),
                  std::string("インデックスが有効範囲にありません。(") + operation +
                      ")\r\n\r\n未だ計算実行されていない可能性があります.");
    }
    EXPECT_EQ(answerer.dialogsSeen, 0) << "no file was asked for";
}

TEST_F(TextViewerWindow, ResizingFollowsTheHeightRule) {
    auto* area = viewer->findChild<QPlainTextEdit*>("Text1");
    viewer->show();
    const int before = area->height();
    const int frame = viewer->frameGeometry().height() - viewer->height();
    // 885 twips of window would leave 185 for the area: it stays; 900 leave 200.
    viewer->resize(viewer->width(), 59 - frame);
    QApplication::processEvents();
    EXPECT_EQ(area->height(), before);
    viewer->resize(viewer->width(), 60 - frame);
    QApplication::processEvents();
    EXPECT_EQ(area->height(), 13);
    viewer->resize(viewer->width(), 400);
    QApplication::processEvents();
    EXPECT_EQ(area->height(), (viewer->frameGeometry().height() * 15 - 700 + 7) / 15);
}

class CoordinateEditorWindow : public ::testing::Test {
  protected:
    QListWidget* list(CoordinateEditor& e, int index) {
        return e.findChild<QListWidget*>(QString("List1_%1").arg(index));
    }
    void press(CoordinateEditor& e, const char* command, int index) {
        QTest::mouseClick(e.findChild<QPushButton*>(QString("%1_%2").arg(command).arg(index)),
                          Qt::LeftButton);
    }
    SimulationState m = test::meshState(3, 2);
    test::ModalAnswerer answerer;
};

TEST_F(CoordinateEditorWindow, StoresOnYesKeepsOnNoAndStaysOnCancel) {
    {
        CoordinateEditor editor(m);
        editor.setAttribute(Qt::WA_DeleteOnClose, false);
        ASSERT_EQ(list(editor, 0)->count(), 4);
        m.meshSizeX = 5;
        press(editor, "Command3", 0);
        EXPECT_EQ(list(editor, 0)->item(3)->text(), "0004 : 15");
        answerer.buttons = {QMessageBox::No};
        EXPECT_TRUE(editor.close());
        EXPECT_FALSE(m.coordListX.exists());
    }
    CoordinateEditor editor(m);
    editor.setAttribute(Qt::WA_DeleteOnClose, false);
    press(editor, "Command3", 0);
    editor.show();
    answerer.buttons = {QMessageBox::Cancel};
    EXPECT_FALSE(editor.close());
    EXPECT_EQ(answerer.lastText(), "XY座標値を入れ替えますか?");
    EXPECT_EQ(answerer.seen.back().owner, &editor); // over the editor, not the main window
    answerer.buttons = {QMessageBox::Yes};
    EXPECT_TRUE(editor.close());
    ASSERT_TRUE(m.coordListX.exists());
    EXPECT_EQ(m.coordListX(4), 15);
    EXPECT_EQ(m.coordListY(1), kUnsetCoordinate);
}

TEST_F(CoordinateEditorWindow, DeleteWithoutASelectedEntryDoesNothing) {
    m.coordListX.redim(4);
    for (int k = 1; k <= 4; ++k)
        m.coordListX(k) = 10 * (k - 1);
    CoordinateEditor editor(m);
    editor.show();
    QListWidget* x = list(editor, 0);
    // Keyboard focus makes a current row without selecting it.
    x->setFocus();
    x->selectionModel()->setCurrentIndex(x->model()->index(0, 0), QItemSelectionModel::NoUpdate);
    ASSERT_TRUE(x->selectedItems().isEmpty());
    press(editor, "Command1", 0);
    EXPECT_EQ(x->item(0)->text(), "0001 : 0");
    EXPECT_EQ(x->item(3)->text(), "0004 : 30");

    x->item(1)->setSelected(true);
    press(editor, "Command1", 0);
    EXPECT_EQ(x->item(1)->text(), "0002 : 20");
    EXPECT_EQ(x->item(3)->text(), "0004 : ");
    editor.closeWithoutAsking();
}

TEST_F(CoordinateEditorWindow, InsertRefusesANumberBeyondTheDoubleRangeAndAFullList) {
    CoordinateEditor editor(m);
    editor.show();
    auto* value = editor.findChild<QLineEdit*>("Text1_0");
    value->setText("1e400");
    press(editor, "Command2", 0);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.lastText(), "「1e400」は扱える範囲を超えているため挿入できません。");
    EXPECT_EQ(answerer.seen.back().owner, &editor);
    EXPECT_EQ(list(editor, 0)->item(0)->text(), "0001 : ");

    for (const char* v : {"4", "1", "3", "2"}) {
        value->setText(v);
        press(editor, "Command2", 0);
    }
    EXPECT_EQ(list(editor, 0)->item(0)->text(), "0001 : 1");
    EXPECT_EQ(list(editor, 0)->item(3)->text(), "0004 : 4");
    ASSERT_EQ(answerer.seen.size(), 1u);
    value->setText("5");
    press(editor, "Command2", 0);
    EXPECT_EQ(answerer.lastText(), "挿入できません");
    editor.closeWithoutAsking();
}

TEST_F(CoordinateEditorWindow, YesWithANegativeMeshCountKeepsTheEditorOpen) {
    CoordinateEditor editor(m);
    editor.setAttribute(Qt::WA_DeleteOnClose, false);
    editor.show();
    m.nx = -2;
    answerer.buttons = {QMessageBox::Yes};
    EXPECT_FALSE(editor.close());
    ASSERT_EQ(answerer.seen.size(), 2u);
    EXPECT_EQ(answerer.lastText(),
              "メッシュ数 X が -2 のため、座標値を格納できません。 (XY座標の設定)");
    EXPECT_FALSE(m.coordListX.exists());
    EXPECT_FALSE(m.coordListY.exists());
    m.nx = 3;
    answerer.buttons = {QMessageBox::Yes};
    EXPECT_TRUE(editor.close());
    EXPECT_TRUE(m.coordListX.exists());
}

} // namespace
} // namespace kestrel
