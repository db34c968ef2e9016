// Case files, the unsaved-work question and undo in the real main window.
#include "batch/batch_host.h"
#include "cases/case_file.h"
#include "run/run_calculation.h"
#include "solver/run_time_steps.h"
#include "support/field_bits.h"
#include "support/sweep_recorder.h"
#include "support/window_test.h"
#include "windows/main_window.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <csignal>
#include <fstream>
#include <map>
#include <sys/resource.h>

namespace kestrel {
namespace {

using test::FirstDifference;
using test::ReadFile;
using test::WriteFile;
using CaseWindow = test::WindowTest;

TEST_F(CaseWindow, ASavedCaseOpensWithEveryFieldOptionListAndTheMap) {
    retype({{"Text1", "0.0025"}, {"Text2", "123.5"}, {"Text3", "17"}, {"Text4", "12"}});
    retype({{"Text5", "9"}, {"Text9", "33"}, {"Text8", "3"}, {"Text10", "2"}, {"Text11", "0.75"}});
    choose("Option5");
    choose("Option7");
    choose("Option2");
    m.coordListX.redim(13);
    for (int k = 1; k <= 13; ++k)
        m.coordListX(k) = 0.1 * k;
    m.coordListY.redim(10);
    for (int k = 1; k <= 10; ++k)
        m.coordListY(k) = k * k;
    trigger("スタガード格子法 (壁の摩擦、二次精度)");
    trigger("流入: 放物線分布 (平均速度 1)");
    trigger("時間刻みを毎ステップ自動で決める");
    startEditing();
    clickCell(3, 4);
    clickCell(12, 9);
    m.monitorI = 5; // as 観測点を置く leaves it
    m.monitorJ = 6;
    answerer.fileNames.push_back(path("saved.json"));
    trigger("名前を付けて保存…");
    ASSERT_TRUE(QFile::exists(path("saved.json"))) << answerer.lastText().toStdString();
    EXPECT_EQ(w.casePath(), path("saved.json").toStdString());
    EXPECT_EQ(w.windowTitle(), "Kestrel - saved.json");

    SimulationState other;
    MainWindow opened{other};
    ASSERT_TRUE(opened.openCaseFile(path("saved.json").toStdString()));
    for (const char* name :
         {"Text1", "Text2", "Text3", "Text4", "Text5", "Text8", "Text9", "Text10", "Text11"})
        EXPECT_EQ(opened.findChild<QLineEdit*>(name)->text(), field(name)->text()) << name;
    EXPECT_EQ(other.dt, 0.0025);
    EXPECT_EQ(other.reynolds, 123.5);
    EXPECT_EQ(other.nx, 12);
    EXPECT_EQ(other.meshMode, 0);
    EXPECT_EQ(other.lineScale, 0.75);
    EXPECT_TRUE(opened.findChild<QRadioButton*>("Option5")->isChecked());
    EXPECT_TRUE(opened.findChild<QRadioButton*>("Option7")->isChecked());
    EXPECT_TRUE(opened.findChild<QRadioButton*>("Option2")->isChecked());
    EXPECT_TRUE(opened.findChild<QPushButton*>("Command2")->isEnabled());
    EXPECT_FALSE(opened.findChild<QLineEdit*>("Text6")->isEnabled());
    EXPECT_TRUE(other.method == (MethodChoice{Method::Staggered, false, true, true, 0.5}));
    const QStringList chosen = {"スタガード格子法 (壁の摩擦、二次精度)",
                                "流入: 放物線分布 (平均速度 1)",
                                "時間刻みを毎ステップ自動で決める"};
    int checked = 0;
    for (QAction* action : opened.findChildren<QAction*>())
        checked += chosen.contains(action->text()) && action->isChecked();
    EXPECT_EQ(checked, chosen.size());
    EXPECT_EQ(other.coordListX, m.coordListX);
    EXPECT_EQ(other.coordListY, m.coordListY);
    EXPECT_EQ(other.cellKind, m.cellKind);
    EXPECT_EQ(other.cellKind(3, 4), 0);
    EXPECT_EQ(std::pair(other.monitorI, other.monitorJ), std::pair(Integer{5}, Integer{6}));
    // The map is drawn: the obstacle red, its neighbour cyan.
    EXPECT_EQ(opened.picture().image().pixel(opened.picture().toPixel(2.5, 3.5).toPoint()) &
                  0xffffff,
              0xff0000u);
    EXPECT_EQ(opened.picture().image().pixel(opened.picture().toPixel(1.5, 3.5).toPoint()) &
                  0xffffff,
              0x00ffffu);
}

TEST_F(CaseWindow, AnOpenedCaseRunsToTheRunnersNumbersToTheLastBit) {
    const std::string text = R"({"dt": 0.01, "reynolds": 70, "stepCount": 30, "maxIter": 40,
        "nx": 23, "ny": 11, "obstacles": [[6, 5], [6, 6], [7, 5], [7, 6], [6, 1]],
        "display": "speed", "lineWidth": 2, "displayInterval": 4, "confirmEachDisplay": false})";
    WriteFile(path("run.json"), text);
    ASSERT_TRUE(w.openCaseFile(path("run.json").toStdString()));
    click("Command1");
    ASSERT_TRUE(answerer.seen.empty()) << answerer.lastText().toStdString();

    CaseFile c = ReadCaseFile(text);
    BatchHost host(c.display, c.lineWidth);
    test::SweepRecorder steps;
    ASSERT_EQ(RunTimeSteps(c.state, host, steps), RunEnd::Completed);
    EXPECT_EQ(FirstDifference(m.U, c.state.U), "");
    EXPECT_EQ(FirstDifference(m.V, c.state.V), "");
    EXPECT_EQ(FirstDifference(m.P, c.state.P), "");
}

TEST_F(CaseWindow, ABadCaseFileChangesNothingAndSaysWhatIsWrong) {
    startEditing();
    clickCell(5, 5);
    retype("Text2", "55");
    const SimulationState before = m;
    const struct {
        const char* name;
        std::string text;
        const char* says;
    } bad[] = {
        {"broken.json", "{\n  \"dt\": 0.01,\n  \"nx\": }",
         "3 行 9 列目: JSON の書き方が正しくありません (この行: 「  \"nx\": }」)"},
        {"unknown.json", R"({"dt": 0.01, "nxx": 5})",
         "「nxx」はケースファイルのキーではありません"},
        {"count.json", R"({"dt": 0.01, "nx": 0})", "「nx」は1..32766 の範囲でなければなりません"},
        {"cell.json", R"({"obstacles": [[62, 1]]})", "「obstacles」は1..61 の範囲"},
        {"array.json", "[1, 2]", "JSON オブジェクト"},
        {"word.json", R"({"method": "mac"})",
         "「method」は\"classic\"、\"staggered\" のどれかでなければなりません"},
    };
    for (const auto& file : bad) {
        WriteFile(path(file.name), file.text);
        EXPECT_FALSE(w.openCaseFile(path(file.name).toStdString())) << file.name;
        EXPECT_TRUE(answerer.lastText().startsWith("ケースを開けません: " + path(file.name)))
            << file.name;
        EXPECT_TRUE(answerer.lastText().endsWith("ファイルを直してから、もう一度開いてください。"));
        EXPECT_NE(answerer.lastText().indexOf(file.says), -1)
            << file.name << ": " << answerer.lastText().toStdString();
    }
    EXPECT_FALSE(w.openCaseFile(path("missing.json").toStdString()));
    EXPECT_FALSE(w.openCaseFile(folder.path().toStdString()));
    EXPECT_NE(answerer.lastText().indexOf("はフォルダーです"), -1);

    EXPECT_EQ(m.cellKind, before.cellKind);
    EXPECT_EQ(m.dt, before.dt);
    EXPECT_EQ(m.reynolds, 55);
    EXPECT_EQ(m.nx, before.nx);
    EXPECT_EQ(field("Text2")->text(), "55");
    EXPECT_EQ(w.casePath(), "");
    EXPECT_EQ(w.windowTitle(), "Kestrel");
    EXPECT_TRUE(w.edits().canUndo()) << "a refused file keeps the edits' history";
}

TEST_F(CaseWindow, AFailedSaveKeepsThePreviousFile) {
    WriteFile(path("kept.json"), "{\"dt\": 0.5}\n");
    startEditing();
    // Files may grow to 40 bytes only: the case cannot be written whole.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 40;
    setrlimit(RLIMIT_FSIZE, &small);
    answerer.fileNames.push_back(path("kept.json"));
    answerer.buttons.push_back(QMessageBox::Yes); // replace it
    trigger("名前を付けて保存…");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_EQ(answerer.lastText(), "ケースを保存できません。\nファイルの大きさの上限を超えます")
        << "the reason in Japanese too";
    EXPECT_EQ(ReadFile(path("kept.json")), "{\"dt\": 0.5}\n");
    EXPECT_EQ(w.casePath(), "");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.json"});
}

TEST_F(CaseWindow, AFieldNotInUseOrACaseThatCannotBeOpenedIsNotSaved) {
    retype("Text4", "40000");
    answerer.fileNames.push_back(path("a.json"));
    trigger("名前を付けて保存…");
    EXPECT_NE(answerer.lastText().indexOf("使われていません"), -1);
    EXPECT_EQ(answerer.dialogsSeen, 0);
    retype("Text4", "0"); // in use, but no case can hold it
    trigger("名前を付けて保存…");
    EXPECT_TRUE(answerer.lastText().startsWith("このケースは保存できません。\n"))
        << answerer.lastText().toStdString();
    EXPECT_EQ(answerer.dialogsSeen, 0);
    EXPECT_FALSE(QFile::exists(path("a.json")));
}

TEST_F(CaseWindow, UndoAndRedoWalkPointRangeInitialisationAndANewMap) {
    std::vector<Array2<Integer>> maps{m.cellKind}; // before each step
    startEditing();                                // 1: the map made
    maps.push_back(m.cellKind);
    clickCell(4, 3); // 2: a point
    maps.push_back(m.cellKind);
    click("Command5"); // range editing; no map change, no step
    clickCell(10, 10);
    clickCell(12, 11); // 3: a range of 3 x 2
    maps.push_back(m.cellKind);
    EXPECT_EQ(m.cellKind(11, 11), 0);
    answerer.buttons.push_back(QMessageBox::Yes);
    click("Command4"); // 4: initialisation
    maps.push_back(m.cellKind);
    retype("Text4", "70");
    startEditing(); // 5: the map made anew for 70 columns
    maps.push_back(m.cellKind);
    ASSERT_EQ(m.cellKind.upper1(), 71);
    ASSERT_EQ(w.edits().count(), 5);
    for (std::size_t k = 1; k < maps.size(); ++k)
        EXPECT_NE(maps[k], maps[k - 1]) << "step " << k;

    for (int k = 4; k >= 0; --k) {
        trigger("元に戻す");
        EXPECT_EQ(m.cellKind, maps[k]) << "undo to " << k;
    }
    EXPECT_FALSE(m.cellKind.exists());
    for (int k = 1; k <= 3; ++k) {
        trigger("やり直し");
        EXPECT_EQ(m.cellKind, maps[k]) << "redo to " << k;
    }
    // Undo redraws the map on screen.
    EXPECT_EQ(pixelOfCell(11, 11), 0xff0000u);
    trigger("元に戻す");
    EXPECT_EQ(pixelOfCell(11, 11), 0x00ffffu);
    EXPECT_EQ(pixelOfCell(4, 3), 0xff0000u);
    // A new edit drops what could have been redone.
    retype("Text4", "61"); // the counts of the map on screen
    click("Command5");     // back to points
    clickCell(1, 1);
    EXPECT_FALSE(w.edits().canRedo());
    trigger("元に戻す");
    EXPECT_EQ(m.cellKind, maps[2]);
}

// An opened case with a map is ready to edit, and what it will do that it
// may not mean is said when it opens.
TEST_F(CaseWindow, AnOpenedMapIsReadyToEditAndItsWarningsAreSaid) {
    WriteFile(path("back.json"), R"({"dt": -1, "nx": 9, "ny": 7, "obstacles": [[2, 2]]})");
    ASSERT_TRUE(w.openCaseFile(path("back.json").toStdString()));
    EXPECT_NE(answerer.lastText().indexOf("「dt」は負です"), -1)
        << answerer.lastText().toStdString();
    clickCell(4, 3);
    EXPECT_EQ(m.cellKind(4, 3), 0) << "a click edits without 流体有無指定 first";
    EXPECT_EQ(pixelOfCell(4, 3), 0xff0000u);
}

// Undo and redo leave one consistent state on screen: the map they give
// back is shown, with the counts it was made for, and a run and a saved case
// agree with it.
TEST_F(CaseWindow, UndoShowsTheMapItGivesBackWithItsCounts) {
    startEditing();
    retype("Text4", "70");
    startEditing(); // the map made anew for 70 columns
    clickCell(66, 5);
    trigger("元に戻す");
    trigger("元に戻す");
    EXPECT_EQ(field("Text4")->text(), "61");
    EXPECT_EQ(m.nx, 61);
    EXPECT_EQ(m.cellKind.upper1(), 62);
    answerer.fileNames.push_back(path("undone.json"));
    trigger("名前を付けて保存…");
    const CaseFile saved = ReadCaseFile(ReadFile(path("undone.json")));
    EXPECT_EQ(saved.state.nx, 61);
    EXPECT_EQ(saved.state.cellKind, m.cellKind);
    trigger("やり直し");
    trigger("やり直し");
    EXPECT_EQ(field("Text4")->text(), "70");
    EXPECT_EQ(pixelOfCell(66, 5), 0xff0000u);

    // Over a result plot: undo shows the map with the change.
    retype("Text3", "2");
    answerer.buttons.push_back(QMessageBox::No); // no question at each display
    choose("Option5");
    click("Command1");
    ASSERT_EQ(m.history.size(), 2u) << answerer.lastText().toStdString();
    const QImage plot = w.picture().image();
    clickCell(3, 3);
    trigger("元に戻す");
    EXPECT_NE(w.picture().image(), plot);
    EXPECT_EQ(pixelOfCell(3, 3), 0x00ffffu);
    EXPECT_EQ(pixelOfCell(66, 5), 0xff0000u);
    trigger("やり直し");
    EXPECT_EQ(pixelOfCell(3, 3), 0xff0000u);
}

// The line under the picture follows every change, not only the pointer.
TEST_F(CaseWindow, TheProbeLineFollowsEditsAndRedrawsWithoutAMove) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    startEditing();
    auto* line = w.findChild<QStatusBar*>("StatusBar");
    QTest::mouseMove(w.findChild<QWidget*>("Picture1"),
                     w.picture().toPixel(7 - 0.5, 4 - 0.5).toPoint());
    EXPECT_EQ(line->currentMessage(), "i 7  j 4  流体");
    clickCell(7, 4);
    EXPECT_EQ(line->currentMessage(), "i 7  j 4  非流体");
    trigger("元に戻す");
    EXPECT_EQ(line->currentMessage(), "i 7  j 4  流体");
    click("Command6"); // the mesh's shape: no cell map under the pointer
    EXPECT_EQ(line->currentMessage(), "");
}

// Saving as desktop programs save: the filter's extension added to a bare
// name, Ctrl+S into the case's own file without a question, Save As asking.
TEST_F(CaseWindow, SaveWritesTheCasesFileAndSaveAsAsksForAName) {
    answerer.fileNames.push_back(path("bare"));
    trigger("ケースを保存"); // no file yet: asks
    EXPECT_EQ(answerer.dialogsSeen, 1);
    EXPECT_TRUE(QFile::exists(path("bare.json")));
    EXPECT_EQ(w.casePath(), path("bare.json").toStdString());
    retype("Text2", "77");
    trigger("ケースを保存");
    EXPECT_EQ(answerer.dialogsSeen, 1) << "the case's own file, no question";
    EXPECT_EQ(ReadCaseFile(ReadFile(path("bare.json"))).state.reynolds, 77);
    answerer.fileNames.push_back(path("other.case"));
    trigger("名前を付けて保存…");
    EXPECT_EQ(answerer.dialogsSeen, 2);
    EXPECT_TRUE(QFile::exists(path("other.case"))) << "a name with an extension stays";
    EXPECT_EQ(w.casePath(), path("other.case").toStdString());
    std::map<QString, QKeySequence> shortcuts;
    for (QAction* action : w.findChildren<QAction*>())
        shortcuts[action->text()] = action->shortcut();
    EXPECT_EQ(shortcuts["ケースを保存"], QKeySequence(QKeySequence::Save));
    EXPECT_EQ(shortcuts["名前を付けて保存…"], QKeySequence("Ctrl+Shift+S"));
    // Exports add theirs too.
    startEditing();
    retype("Text3", "2");
    answerer.buttons.push_back(QMessageBox::No);
    choose("Option5");
    click("Command1");
    answerer.fileNames.push_back(path("field"));
    trigger("VTK…");
    EXPECT_TRUE(QFile::exists(path("field.vtk"))) << answerer.lastText().toStdString();
}

TEST_F(CaseWindow, ClosingWithUnsavedWorkAsksAndEachAnswerDoesWhatItSays) {
    w.show();
    EXPECT_TRUE(w.close()) << "nothing changed: no question";
    EXPECT_TRUE(answerer.seen.empty());
    m.stopRequested = kFalse;

    w.show(); // other texts of the same values are no change
    retype("Text1", "0.0050");
    retype("Text4", "61.4");
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(answerer.seen.empty()) << answerer.lastText().toStdString();
    m.stopRequested = kFalse;

    w.show();
    retype("Text2", "41");
    answerer.buttons.push_back(QMessageBox::Cancel);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(answerer.lastText(), "保存しますか?");
    EXPECT_NE(m.stopRequested, kTrue);

    answerer.buttons.push_back(QMessageBox::Yes);
    answerer.fileNames.push_back(""); // the save dialog cancelled: still nothing lost
    EXPECT_FALSE(w.close());
    EXPECT_EQ(answerer.dialogsSeen, 1);

    answerer.buttons.push_back(QMessageBox::Yes);
    answerer.fileNames.push_back(path("closing.json"));
    EXPECT_TRUE(w.close());
    EXPECT_EQ(ReadCaseFile(ReadFile(path("closing.json"))).state.reynolds, 41);
    EXPECT_EQ(m.stopRequested, kTrue);

    w.show();
    retype("Text2", "42");
    const std::size_t asked = answerer.seen.size();
    answerer.buttons.push_back(QMessageBox::No);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(answerer.seen.size(), asked + 1);
    EXPECT_EQ(ReadCaseFile(ReadFile(path("closing.json"))).state.reynolds, 41);
}

TEST_F(CaseWindow, ListsLeftInTheEditorAreAskedAboutBeforeAnotherCaseOpens) {
    WriteFile(path("other.json"), R"({"reynolds": 99})");
    choose("Option2");
    click("Command2");
    QWidget* editor = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmXYPlace" && top->isVisible()) editor = top;
    ASSERT_NE(editor, nullptr);
    answerer.buttons = {QMessageBox::Cancel};
    trigger("ケースを開く…");
    EXPECT_EQ(answerer.lastText(), "XY座標値を入れ替えますか?");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(answerer.dialogsSeen, 0);

    // Stored by the editor, they are unsaved work of the case.
    answerer.buttons = {QMessageBox::Yes, QMessageBox::Cancel};
    trigger("ケースを開く…");
    EXPECT_TRUE(m.coordListX.exists());
    EXPECT_EQ(answerer.lastText(), "保存しますか?");
    EXPECT_EQ(answerer.dialogsSeen, 0);
    EXPECT_EQ(m.reynolds, 40);
}

TEST_F(CaseWindow, RecentCasesListTheLastFilesAndOpenThem) {
    WriteFile(path("one.json"), R"({"reynolds": 11})");
    WriteFile(path("two.json"), R"({"reynolds": 22})");
    ASSERT_TRUE(w.openCaseFile(path("two.json").toStdString()));
    ASSERT_TRUE(w.openCaseFile(path("one.json").toStdString()));
    ASSERT_TRUE(w.openCaseFile(path("two.json").toStdString())); // once in the list, first
    QMenu* recent = nullptr;
    for (QMenu* menu : w.findChildren<QMenu*>())
        if (menu->title() == "最近使ったケース") recent = menu;
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    QStringList entries;
    for (QAction* action : recent->actions())
        entries << action->text();
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries[0], path("two.json"));
    EXPECT_EQ(entries[1], path("one.json"));
    EXPECT_EQ(entries.count(path("two.json")), 1);
    recent->actions()[1]->trigger();
    EXPECT_EQ(m.reynolds, 11);
    // A file that cannot be read says so and stays, to be opened once mended.
    WriteFile(path("two.json"), "{");
    emit recent->aboutToShow();
    recent->actions()[1]->trigger();
    EXPECT_TRUE(answerer.lastText().startsWith("ケースを開けません: "));
    emit recent->aboutToShow();
    EXPECT_EQ(recent->actions()[1]->text(), path("two.json"));
    // A file that is gone says so and leaves the list.
    QFile::remove(path("two.json"));
    emit recent->aboutToShow();
    recent->actions()[1]->trigger();
    EXPECT_TRUE(answerer.lastText().startsWith("ケースを開けません: "))
        << answerer.lastText().toStdString();
    emit recent->aboutToShow();
    for (QAction* action : recent->actions())
        EXPECT_NE(action->text(), path("two.json"));
    EXPECT_EQ(m.reynolds, 11);
}

TEST_F(CaseWindow, AnUndoOrAnOpenedCaseDropsAHalfDrawnRange) {
    WriteFile(path("case.json"), R"({"nx": 20, "ny": 10})");
    startEditing();
    clickCell(4, 4);
    click("Command5"); // ranges
    clickCell(2, 2);   // a range begun
    ASSERT_EQ(m.pickState, PickState::RangeEnd);
    trigger("元に戻す");
    EXPECT_EQ(m.cellKind(4, 4), 1);
    EXPECT_EQ(m.pickState, PickState::RangeStart) << "the range was begun on the map undone";
    clickCell(2, 2);
    ASSERT_EQ(m.pickState, PickState::RangeEnd);
    ASSERT_TRUE(w.edits().canUndo());
    ASSERT_TRUE(w.openCaseFile(path("case.json").toStdString()));
    EXPECT_EQ(m.pickState, PickState::RangeStart) << "the next click starts a range on the new map";
    EXPECT_FALSE(w.edits().canUndo());
    EXPECT_EQ(m.cellKind.upper1(), 21);
}

TEST_F(CaseWindow, EveryOptionTheCaseHoldsCountsAsUnsavedWork) {
    for (const char* name : {"Option7", "Option5", "Option2"}) {
        SimulationState s;
        MainWindow window{s};
        window.show();
        QRadioButton* o = window.findChild<QRadioButton*>(name);
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(8, o->height() / 2));
        answerer.buttons.push_back(QMessageBox::Cancel);
        EXPECT_FALSE(window.close()) << name;
        EXPECT_EQ(answerer.lastText(), "保存しますか?");
        answerer.buttons.push_back(QMessageBox::No);
        EXPECT_TRUE(window.close());
    }
    // The change mode is not part of a case.
    w.show();
    QRadioButton* fluid = option("Option3_1");
    QTest::mouseClick(fluid, Qt::LeftButton, {}, QPoint(8, fluid->height() / 2));
    const std::size_t asked = answerer.seen.size();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(answerer.seen.size(), asked);
}

TEST_F(CaseWindow, OpeningAnotherCaseAsksFirstAndCancelKeepsTheWork) {
    WriteFile(path("other.json"), R"({"reynolds": 99})");
    retype("Text2", "41");
    answerer.buttons.push_back(QMessageBox::Cancel);
    trigger("ケースを開く…");
    EXPECT_EQ(answerer.lastText(), "保存しますか?");
    EXPECT_EQ(answerer.dialogsSeen, 0);
    EXPECT_EQ(m.reynolds, 41);

    answerer.buttons.push_back(QMessageBox::No);
    answerer.fileNames.push_back(path("other.json"));
    trigger("ケースを開く…");
    EXPECT_EQ(m.reynolds, 99);
    EXPECT_EQ(field("Text2")->text(), "99");
    // Just opened: closing asks nothing.
    const std::size_t asked = answerer.seen.size();
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(answerer.seen.size(), asked);
}

} // namespace
} // namespace kestrel
