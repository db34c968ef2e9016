#include "canvas/image_surface.h"
#include "plot/field_plot.h"
#include "run/run_calculation.h"
#include "support/scripted_host.h"
#include "support/sweep_recorder.h"
#include "support/test_state.h"

#include <QImage>
#include <cstdio>
#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::ScriptedHost;

class RunDriver : public ::testing::Test {
  protected:
    SimulationState m = test::meshState(20, 10);
    ScriptedHost host;
    ImageSurface picture{kPictureWidthTwips, kPictureHeightTwips};
    SaveDialogState dialog;

    RunDriver() {
        m.stepCount = 10;
        m.cellKind(6, 5) = 0;
    }
    RunEnd run() { return StartRun(m, host, picture, dialog); }
    std::vector<std::string> captions() const { return host.statusLog; }
    // The field after a plain run of `steps` steps without displays.
    SimulationState reference(int steps) {
        SimulationState r = m;
        r.stepCount = static_cast<Integer>(steps);
        ScriptedHost quiet;
        quiet.displayInterval = "100000";
        StartRun(r, quiet, picture, dialog);
        return r;
    }
};

TEST_F(RunDriver, DefaultsDisplayEverySecondStepTo400) {
    m = test::meshState(61, 31);
    host.confirm = false;
    EXPECT_EQ(run(), RunEnd::Completed);
    const auto shown = captions();
    ASSERT_EQ(shown.size(), 200u);
    EXPECT_EQ(shown.front(), "計算結果 2回目");
    EXPECT_EQ(shown.back(), "計算結果 400回目");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RunDriver, IntervalThreeSkipsTheLastStep) {
    host.displayInterval = "3";
    EXPECT_EQ(run(), RunEnd::Completed);
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"計算結果 3回目", "計算結果 6回目", "計算結果 9回目"}));
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].text, "計算結果 3回目表示画像を保存しますか。");
    EXPECT_EQ(host.messages[0].buttons, Buttons::YesNoCancel);
}

TEST(DisplayInterval, RoundsHalvesToEvenAndDropsTheSign) {
    EXPECT_EQ(DisplayInterval("2.5"), 2);
    EXPECT_EQ(DisplayInterval("3.5"), 4);
    EXPECT_EQ(DisplayInterval("-3"), 3);
    EXPECT_EQ(DisplayInterval("0.4"), 0);
    EXPECT_EQ(DisplayInterval(""), 0);
    EXPECT_GT(DisplayInterval("1e400"), 32767);
}

TEST_F(RunDriver, ZeroIntervalIsRefusedBeforeAnythingChanges) {
    host.displayInterval = "0.4";
    EXPECT_EQ(run(), RunEnd::Refused);
    EXPECT_FALSE(m.U.exists());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("表示間隔が 0"), std::string::npos);
}

TEST_F(RunDriver, CancelKeepsTheFieldOfThatStepAndTheNextRunStartsAfresh) {
    m.stepCount = 30;
    host.answers.assign(9, Answer::No);
    host.answers.push_back(Answer::Cancel); // at step 20
    EXPECT_EQ(run(), RunEnd::Cancelled);
    EXPECT_EQ(captions().back(), "計算結果 20回目");
    const SimulationState expected = reference(20);
    EXPECT_EQ(m.U, expected.U);
    EXPECT_EQ(m.P, expected.P);

    host.answers.assign(9, Answer::No);
    host.answers.push_back(Answer::Cancel);
    run();
    EXPECT_EQ(m.U, expected.U);
}

TEST_F(RunDriver, YesSavesThePictureThenGoesOn) {
    m.stepCount = 4;
    const std::string path = ::testing::TempDir() + "kestrel_step2.bmp";
    std::remove(path.c_str());
    host.answers = {Answer::Yes, Answer::No};
    host.saveNames = {path};
    EXPECT_EQ(run(), RunEnd::Completed);
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.dialogs.size(), 1u);
    QImage saved(QString::fromStdString(path), "BMP");
    EXPECT_EQ(saved.width(), 481);
}

TEST_F(RunDriver, StopFlagEndsTheRunBeforeTheNextStep) {
    host.displayInterval = "1000";
    host.onProcessEvents = [this] {
        if (host.processEventsCalls == 5) RequestStop(m);
    };
    EXPECT_EQ(run(), RunEnd::Stopped);
    EXPECT_EQ(m.U, reference(4).U);
    m.stopRequested = kTrue; // left over from the last press: the next run clears it
    host.onProcessEvents = nullptr;
    EXPECT_EQ(run(), RunEnd::Completed);
}

TEST_F(RunDriver, NoStepsStillResetsTheFields) {
    m.stepCount = 0;
    EXPECT_EQ(run(), RunEnd::Completed);
    EXPECT_EQ(m.U(5, 5), 1);
    EXPECT_TRUE(captions().empty());
}

TEST_F(RunDriver, NoPressureSweepsWhenMaxIterIsNotPositive) {
    m.maxIter = 0;
    m.stepCount = 3;
    test::SweepRecorder count;
    EXPECT_EQ(RunTimeSteps(m, host, count), RunEnd::Completed);
    EXPECT_EQ(count.sweeps, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(m.P(5, 5), 0);
}

TEST_F(RunDriver, UnusableParametersAreRefusedNamingTheField) {
    const std::pair<std::function<void(SimulationState&)>, std::string> cases[] = {
        {[](SimulationState& s) { s.dt = 0; }, "時間刻みが 0"},
        {[](SimulationState& s) { s.reynolds = 0; }, "レイノルズ数が 0"},
        {[](SimulationState& s) { s.nx = 4; }, "メッシュ数 X が 4"},
        {[](SimulationState& s) { s.ny = -3; }, "メッシュ数 Y が -3"},
        {[](SimulationState& s) { s.nx = 32767; }, "メッシュ数 X が 32767"},
    };
    for (const auto& [spoil, text] : cases) {
        SimulationState s = m;
        spoil(s);
        ScriptedHost h;
        EXPECT_EQ(StartRun(s, h, picture, dialog), RunEnd::Refused) << text;
        ASSERT_EQ(h.messages.size(), 1u);
        EXPECT_NE(h.messages[0].text.find(text), std::string::npos) << h.messages[0].text;
        EXPECT_FALSE(s.U.exists());
    }
}

TEST_F(RunDriver, DivergingRunStopsAtItsStepWithTheLastFiniteField) {
    m = test::divergingState();
    host.displayInterval = "1000";
    EXPECT_EQ(run(), RunEnd::Diverged);
    ASSERT_FALSE(host.messages.empty());
    const std::string& text = host.messages[0].text;
    EXPECT_NE(text.find("発散"), std::string::npos) << text;
    EXPECT_TRUE(FieldIsFinite(m));
    // The plot of the last finite field follows the message, without a failure.
    EXPECT_EQ(host.messages.size(), 1u);
    ImageSurface expected{kPictureWidthTwips, kPictureHeightTwips};
    ShowResult(m, host, expected);
    EXPECT_EQ(picture.image(), expected.image());
    EXPECT_NE(picture.image(), ImageSurface(kPictureWidthTwips, kPictureHeightTwips)
                                   .image()); // a plot, not the blank area
}

TEST_F(RunDriver, MissingCoordinateListEndsTheRunWithAMessage) {
    m.meshMode = 0;
    EXPECT_EQ(run(), RunEnd::Failed);
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string said = host.messages[0].text;
    // The failure's own line first, then what to do.
    EXPECT_EQ(said.substr(0, said.find('\n')),
              "インデックスが有効範囲にありません。 (計算因子初期化)");
    EXPECT_NE(said.find("\n座標値指定で、X 方向 " + std::to_string(m.nx + 1) + " 個"),
              std::string::npos)
        << said;
}

TEST_F(RunDriver, MissingCellMapEndsTheRunWithoutComputing) {
    m.cellKind.erase();
    EXPECT_EQ(run(), RunEnd::Failed);
    EXPECT_EQ(host.messages.back().text, "インデックスが有効範囲にありません。 (境界条件初期化)");
    EXPECT_FALSE(m.U.exists());
}

TEST_F(RunDriver, MeshCountsRaisedDuringARunStopItInsteadOfOverrunning) {
    host.displayInterval = "1000";
    host.onProcessEvents = [this] {
        if (host.processEventsCalls == 3) m.nx = 25; // typed into the field while the run yields
    };
    EXPECT_EQ(run(), RunEnd::Failed);
    EXPECT_NE(host.messages.back().text.find("(計算実行 3 回目)"), std::string::npos);
}

} // namespace
} // namespace kestrel
