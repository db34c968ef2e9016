#include "report/result_table.h"
#include "report/result_text.h"
#include "support/scripted_host.h"
#include "support/test_state.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::ScriptedHost;

TEST(ResultTable, TwoCellExampleIs175Characters) {
    SimulationState m = test::meshState(2, 1);
    m.U.redim(2, 1);
    m.V.redim(2, 1);
    m.P.redim(2, 1);
    m.U(1, 1) = 0.5;
    m.V(1, 1) = -0.25;
    const std::string text = BuildResultTable(m, {1, 2, 1, 1});
    EXPECT_EQ(text.size(), 175u);
    EXPECT_EQ(text, "     X     Y      U         V         P \r\n"
                    "-------------------------------------------\r\n"
                    "     1     1    0.5000   -0.2500    0.0000\r\n"
                    "     2     1    0.0000    0.0000    0.0000\r\n");
}

TEST(ResultTable, FixedFourDecimals) {
    EXPECT_EQ(FormatFixed4(0.5), "0.5000");
    EXPECT_EQ(FormatFixed4(-1.23456), "-1.2346");
    EXPECT_EQ(FormatFixed4(12345.6), "12345.6000");
    EXPECT_EQ(FormatFixed4(123456.78), "123456.7800");
    EXPECT_EQ(RightAligned(FormatFixed4(123456.78), 10), "23456.7800");
    EXPECT_EQ(FormatFixed4(0.03125), "0.0313"); // exact halfway: away from zero
    EXPECT_EQ(FormatFixed4(-0.03125), "-0.0313");
    EXPECT_EQ(FormatFixed4(-0.00001), "0.0000"); // no sign on a zero result
    EXPECT_EQ(FormatFixed4(9.99996), "10.0000");
    EXPECT_EQ(FormatFixed4(0), "0.0000");
}

TEST(ResultTable, DefaultMeshLengthAndCutInsideRow25) {
    SimulationState m = test::meshState(61, 31);
    test::initialiseRun(m);
    const std::string text = BuildResultTable(m, {1, 61, 1, 31});
    EXPECT_EQ(text.size(), 83291u);
    const std::size_t cut = 65532;
    const std::size_t row = (cut - 87) / 44; // whole rows before the cut
    EXPECT_EQ(row, 1487u);
    EXPECT_EQ(text.substr(87 + 44 * row, 12), "    24    25"); // first row cut off is in j = 25
}

class TextCommand : public ::testing::Test, public ResultViewer {
  protected:
    SimulationState m = test::meshState(3, 2);
    ScriptedHost host;
    std::vector<std::string> fields;
    std::string caption, table;
    int created = 0;
    bool shown = false;

    void setRangeFields(const std::string& a, const std::string& b, const std::string& c,
                        const std::string& d) override {
        fields = {a, b, c, d};
    }
    void setCaption(const std::string& c) override { caption = c; }
    void setTable(const std::string& t) override { table = t; }
    void showViewer() override { shown = true; }
    void click() {
        ShowResultText(m, host, [this]() -> ResultViewer& {
            ++created;
            return *this;
        });
    }
};

TEST_F(TextCommand, BuildsTheWholeTableWithProgress) {
    test::initialiseRun(m);
    host.status = "計算結果 4回目";
    click();
    EXPECT_EQ(fields, (std::vector<std::string>{"1", "3", "1", "2"}));
    EXPECT_EQ(caption, "実行結果");
    EXPECT_EQ(table.size(), 87u + 44 * 6);
    EXPECT_TRUE(shown);
    EXPECT_EQ(host.status, "");
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(host.statusLog, (std::vector<std::string>{"テキスト生成中", "テキスト生成中 1 / 2",
                                                        "テキスト生成中 2 / 2", ""}));
    EXPECT_EQ(host.processEventsCalls, 2);
}

TEST_F(TextCommand, BeforeAnyRunOnlyTheMessageShows) {
    click();
    EXPECT_FALSE(shown);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "インデックスが有効範囲にありません。(結果テキスト生成)\r\n\r\n"
              "未だ計算実行されていない可能性があります.");
    EXPECT_EQ(host.status, "");
    EXPECT_FALSE(host.busy);
}

TEST(Redisplay, RangeFieldsAreExchangedAndLimited) {
    SimulationState m = test::meshState(61, 31);
    test::initialiseRun(m);
    auto range = [&m](const char* a, const char* b, const char* c, const char* d) {
        const auto r = RedisplayRange(m, a, b, c, d);
        return std::vector<int>{r->firstI, r->lastI, r->firstJ, r->lastJ};
    };
    EXPECT_EQ(range("10", "5", "0", "99"), (std::vector<int>{5, 10, 1, 31}));
    EXPECT_EQ(range("1", "", "1", "31"), (std::vector<int>{1, 1, 1, 31}));
    EXPECT_EQ(range("100", "200", "1", "2"), (std::vector<int>{100, 61, 1, 2}));
    // An empty last X reads as 0: exchanged with 100, raised to 1, limited to nx.
    EXPECT_EQ(range("100", "", "1", "31"), (std::vector<int>{1, 61, 1, 31}));
    EXPECT_EQ(range("2.5", "3.5", "1", "1"), (std::vector<int>{2, 4, 1, 1}));
    const auto r = RedisplayRange(m, "100", "200", "1", "2");
    EXPECT_EQ(BuildResultTable(m, *r).size(), 87u); // header and rule only

    m.nx = 70; // raised after the run: limited to the fields
    EXPECT_EQ(range("1", "70", "1", "31")[1], 61);
    SimulationState none = test::defaultState();
    EXPECT_FALSE(RedisplayRange(none, "1", "2", "1", "2"));
}

} // namespace
} // namespace kestrel
