// The probe, the stability numbers, the history window, the exports and the
// animation frames in the real main window.
#include "report/field_exports.h"
#include "runtime/number_text.h"
#include "support/window_test.h"
#include "windows/colour_legend.h"
#include "windows/history_chart.h"
#include "windows/main_window.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <fstream>

namespace kestrel {
namespace {

using test::ReadFile;
using test::ShownWindow;

class ResultsWindow : public test::WindowTest {
  protected:
    QWidget* pictureBox() { return w.findChild<QWidget*>("Picture1"); }
    QString probeAt(double x, double y) {
        if (!w.isVisible()) {
            w.show(); // pointer moves reach only a window on screen
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        }
        QTest::mouseMove(pictureBox(), w.picture().toPixel(x, y).toPoint());
        return w.findChild<QStatusBar*>("StatusBar")->currentMessage();
    }
};

TEST_F(ResultsWindow, StabilityNumbersFollowTheFieldsAndTurnRedBeyondTheirLimits) {
    EXPECT_EQ(label("StabilityCfl")->text(), "CFL数 0.0005");
    EXPECT_EQ(label("StabilityDiffusion")->text(), "拡散数 2.5e-06");
    EXPECT_TRUE(label("StabilityCfl")->styleSheet().isEmpty());
    retype("Text1", "20");
    EXPECT_EQ(label("StabilityCfl")->text(), "CFL数 2");
    EXPECT_NE(label("StabilityCfl")->styleSheet().indexOf("color"), -1);
    EXPECT_NE(label("StabilityCfl")->toolTip().indexOf("1 を超えています"), -1);
    EXPECT_TRUE(label("StabilityDiffusion")->styleSheet().isEmpty()) << "20 / 40 * 0.02 = 0.01";
    retype("Text2", "0.5");
    EXPECT_EQ(label("StabilityDiffusion")->text(), "拡散数 0.8");
    EXPECT_NE(label("StabilityDiffusion")->toolTip().indexOf("0.5 を超えています"), -1);
    retype("Text2", "40");
    retype("Text1", "10"); // exactly at the limit: still fine
    EXPECT_EQ(label("StabilityCfl")->text(), "CFL数 1");
    EXPECT_TRUE(label("StabilityCfl")->styleSheet().isEmpty());
    retype("Text1", "-0.1"); // a time step below zero: both numbers red, and why
    EXPECT_EQ(label("StabilityCfl")->text(), "CFL数 -0.01");
    for (const char* name : {"StabilityCfl", "StabilityDiffusion"}) {
        EXPECT_NE(label(name)->styleSheet().indexOf("color"), -1) << name;
        EXPECT_NE(label(name)->toolTip().indexOf("0 以下"), -1) << name;
    }
    retype("Text1", "10");
    retype("Text7", "0");
    EXPECT_EQ(label("StabilityCfl")->text(), "CFL数 —");
    // Only a warning: the run still starts.
    retype({{"Text7", "10"}, {"Text2", "40"}, {"Text1", "2"}});
    runSteps("1");
    EXPECT_EQ(m.history.size(), 1u);
}

TEST_F(ResultsWindow, UndoWaitsWhileARunSteps) {
    startEditing();
    QTest::mouseClick(pictureBox(), Qt::LeftButton, {}, w.picture().toPixel(2.5, 2.5).toPoint());
    ASSERT_TRUE(w.edits().canUndo());
    QAction* undo = nullptr;
    for (QAction* action : w.findChildren<QAction*>())
        if (action->text() == "元に戻す") undo = action;
    ASSERT_NE(undo, nullptr);
    EXPECT_TRUE(undo->isEnabled());
    bool enabledWhileRunning = true;
    QTimer::singleShot(0, [&] {
        enabledWhileRunning = undo->isEnabled();
        undo->trigger(); // as the shortcut would
    });
    retype("Text3", "20");
    choose("Option5");
    click("Command1");
    EXPECT_FALSE(enabledWhileRunning);
    EXPECT_EQ(m.cellKind(3, 3), 0) << "the map the run used stays as it was";
    EXPECT_TRUE(undo->isEnabled());
}

TEST_F(ResultsWindow, TheProbeShowsTheCellUnderThePointer) {
    runSteps("4");
    ASSERT_EQ(m.history.size(), 4u);
    const QString line = probeAt(45.5, 35.5); // cell (5, 4): the obstacle
    EXPECT_TRUE(line.startsWith("i 5  j 4  x 45  y 35  U ")) << line.toStdString();
    EXPECT_NE(line.indexOf("速度"), -1);
    EXPECT_TRUE(probeAt(3, 3).endsWith("(境界)")) << "the black ring";
    // Over the map the pointer keeps editing; the line says only what the cell is.
    click("Command3");
    EXPECT_EQ(probeAt(4.5, 3.5), "i 5  j 4  非流体");
    EXPECT_EQ(probeAt(0.5, 0.5), "i 1  j 1  流体");
}

TEST_F(ResultsWindow, TheProbeSpeaksOnlyOfWhatIsOnScreen) {
    runSteps("2");
    EXPECT_FALSE(probeAt(45.5, 35.5).isEmpty());
    click("Command6"); // the mesh's shape: no values to show
    EXPECT_EQ(probeAt(35.5, 25.5), "");
    // A run that diverges shows its last finite field, which the probe reads.
    retype({{"Text1", "2"}, {"Text6", "1"}, {"Text7", "1"}, {"Text3", "300"}});
    retype("Text8", "1000"); // no display before it diverges
    click("Command1");
    ASSERT_NE(answerer.lastText().indexOf("発散"), -1) << answerer.lastText().toStdString();
    EXPECT_TRUE(probeAt(4.5, 3.5).startsWith("i 5  j 4")) << probeAt(4.5, 3.5).toStdString();
}

TEST_F(ResultsWindow, TheProbeFollowsAScrolledTallPicture) {
    retype("Text4", "10");
    retype("Text5", "80");
    runSteps("2");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* area = w.findChild<QScrollArea*>("Picture1Area");
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    ASSERT_GT(area->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(probeAt(55, 785).startsWith("i 6  j 79  x 55  y 785"))
        << probeAt(55, 785).toStdString();
}

TEST_F(ResultsWindow, FieldExportsAreTheRunnersWriters) {
    trigger("CSV…");
    const QString none = "エクスポートする計算結果がありません。先に計算を実行してください。";
    EXPECT_EQ(answerer.lastText(), none);
    runSteps("0"); // the initial field is no result yet
    answerer.fileNames = {path("none.csv")};
    trigger("CSV…");
    EXPECT_EQ(answerer.lastText(), none);
    EXPECT_FALSE(QFile::exists(path("none.csv")));
    retype("Text3", "3");
    click("Command1");
    answerer.fileNames = {path("f.csv"), path("f.vtk")};
    trigger("CSV…");
    trigger("VTK…");
    EXPECT_EQ(ReadFile(path("f.csv")), FieldCsv(m));
    EXPECT_EQ(ReadFile(path("f.vtk")), FieldVtk(m));
    // Counts changed after the run, up or down: the field as it was computed.
    const std::string computed = FieldCsv(m);
    for (const char* count : {"70", "20"}) {
        retype("Text4", count);
        answerer.fileNames = {path("later.csv")};
        trigger("CSV…");
        EXPECT_EQ(ReadFile(path("later.csv")), computed) << count;
        EXPECT_EQ(m.nx, std::atoi(count)) << "the counts shown stay";
    }
}

TEST_F(ResultsWindow, TheHistoryWindowShowsAndSavesTheLastRun) {
    trigger("収束履歴…");
    QWidget* history = ShownWindow("frmHistory");
    ASSERT_NE(history, nullptr);
    auto* summary = history->findChild<QLabel*>("HistorySummary");
    EXPECT_EQ(summary->text(), "計算の履歴はありません。");
    runSteps("5");
    QTest::qWait(300); // the window looks again on its timer
    EXPECT_TRUE(summary->text().startsWith("5 ステップ")) << summary->text().toStdString();
    const QString firstRun = summary->text();
    retype("Text2", "400"); // another run of as many steps, another history
    click("Command1");
    QTest::qWait(300);
    EXPECT_TRUE(summary->text().startsWith("5 ステップ"));
    EXPECT_NE(summary->text(), firstRun);
    answerer.fileNames.push_back(path("h.csv"));
    QTest::mouseClick(history->findChild<QPushButton*>("HistorySave"), Qt::LeftButton);
    const std::string saved = ReadFile(path("h.csv"));
    EXPECT_EQ(saved, HistoryCsv(m.history));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 6);
    // The second method solves directly: the summary says what it left.
    trigger("スタガード格子法 (壁の摩擦、二次精度)");
    click("Command1");
    QTest::qWait(300);
    EXPECT_NE(summary->text().indexOf("直接法で解いて、残った発散"), -1)
        << summary->text().toStdString();
    history->close();
}

// 表示 → 抗力・揚力…: the last step's coefficients in the summary, the same
// numbers as the runner's CSV when saved.
TEST_F(ResultsWindow, TheForceWindowShowsAndSavesTheObstaclesCoefficients) {
    trigger("抗力・揚力…");
    QWidget* forces = ShownWindow("frmForces");
    ASSERT_NE(forces, nullptr);
    auto* summary = forces->findChild<QLabel*>("ForceSummary");
    EXPECT_TRUE(summary->text().startsWith("障害物がないか")) << summary->text().toStdString();
    runSteps("5");
    QTest::qWait(300);
    ASSERT_EQ(m.forceHistory.size(), 5u);
    const ForceRecord& last = m.forceHistory.back();
    EXPECT_TRUE(summary->text().startsWith(
        QString::fromStdString("ステップ 5　Cd " + SignificantNumber(last.cd, 6) + "（圧力 " +
                               SignificantNumber(last.cdPressure, 6))))
        << summary->text().toStdString();
    answerer.fileNames.push_back(path("f.csv"));
    QTest::mouseClick(forces->findChild<QPushButton*>("ForceSave"), Qt::LeftButton);
    EXPECT_EQ(ReadFile(path("f.csv")), ForcesCsv(m.forceHistory));
    forces->close();
}

// 表示 → 観測点を置く, then a click on the result plot: that cell is recorded
// at every step of the next run and marked over the plot, never in it.
TEST_F(ResultsWindow, AMonitorPlacedOnThePlotIsRecordedAndMarked) {
    runSteps("4");
    trigger("観測点を置く");
    auto* box = w.findChild<QWidget*>("Picture1");
    const QPoint cell = w.picture().toPixel(m.xNode(20) + 1, m.yNode(10) + 1).toPoint();
    QTest::mouseClick(box, Qt::LeftButton, {}, cell);
    EXPECT_EQ(std::pair(m.monitorI, m.monitorJ), std::pair(Integer{20}, Integer{10}));
    EXPECT_NE(m.cellKind(20, 10), 0) << "the click placed the monitor, it did not paint";
    const QPoint corner = w.picture().toPixel(m.xNode(20), m.yNode(10)).toPoint();
    EXPECT_EQ(box->grab().toImage().pixel(corner - QPoint(2, 2)) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_NE(w.picture().pixel(corner.x() - 2, corner.y() - 2) & 0xFFFFFF, 0xFF00FFu);
    click("Command1");
    ASSERT_EQ(m.monitorHistory.size(), 4u);
    EXPECT_EQ(m.monitorHistory.back().v, m.V(20, 10));
    trigger("観測点の記録…");
    QWidget* monitor = ShownWindow("frmMonitor");
    ASSERT_NE(monitor, nullptr);
    const QString summary = monitor->findChild<QLabel*>("MonitorSummary")->text();
    EXPECT_TRUE(summary.startsWith("観測点 (20, 10)　ステップ 4")) << summary.toStdString();
    EXPECT_NE(summary.indexOf("St —"), -1) << "four steps show no period";
    monitor->close();
}

// Beside the stability numbers, what the run means; below, a warning line
// that names what makes the flow untrue and explains it in its tooltip.
TEST_F(ResultsWindow, TheHonestAccountFollowsTheFieldsAndTheRun) {
    w.show();
    auto* reynolds = w.findChild<QLabel*>("AccountReynolds");
    auto* peclet = w.findChild<QLabel*>("AccountPeclet");
    auto* warnings = w.findChild<QLabel*>("AccountWarnings");
    EXPECT_EQ(reynolds->text(), "Re·D 12400") << "no obstacle: the channel, 31 cells of 10";
    EXPECT_EQ(peclet->text(), "Pe 400");
    // Two columns of two: the stability numbers, then what the run means.
    EXPECT_EQ(std::pair(reynolds->y(), peclet->y()),
              std::pair(label("StabilityCfl")->y(), label("StabilityDiffusion")->y()));
    EXPECT_EQ(peclet->x(), reynolds->x());
    EXPECT_GT(peclet->y(), reynolds->y());
    EXPECT_GT(reynolds->x(), label("StabilityCfl")->x());
    EXPECT_TRUE(warnings->text().isEmpty());
    retype("Text4", "60");
    EXPECT_TRUE(warnings->text().startsWith("注意: nx が偶数")) << warnings->text().toStdString();
    EXPECT_TRUE(warnings->toolTip().contains("奇数の nx を勧めます"));
    EXPECT_GT(warnings->width(), 100) << "the line shows in the status bar";
    runSteps("3"); // paints cell (5, 4), inside the counted region
    EXPECT_EQ(reynolds->text(), "Re·D 400") << "the obstacle is one row of 10";
}

// 表示 → 渦度 colours the result by vorticity until one of the window's two
// options is chosen again; the legend below the area follows what is shown.
TEST_F(ResultsWindow, VorticityIsChosenFromTheMenuAndTheLegendFollows) {
    w.show();
    runSteps("3");
    auto* legend = w.findChild<ColourLegendBar*>("ColourLegend");
    const auto quantityShown = [&] {
        QTest::qWait(50); // the legend follows the picture's next paint
        return legend->legend() ? legend->legend()->quantity : std::string();
    };
    EXPECT_EQ(quantityShown(), "圧力 P");
    trigger("渦度");
    EXPECT_EQ(quantityShown(), "渦度 ω");
    EXPECT_TRUE(legend->toolTip().startsWith("渦度 ω: 色ごとの範囲"));
    choose("Option6");
    EXPECT_EQ(quantityShown(), "圧力 P");
    startEditing(); // the cell map: no colour map, no legend
    EXPECT_EQ(quantityShown(), "");
}

// Counts the paints a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(ResultsWindow, TheHistoryChartIsDrawnOnlyWhenStepsArrive) {
    runSteps("5");
    trigger("収束履歴…");
    QWidget* chart = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmHistory") chart = top->findChild<QWidget*>("HistoryChart");
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart->window()));
    QTest::qWait(300); // the paints of showing the window
    PaintCounter counter;
    chart->installEventFilter(&counter);
    QTest::qWait(700); // three looks of the window's timer
    EXPECT_EQ(counter.paints, 0) << "a chart at rest is not drawn again";
    retype("Text3", "7");
    click("Command1");
    QTest::qWait(300);
    EXPECT_GE(counter.paints, 1);
    chart->window()->close();
}

// A long history is drawn a pixel column at a time, each column from the
// least to the most of its steps: a single step unlike the rest still shows.
TEST(HistoryChartDrawing, ALongHistoryKeepsEveryColumnsExtremes) {
    std::vector<StepReport> history(100000, StepReport{2, 1e-5});
    history[61234] = {50, 1e2}; // one step far above the rest
    const Method classic = Method::Classic;
    HistoryChart chart(history, classic);
    chart.resize(640, 400);
    const QImage drawn = chart.grab().toImage();
    // The sweeps' panel reaches its top (50) and the errors' its top decade.
    const auto blueRows = [&](int from, int to) {
        int rows = 0;
        for (int y = from; y < to; ++y)
            for (int x = 70; x < 624; ++x)
                if (drawn.pixelColor(x, y).blue() > 150 && drawn.pixelColor(x, y).red() < 80) {
                    ++rows;
                    break;
                }
        return rows;
    };
    EXPECT_GT(blueRows(24, 60), 0) << "the spike of 50 sweeps is drawn";
    history[61234] = {2, 1e-5};
    const QImage flat = chart.grab().toImage();
    EXPECT_NE(drawn, flat);
}

TEST_F(ResultsWindow, EveryDisplayOfARunBecomesANumberedFrame) {
    answerer.fileNames.push_back(folder.path());
    trigger("実行中の表示を連番画像で保存…");
    // A run asks before it replaces an earlier run's frames, even one: with
    // yes, the folder holds its frames alone, numbered from 1.
    std::ofstream(path("frame-00009.png").toStdString()) << "an older run's";
    answerer.buttons.push_back(QMessageBox::Yes);
    runSteps("10", "3");
    EXPECT_NE(answerer.lastText().indexOf("1 個"), -1) << answerer.lastText().toStdString();
    const QStringList three{"frame-00001.png", "frame-00002.png", "frame-00003.png"};
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), three);
    QImage last(path("frame-00003.png"));
    EXPECT_EQ(last, w.picture().image().convertToFormat(last.format()))
        << "the frame is the picture shown";
    // With no, the run records nothing and the recording stops.
    const QDateTime written = QFileInfo(path("frame-00001.png")).lastModified();
    click("Command1");
    EXPECT_NE(answerer.lastText().indexOf("3 個"), -1) << answerer.lastText().toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), three);
    EXPECT_EQ(QFileInfo(path("frame-00001.png")).lastModified(), written);
    EXPECT_EQ(answerer.seen.size(), 3u) << "the map's question and two about frames";
    click("Command1");
    EXPECT_EQ(answerer.seen.size(), 3u) << "no recording, no question";
}

TEST_F(ResultsWindow, ADisplayThatCouldNotBeDrawnIsNoFrame) {
    answerer.fileNames.push_back(folder.path());
    trigger("実行中の表示を連番画像で保存…");
    retype({{"Text4", "8"}, {"Text5", "12"}, {"Text6", "1"}});
    retype("Text7", "32767"); // a picture taller than any widget can be
    runSteps("4");
    EXPECT_EQ(m.history.size(), 4u);
    EXPECT_NE(answerer.lastText().indexOf("計算結果表示"), -1) << answerer.lastText().toStdString();
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(probeAt(4.5, 3.5), "") << "no field on screen to probe";
}

TEST_F(ResultsWindow, AFrameThatCannotBeWrittenStopsTheRecordingWithOneMessage) {
    answerer.fileNames.push_back(folder.path());
    trigger("実行中の表示を連番画像で保存…");
    QDir(folder.path()).removeRecursively();
    runSteps("10", "3");
    const auto boxes = std::count_if(answerer.seen.begin(), answerer.seen.end(), [](const auto& b) {
        return b.text.startsWith("連番画像を保存できません。");
    });
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(m.history.size(), 10u) << "the run goes on";
}

} // namespace
} // namespace kestrel
