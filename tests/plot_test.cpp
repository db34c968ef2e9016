#include "canvas/image_surface.h"
#include "plot/color_scale.h"
#include "plot/field_plot.h"
#include "plot/flow_line.h"
#include "plot/image_saving.h"
#include "support/pixels.h"
#include "support/scripted_host.h"
#include "support/test_state.h"

#include <QFile>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::ScriptedHost;

// A value takes the band its tenth of the range lies in, a lower edge its
// own band; values beyond the range take the end bands.
TEST(ColorScale, BandsAndThresholds) {
    const Rgb palette[10] = {MakeRgb(100, 200, 128), MakeRgb(120, 230, 128), MakeRgb(140, 255, 64),
                             MakeRgb(160, 255, 64),  MakeRgb(200, 255, 64),  MakeRgb(255, 255, 64),
                             MakeRgb(255, 192, 64),  MakeRgb(255, 128, 64),  MakeRgb(255, 100, 64),
                             MakeRgb(255, 64, 64)};
    for (int band = 0; band < 10; ++band)
        for (double inside : {0.0, 5.0, 9.999})
            EXPECT_EQ(colorMap(0.0, 100.0, 10.0 * band + inside), palette[band]) << band << inside;
    EXPECT_EQ(colorMap(0, 4, -1.0), palette[0]);
    EXPECT_EQ(colorMap(0, 4, 1.0), palette[2]);
    EXPECT_EQ(colorMap(0, 4, 9.0), palette[9]);
    EXPECT_THROW(colorMap(4, 4, 1.0), Failure);
}

TEST(ColorScale, SpeedRangeAndArrayExtremes) {
    SimulationState m = test::meshState(4, 3);
    test::initialiseRun(m);
    for (int j = 0; j <= 3; ++j)
        for (int i = 0; i <= 4; ++i)
            m.U(i, j) = 0;
    m.U(2, 2) = 3;
    m.V(2, 2) = 4;
    FindSpeedRange(m);
    EXPECT_EQ(m.speedMax, 5);
    EXPECT_EQ(m.speedMin, 0);
    m.P(4, 3) = 7;
    m.P(1, 2) = -2;
    m.P(0, 0) = 99; // outside the examined cells
    EXPECT_EQ(ArrayMax(m.P, 4, 3), 7);
    EXPECT_EQ(ArrayMin(m.P, 4, 3), -2);
    m.P(1, 1) = 5;
    EXPECT_EQ(ArrayMax(m.P, 0, 0), 5); // element (1, 1) even with no loop
}

TEST(FlowLine, SegmentIsCentredAndScaledAndSlowCellsHaveNone) {
    SimulationState m = test::defaultState();
    m.lineScale = 5;
    const auto line = FlowLineThrough(m, 15, 5, 1, -0.5);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->x1, 10);
    EXPECT_EQ(line->y1, 7.5);
    EXPECT_EQ(line->x2, 20);
    EXPECT_EQ(line->y2, 2.5);
    EXPECT_FALSE(FlowLineThrough(m, 15, 5, 0.003, 0)); // 0.003² is below 0.00001
    EXPECT_TRUE(FlowLineThrough(m, 15, 5, 0.004, 0));
    EXPECT_FALSE(FlowLineThrough(m, 15, 5, 0, 0.003));
}

TEST(FlowLineWidth, RoundsAndFallsBackToOne) {
    EXPECT_EQ(FlowLinePenWidth("2.5"), 2);
    EXPECT_EQ(FlowLinePenWidth("3.5"), 4);
    EXPECT_EQ(FlowLinePenWidth(""), 1);
    EXPECT_EQ(FlowLinePenWidth("-4"), 1);
    EXPECT_THROW(FlowLinePenWidth("99999"), Failure);
}

using Plot = test::PictureTest;

TEST_F(Plot, FiveByFourMeshColoursOnlyItsInnerFluidCells) {
    SimulationState m = test::meshState(5, 4);
    m.cellKind(3, 2) = 0;
    test::initialiseRun(m);
    m.lineScale = 0.1; // keep the lines inside their cells
    DrawPressurePlot(m, host, s);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(at(2, 2), 0x000000u);     // ring cell (1, 1)
    EXPECT_EQ(at(23, 13), 0x000000u);   // solid (3, 2)
    EXPECT_EQ(at(14, 13), 0x64C880u);   // (2, 2) band 1: uniform pressure
    EXPECT_EQ(at(33, 23), 0x64C880u);   // (4, 3)
    EXPECT_EQ(at(43, 23), 0x000000u);   // last column
    EXPECT_EQ(at(23, 35), 0x000000u);   // last row
    EXPECT_EQ(s.image().height(), 385); // 7215 * 40 / 50 twips
}

TEST_F(Plot, FourByTwoMeshMapsToFortyByTwenty) {
    SimulationState m = test::meshState(4, 2);
    test::initialiseRun(m);
    DrawSpeedPlot(m, host, s);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(s.scale().width, 40);
    EXPECT_EQ(s.scale().height, 20);
    EXPECT_NEAR(s.heightTwips(), 7215.0 / 2, 0.01);
    EXPECT_EQ(at(15, 2), 0x000000u); // cell (2, 1), black
    EXPECT_EQ(at(15, 5), 0x0000FFu); // its flow line through (15, 5)
}

TEST_F(Plot, ABadLineWidthStopsThePlotAfterTheBoxOfTheFirstLine) {
    SimulationState m = test::meshState(5, 4);
    test::initialiseRun(m);
    m.U.redim(m.U.upper1(), m.U.upper2()); // still everywhere
    m.V.redim(m.V.upper1(), m.V.upper2());
    m.U(3, 2) = 1; // the first cell with a line
    m.lineScale = 0.1;
    host.lineWidth = "99999";
    DrawPressurePlot(m, host, s);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "オーバーフローしました。 (計算結果表示)");
    EXPECT_EQ(at(14, 33), 0x000000u); // (2, 4): its whole column came before
    EXPECT_EQ(at(23, 13), 0x64C880u); // (3, 2): the box, without its line
    EXPECT_EQ(at(23, 23), 0xFFFFFFu); // (3, 3) and after: not drawn
    EXPECT_EQ(at(33, 13), 0xFFFFFFu);
}

TEST_F(Plot, BeforeAnyRunTheFailureIsReportedAndNothingDrawn) {
    SimulationState m = test::defaultState();
    const QImage before = s.image();
    ShowResult(m, host, s);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "インデックスが有効範囲にありません。 (計算結果表示)");
    EXPECT_EQ(s.image(), before);
    host.shownDisplay = Display::Speed;
    ShowResult(m, host, s);
    EXPECT_EQ(host.messages.size(), 2u);
}

// The legend tells the truth about the picture: a value in the middle of
// each band's edges gets that band's colour, on both scales; the diverging
// scale is centred on 0 and takes every value, also beyond its range.
TEST(ColourLegend, EachBandsEdgesHoldTheValuesColouredWithIt) {
    const ColourLegend banded = BandLegend("圧力 P", -3, 7);
    const ColourLegend diverging = DivergingLegend("渦度 ω", -2, 2);
    for (const auto& [legend, colour] :
         {std::pair<const ColourLegend&, std::function<Rgb(double)>>{
              banded, [](double v) { return colorMap(-3, 7, v); }},
          {diverging, [](double v) { return DivergingColour(-2, 2, v); }}}) {
        ASSERT_EQ(legend.bands.size(), 10u);
        ASSERT_EQ(legend.edges.size(), 11u);
        for (std::size_t k = 0; k < 10; ++k)
            EXPECT_EQ(colour(0.5 * (legend.edges[k] + legend.edges[k + 1])), legend.bands[k])
                << legend.quantity << " band " << k;
    }
    EXPECT_EQ(diverging.edges[5], 0);
    EXPECT_EQ(DivergingColour(-2, 2, -5), diverging.bands[0]);
    EXPECT_EQ(DivergingColour(-2, 2, 5), diverging.bands[9]);
    EXPECT_EQ(DivergingColour(-2, 2, NAN), diverging.bands[0]);
}

// A plot leaves its legend with the picture; clearing the picture takes it.
TEST_F(Plot, APlotLeavesItsLegendAndAClearTakesIt) {
    SimulationState m = test::meshState(8, 6);
    test::initialiseRun(m);
    for (int j = 1; j <= m.ny; ++j)
        for (int i = 1; i <= m.nx; ++i) {
            m.P(i, j) = i - 0.5 * j;
            m.U(i, j) = 0.1 * j * j; // a shear whose vorticity grows with y
        }
    ASSERT_TRUE(DrawPressurePlot(m, host, s));
    ASSERT_TRUE(s.legend());
    EXPECT_EQ(s.legend()->quantity, "圧力 P");
    EXPECT_EQ(s.legend()->edges.front(), 1 - 0.5 * 6);
    EXPECT_EQ(s.legend()->edges.back(), 8 - 0.5);
    ASSERT_TRUE(DrawVorticityPlot(m, host, s));
    EXPECT_EQ(s.legend()->quantity, "渦度 ω");
    EXPECT_EQ(s.legend()->edges.front(), -s.legend()->edges.back());
    EXPECT_GT(s.legend()->edges.back(), 0);
    s.clear();
    EXPECT_FALSE(s.legend());
}

TEST(ImageSaving, CancelIsSilentAndTheDialogRemembersTheName) {
    ScriptedHost host;
    ImageSurface s(kPictureWidthTwips, kPictureHeightTwips);
    SaveDialogState dialog;
    SavePicture(host, s, dialog);
    EXPECT_TRUE(host.messages.empty());
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].first, "bmp(*.bmp)|*.bmp|すべてのファイル(*.*)|*.*");
    EXPECT_EQ(host.dialogs[0].second, "");

    const std::string path = ::testing::TempDir() + "kestrel_picture_no_extension";
    QFile::remove(QString::fromStdString(path));
    s.fillBox(0, 0, 0.5f, 0.5f, MakeRgb(255, 0, 0));
    host.saveNames = {path};
    SavePicture(host, s, dialog);
    QImage saved(QString::fromStdString(path), "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(481, 249));
    EXPECT_EQ(saved.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(saved.pixel(480, 248) & 0xFFFFFF, 0xFFFFFFu);

    host.saveNames = {std::string("/nonexistent-folder/x.bmp")};
    SavePicture(host, s, dialog);
    EXPECT_TRUE(host.messages.empty()); // a failed write is silent
    EXPECT_EQ(host.dialogs[2].second, path);
}

// The saved file says 96 pixels to the inch (15 twips each) whatever the
// screen, so the window and the runner write the same bytes; a resized
// picture too.
TEST(ImageSaving, TheResolutionIsTheTwipsNotTheScreens) {
    ImageSurface s(kPictureWidthTwips, kPictureHeightTwips);
    s.setHeightTwips(3000);
    for (const char* format : {"BMP", "PNG"}) {
        const QImage saved = QImage::fromData(QByteArray::fromStdString(s.encoded(format)), format);
        ASSERT_FALSE(saved.isNull()) << format;
        EXPECT_EQ(saved.dotsPerMeterX(), 3780) << format;
        EXPECT_EQ(saved.dotsPerMeterY(), 3780) << format;
    }
    const std::string bmp = s.encoded("BMP");
    ASSERT_GE(bmp.size(), 46u);
    EXPECT_EQ(static_cast<unsigned char>(bmp[38]) | static_cast<unsigned char>(bmp[39]) << 8, 3780);
}

} // namespace
} // namespace kestrel
