// The real main window, clicked offscreen.
#include "plot/field_plot.h"
#include "support/scripted_host.h"
#include "support/window_test.h"

#include <QApplication>

namespace kestrel {
namespace {

using Window = test::WindowTest;

TEST_F(Window, StartsWithExactlyTheDefaults) {
    EXPECT_EQ(w.windowTitle(), "Kestrel");
    // The defaults' values are pinned by the saved default case's text.
    for (const Parameter& p : Parameters()) {
        EXPECT_EQ(ValueOf(p, m), p.defaultValue) << p.key;
        if (p.field) {
            EXPECT_EQ(field(p.field)->text().toStdString(), TextOf(p, m)) << p.key;
        }
    }
    EXPECT_EQ(m.pickState, PickState::Off);
    EXPECT_FALSE(m.cellKind.exists());
    EXPECT_EQ(field("Text8")->text(), "2");
    EXPECT_EQ(field("Text10")->text(), "1");
    EXPECT_FALSE(button("Command2")->isEnabled());
    EXPECT_TRUE(label("Label13")->text().isEmpty());
    EXPECT_TRUE(option("Option1")->isChecked());
    EXPECT_TRUE(option("Option4")->isChecked());
    EXPECT_TRUE(option("Option6")->isChecked());
    EXPECT_TRUE(option("Option3_2")->isChecked());
    EXPECT_EQ(button("Command5")->text(), "範囲指定");
    EXPECT_EQ(label("Label12_0")->text(), "「流体有無指定」ボタンをクリックして");
    EXPECT_EQ(label("Label12_19")->text(), "チェックをいれてください。");
    EXPECT_LT(label("Label12_0")->y(), label("Label12_1")->y());
}

TEST_F(Window, FieldsCopyEveryKeystrokeLeniently) {
    field("Text4")->setText("12abc");
    EXPECT_EQ(m.nx, 12);
    field("Text4")->setText("abc");
    EXPECT_EQ(m.nx, 0);
    field("Text6")->setText("2.5");
    EXPECT_EQ(m.meshSizeX, 2);
    field("Text6")->setText("3.5");
    EXPECT_EQ(m.meshSizeX, 4);
    field("Text1")->clear();
    EXPECT_EQ(m.dt, 0);
    QTest::keyClicks(field("Text2"), "5");
    EXPECT_EQ(m.reynolds, 405);
}

TEST_F(Window, MeshModeOptionsEnableTheirControls) {
    QTest::mouseClick(option("Option2"), Qt::LeftButton);
    EXPECT_EQ(m.meshMode, 0);
    EXPECT_TRUE(button("Command2")->isEnabled());
    EXPECT_FALSE(field("Text6")->isEnabled());
    EXPECT_FALSE(field("Text7")->isEnabled());
    QTest::mouseClick(option("Option1"), Qt::LeftButton);
    EXPECT_EQ(m.meshMode, -1);
    EXPECT_FALSE(button("Command2")->isEnabled());
    EXPECT_TRUE(field("Text6")->isEnabled());
}

// Tab reaches an option group at its chosen button; the arrows choose within it.
TEST_F(Window, TabReachesTheChosenOptionOfAGroup) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    button("Command6")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), option("Option3_2")) << "反転, the chosen one";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button("Command3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), option("Option3_2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), option("Option3_1"));
    EXPECT_TRUE(option("Option3_1")->isChecked());
    button("Command6")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), option("Option3_1")) << "now 流体";
}

TEST_F(Window, CellMapThenAClickMakesAnObstacle) {
    answerer.buttons = {QMessageBox::Yes};
    QTest::mouseClick(button("Command3"), Qt::LeftButton);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].title, "Kestrel");
    EXPECT_EQ(answerer.lastText(), "流体箇所データが初期化されます。よろしいですか？");
    ASSERT_EQ(m.pickState, PickState::Cell);
    clickCell(10, 5);
    EXPECT_EQ(m.cellKind(10, 5), 0);

    // The toggle's caption says what a press switches to.
    QTest::mouseClick(button("Command5"), Qt::LeftButton);
    EXPECT_EQ(m.pickState, PickState::RangeStart);
    EXPECT_EQ(button("Command5")->text(), "点指定");
    QTest::mouseClick(button("Command3"), Qt::LeftButton);
    EXPECT_EQ(m.pickState, PickState::RangeStart);
    QTest::mouseClick(button("Command5"), Qt::LeftButton);
    EXPECT_EQ(m.pickState, PickState::Cell);
    EXPECT_EQ(button("Command5")->text(), "範囲指定");
}

TEST_F(Window, TallPictureScrollsWithoutHidingItsRightColumn) {
    auto* area = w.findChild<QWidget*>("Picture1Area");
    const int width = area->width();
    w.picture().setHeightTwips(10000);
    EXPECT_GT(area->width(), width);
    w.picture().setHeightTwips(3000);
    EXPECT_EQ(area->width(), width);
}

TEST_F(Window, RunButtonComputesAndShowsTheLastStep) {
    m.cellKind.redim(62, 32);
    for (int i = 1; i <= 61; ++i)
        for (int j = 1; j <= 31; ++j)
            m.cellKind(i, j) = 1;
    m.cellKind(20, 15) = 0;
    field("Text3")->setText("6");
    QTest::mouseClick(option("Option5"), Qt::LeftButton);
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_EQ(label("Label13")->text(), "計算結果 6回目");
    EXPECT_TRUE(button("Command1")->isEnabled());
    EXPECT_TRUE(m.U.exists());
    const QRgb corner = w.picture().image().pixel(0, 0) & 0xFFFFFF;
    EXPECT_EQ(corner, 0x000000u); // ring cells are black in the plot

    // The colour options redraw the field at once, each with its own plot.
    test::ScriptedHost quiet;
    ImageSurface speed{kPictureWidthTwips, kPictureHeightTwips};
    DrawSpeedPlot(m, quiet, speed);
    ImageSurface pressure{kPictureWidthTwips, kPictureHeightTwips};
    DrawPressurePlot(m, quiet, pressure);
    ASSERT_NE(speed.image(), pressure.image());
    const auto onItsCaption = [](QWidget* option) { return QPoint(12, option->height() / 2); };
    QTest::mouseClick(option("Option7"), Qt::LeftButton, {}, onItsCaption(option("Option7")));
    EXPECT_EQ(w.picture().image(), speed.image());
    QTest::mouseClick(option("Option6"), Qt::LeftButton, {}, onItsCaption(option("Option6")));
    EXPECT_EQ(w.picture().image(), pressure.image());
}

} // namespace
} // namespace kestrel
