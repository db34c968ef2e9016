// What a user does in the main window that must neither lose work nor end
// the program: fields that hold a text not in use, keystrokes during a run,
// failing commands, Escape on a question, closing.
#include "support/window_test.h"

#include <QAccessible>
#include <QGroupBox>
#include <QPointer>
#include <QTimer>

namespace kestrel {
namespace {

class WindowFaults : public test::WindowTest {
  protected:
    void makeAllFluidMap() {
        m.cellKind.redim(m.nx + 1, m.ny + 1);
        for (int i = 1; i <= m.nx; ++i)
            for (int j = 1; j <= m.ny; ++j)
                m.cellKind(i, j) = 1;
    }
};

// Only the fields a command reads hold it back: the map and mesh commands
// read the counts and sizes, not the step count; the run and saving read all.
TEST_F(WindowFaults, OnlyTheFieldsACommandReadsHoldItBack) {
    retype("Text3", "99999");
    answerer.buttons = {QMessageBox::Yes, QMessageBox::Yes};
    for (const char* command : {"Command6", "Command3", "Command5", "Command4"}) {
        const std::size_t before = answerer.seen.size();
        click(command);
        for (std::size_t k = before; k < answerer.seen.size(); ++k)
            EXPECT_EQ(answerer.seen[k].text.indexOf("使われていません"), -1) << command;
    }
    EXPECT_TRUE(m.cellKind.exists()) << "the map was made";
    click("Command1");
    EXPECT_TRUE(answerer.lastText().startsWith("計算回数 の「99999」は使われていません。"))
        << answerer.lastText().toStdString();
    EXPECT_FALSE(m.U.exists());
}

TEST_F(WindowFaults, TextTypedOutOfRangeKeepsTheValueInUseAndTheCommandsRefuse) {
    retype("Text4", "40000");
    EXPECT_EQ(m.nx, 4000); // the value of the last text that fitted
    EXPECT_NE(field("Text4")->toolTip().indexOf("使われている値は 4000 です"), -1);
    EXPECT_FALSE(field("Text4")->styleSheet().isEmpty());
    const std::string refusal = "メッシュ数 X の「40000」は使われていません。使われている値は "
                                "4000 です。値を直してから、もう一度操作してください。";
    for (const char* command : {"Command3", "Command4", "Command5", "Command6", "Command1"}) {
        const std::size_t before = answerer.seen.size();
        click(command);
        ASSERT_EQ(answerer.seen.size(), before + 1) << command;
        EXPECT_EQ(answerer.lastText().toStdString(), refusal) << command;
    }
    EXPECT_FALSE(m.cellKind.exists());
    EXPECT_FALSE(m.U.exists());
    EXPECT_EQ(button("Command5")->text(), "範囲指定");

    retype("Text4", "40");
    EXPECT_TRUE(field("Text4")->toolTip().isEmpty());
    answerer.buttons = {QMessageBox::Yes};
    click("Command3");
    EXPECT_EQ(m.pickState, PickState::Cell);
    EXPECT_EQ(m.cellKind.upper1(), 41);
}

TEST_F(WindowFaults, AKeystrokeDuringARunNeverEndsIt) {
    makeAllFluidMap();
    field("Text3")->setText("6");
    QTest::mouseClick(w.findChild<QRadioButton*>("Option5"), Qt::LeftButton);
    double dtWhileZeroShown = -1;
    QString tipWhileZeroShown;
    // At the first yield of the run the user retypes the time step: it passes
    // through "0.00" on the way to "0.001".
    QTimer::singleShot(0, [&] {
        retype("Text1", "0.00");
        dtWhileZeroShown = m.dt;
        tipWhileZeroShown = field("Text1")->toolTip();
        QTimer::singleShot(0, [&] { QTest::keyClicks(field("Text1"), "1"); });
    });
    click("Command1");
    EXPECT_TRUE(answerer.seen.empty()) << answerer.lastText().toStdString();
    EXPECT_EQ(label("Label13")->text(), "計算結果 6回目");
    EXPECT_EQ(dtWhileZeroShown, 0.005);
    EXPECT_NE(tipWhileZeroShown.indexOf("時間刻みが 0 です"), -1);
    EXPECT_NE(tipWhileZeroShown.indexOf("使われている値は 0.005 です"), -1);
    EXPECT_EQ(m.dt, 0.001);
    EXPECT_TRUE(field("Text1")->toolTip().isEmpty());
}

TEST_F(WindowFaults, ATextHeldBackDuringARunIsTakenWhenTheRunEnds) {
    makeAllFluidMap();
    field("Text3")->setText("4");
    QTest::mouseClick(w.findChild<QRadioButton*>("Option5"), Qt::LeftButton);
    QTimer::singleShot(0, [&] {
        retype("Text2", "0");
        retype("Text4", "70"); // larger than the run's arrays
    });
    click("Command1");
    EXPECT_TRUE(answerer.seen.empty()) << answerer.lastText().toStdString();
    EXPECT_EQ(label("Label13")->text(), "計算結果 4回目");
    EXPECT_EQ(m.reynolds, 0); // as the field says, now that no run needs it
    EXPECT_EQ(m.nx, 70);
    EXPECT_TRUE(field("Text2")->toolTip().isEmpty());
    EXPECT_TRUE(field("Text4")->toolTip().isEmpty());
}

TEST_F(WindowFaults, EscapeOnTheSaveQuestionEndsTheRun) {
    makeAllFluidMap();
    field("Text3")->setText("6");
    click("Command1"); // the answerer presses Escape on the first question
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.lastText(), "計算結果 2回目表示画像を保存しますか。");
    EXPECT_EQ(label("Label13")->text(), "計算結果 2回目");
    EXPECT_TRUE(button("Command1")->isEnabled());
}

TEST_F(WindowFaults, FailingCommandsAreReportedAndTheWindowGoesOn) {
    // No map, no field yet: every command that needs them says why, by name.
    const std::pair<const char*, const char*> commands[] = {
        {"Command9", " (計算結果表示)"},
        {"Command6", " (相似形表示)"},
        {"Command8", "(結果テキスト生成)\r\n\r\n未だ計算実行されていない可能性があります."},
        {"Command1", " (境界条件初期化)"},
    };
    for (const auto& [command, ending] : commands) {
        const std::size_t before = answerer.seen.size();
        click(command);
        ASSERT_GT(answerer.seen.size(), before) << command;
        EXPECT_TRUE(answerer.lastText().endsWith(ending)) << answerer.lastText().toStdString();
        EXPECT_EQ(answerer.seen.back().title, "Kestrel");
    }
    // A mesh count the cell map cannot be made for.
    field("Text4")->setText("-3");
    answerer.buttons = {QMessageBox::Yes};
    click("Command3");
    EXPECT_TRUE(answerer.lastText().endsWith(" (流体箇所表示)"))
        << answerer.lastText().toStdString();
    answerer.buttons = {QMessageBox::Yes};
    click("Command4");
    EXPECT_TRUE(answerer.lastText().endsWith(" (流体箇所初期化)"))
        << answerer.lastText().toStdString();
    EXPECT_EQ(m.pickState, PickState::Off);
}

// A mesh 80 times taller than wide: the map is made and drawn down to its
// last row, and a click there paints that cell (one image of that height
// was refused, so no cell could ever be painted).
TEST_F(WindowFaults, AMapFarTallerThanWideIsDrawnAndPainted) {
    retype("Text4", "5");
    retype("Text5", "400");
    answerer.buttons = {QMessageBox::Yes};
    click("Command3");
    ASSERT_EQ(answerer.seen.size(), 1u) << answerer.lastText().toStdString();
    ASSERT_EQ(w.picture().size(), QSize(481, 481 * 80));
    const QPoint bottom = w.picture().toPixel(2.5, 399.5).toPoint();
    EXPECT_EQ(w.picture().pixel(bottom.x(), bottom.y()) & 0xFFFFFF, 0x00FFFFu); // fluid
    QTest::mouseClick(w.findChild<QWidget*>("Picture1"), Qt::LeftButton, {}, bottom);
    EXPECT_EQ(m.cellKind(3, 400), 0);
    EXPECT_EQ(w.picture().pixel(bottom.x(), bottom.y()) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(WindowFaults, ClosingTheMainWindowClosesTheOtherWindows) {
    QTest::mouseClick(w.findChild<QRadioButton*>("Option2"), Qt::LeftButton);
    click("Command2");
    QTest::mouseClick(w.findChild<QRadioButton*>("Option1"), Qt::LeftButton);
    makeAllFluidMap();
    field("Text3")->setText("0");
    click("Command1");
    click("Command8");
    QWidget* viewer = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmText") viewer = top;
    ASSERT_NE(viewer, nullptr);
    QPointer<QWidget> viewerAlive = viewer;
    w.show();
    answerer.buttons.push_back(QMessageBox::No); // the map is unsaved work: not kept
    w.close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewerAlive.isNull() || !viewerAlive->isVisible());
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->objectName() == "frmXYPlace" && top->isVisible());
    EXPECT_EQ(m.stopRequested, -1);
    ASSERT_EQ(answerer.seen.size(), 1u) << answerer.lastText().toStdString();
    EXPECT_EQ(answerer.lastText(), "保存しますか?");
}

TEST_F(WindowFaults, ClosingTheViewerWhileItsTableIsBuiltOpensANewOne) {
    makeAllFluidMap();
    field("Text3")->setText("0");
    click("Command1");
    click("Command8");
    const auto openViewers = [] {
        std::vector<QWidget*> viewers;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "frmText" && top->isVisible()) viewers.push_back(top);
        return viewers;
    };
    ASSERT_EQ(openViewers().size(), 1u);
    QWidget* first = openViewers()[0];
    QTimer::singleShot(0, first, [first] { first->close(); }); // while the rows are built
    click("Command8");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto viewers = openViewers();
    ASSERT_EQ(viewers.size(), 1u);
    EXPECT_EQ(viewers[0]->windowTitle(), "実行結果");
    EXPECT_EQ(viewers[0]->findChild<QLineEdit*>("Text5")->text(), "31");
    EXPECT_TRUE(answerer.seen.empty()) << answerer.lastText().toStdString();
}

TEST_F(WindowFaults, EveryFrameAndFieldIsNamedForAScreenReader) {
    const std::pair<const char*, const char*> frames[] = {
        {"Frame8", "実行時"},         {"Frame9", "カラー表示"},     {"Frame3", "メッシュ数"},
        {"Frame4", "メッシュサイズ"}, {"Frame6", "表示オプション"}, {"Frame2", "メッシュデータ"},
    };
    for (const auto& [name, caption] : frames)
        EXPECT_EQ(w.findChild<QGroupBox*>(name)->accessibleName(), caption) << name;
    const std::pair<const char*, const char*> fields[] = {
        {"Text1", "時間刻み"},         {"Text4", "メッシュ数 X"},     {"Text5", "メッシュ数 Y"},
        {"Text6", "メッシュサイズ X"}, {"Text7", "メッシュサイズ Y"}, {"Text10", "流線の線幅"},
    };
    for (const auto& [name, caption] : fields)
        EXPECT_EQ(field(name)->accessibleName(), caption) << name;
}

} // namespace
} // namespace kestrel
