// Fields, lists, tables and files read and write "." as the decimal point
// under a system language that writes a comma.
#include "cases/case_writing.h"
#include "geometry/coordinate_lists.h"
#include "report/field_exports.h"
#include "report/result_table.h"
#include "runtime/lenient_number.h"
#include "runtime/number_text.h"
#include "support/comma_locale.h"
#include "support/test_state.h"
#include "windows/main_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>

namespace kestrel {
namespace {

class CommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(locale.active()) << "no comma-decimal locale could be made";
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 2.5);
        ASSERT_STREQ(text, "2,5"); // the C library really writes a comma now
    }
    test::CommaDecimalLocale locale;
};

TEST_F(CommaLocale, CaseFilesAndTheStabilityNumbersUseAPoint) {
    CaseFile c = DefaultCase();
    c.state.dt = 0.0025;
    c.state.lineScale = 1.0 / 3.0;
    const std::string text = WriteCaseText(c);
    EXPECT_NE(text.find("\"dt\": 0.0025"), std::string::npos) << text;
    const CaseFile back = ReadCaseFile(text);
    EXPECT_EQ(back.state.dt, 0.0025);
    EXPECT_EQ(back.state.lineScale, 1.0 / 3.0);

    SimulationState m;
    MainWindow w{m};
    EXPECT_EQ(w.findChild<QLabel*>("StabilityDiffusion")->text(), "拡散数 2.5e-06");
    EXPECT_EQ(ShortestNumber(0.0025), "0.0025");
    EXPECT_EQ(SignificantNumber(-0.301994, 5), "-0.30199");
}

TEST_F(CommaLocale, NumbersAreReadAndWrittenWithAPoint) {
    EXPECT_EQ(LeadingNumber("0.005"), 0.005);
    EXPECT_EQ(LeadingNumber("40.75"), 40.75);
    EXPECT_EQ(LeadingNumber("2,5"), 2); // a comma ends the number, as everywhere else
    EXPECT_EQ(GeneralNumber(2.5), "2.5");
    EXPECT_EQ(GeneralNumber(0.00001), "1E-05");
    EXPECT_EQ(FullPrecisionNumber(0.1), "0.10000000000000001");
    EXPECT_EQ(FormatFixed4(2.5), "2.5000");
    EXPECT_EQ(FormatFixed4(-1.23456), "-1.2346");

    SimulationState m = test::meshState(2, 1);
    test::initialiseRun(m);
    m.U(1, 1) = 2.5;
    EXPECT_EQ(BuildResultTable(m, {1, 1, 1, 1}).substr(87),
              "     1     1    2.5000    0.0000    0.0000\r\n");
    EXPECT_EQ(FieldCsv(m).substr(0, 42), "i,j,x,y,U,V,P,vorticity\n1,1,5,5,2.5,0,0,0\n");
}

TEST_F(CommaLocale, CoordinateListsKeepTheirValues) {
    Array1<double> stored;
    stored.redim(3);
    stored(1) = 0;
    stored(2) = 2.5;
    stored(3) = 40.75;
    const CoordinateList list = LoadCoordinateList(stored, 3);
    EXPECT_EQ(EntryLabel(2, list.values[1]), "0002 : 2.5");
    Array1<double> back;
    StoreCoordinateList(list, back, 3);
    EXPECT_EQ(back(2), 2.5);
    EXPECT_EQ(back(3), 40.75);
}

TEST_F(CommaLocale, TheMainWindowTakesTypedDecimalsAsTheyAreWritten) {
    SimulationState m;
    MainWindow w{m};
    auto* dt = w.findChild<QLineEdit*>("Text1");
    dt->clear();
    QTest::keyClicks(dt, "0.005");
    EXPECT_EQ(m.dt, 0.005);
    auto* reynolds = w.findChild<QLineEdit*>("Text2");
    reynolds->clear();
    QTest::keyClicks(reynolds, "40.75");
    EXPECT_EQ(m.reynolds, 40.75);
    w.findChild<QLineEdit*>("Text6")->setText("2.5");
    EXPECT_EQ(m.meshSizeX, 2);
    w.findChild<QLineEdit*>("Text6")->setText("3.5");
    EXPECT_EQ(m.meshSizeX, 4);
}

} // namespace
} // namespace kestrel
