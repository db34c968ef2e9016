// The case file reader and the runner's outputs, as a script calling
// kestrel-batch relies on them.
#include "batch/batch_host.h"
#include "batch/batch_outputs.h"
#include "cases/case_file.h"
#include "runtime/file_writing.h"
#include "support/thrown.h"

#include <QImage>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace kestrel {
namespace {

std::string errorOf(std::string_view json) {
    return test::FailureText([&] { ReadCaseFile(json); });
}

TEST(CaseFile, MissingKeysTakeTheWindowDefaults) {
    const CaseFile c = ReadCaseFile(R"({"nx": 8, "obstacles": [[2, 3]], "display": "speed"})");
    EXPECT_EQ(c.state.nx, 8);
    for (const Parameter& p : Parameters())
        if (std::string_view(p.key) != "nx") {
            EXPECT_EQ(ValueOf(p, c.state), p.defaultValue) << p.key;
        }
    EXPECT_EQ(c.state.cellKind(2, 3), 0);
    EXPECT_EQ(c.state.cellKind(3, 3), 1);
    EXPECT_EQ(c.display, Display::Speed);
    EXPECT_TRUE(c.warnings.empty());
}

TEST(CaseFile, BadInputIsRefusedNamingTheKey) {
    const std::pair<std::string, const char*> cases[] = {
        {R"({"dx": 1})", R"("dx" is not a known key)"},
        {R"({"nx": "61"})", R"("nx" must be a whole number)"},
        {R"({"maxIter": 40000})", R"("maxIter" must lie in -32768..32767)"},
        {R"({"obstacles": [[62, 1]]})", R"("obstacles" must lie in 1..61)"},
        {R"({"display": "colour"})", R"("display" must be "pressure", "speed" or "vorticity")"},
        {R"({"coordListX": [0, "a"]})", R"("coordListX" must be a number)"},
        {R"({"nx": 0})", R"("nx" must lie in 1..32766)"},
        {R"({"nx": -32769})", R"("nx" must lie in -32768..32767)"}, // before it wraps
        {R"({"lineWidth": 40000})", R"("lineWidth" must lie in -32768..32767)"},
        {R"({"obstacles": [[0, 1]]})", R"("obstacles" must lie in 1..61)"},
        {"[1, 2]", "must hold a JSON object"},
        {R"({"obstacles": [[1, 2, 3]]})", R"("obstacles" must be an array of [i, j] pairs)"},
        {R"({"obstacles": [7]})", R"("obstacles" must be an array of [i, j] pairs)"},
        {R"({"obstacles": [[1, [2]]]})", R"("obstacles" must be an array of [i, j] pairs)"},
        {R"({"obstacles": [[1, null]]})", R"("obstacles" must be a whole number)"},
        {R"({"obstacleRuns": [[1, 2]]})", R"("obstacleRuns" must be an array of [j, i1, i2])"},
        {R"({"obstacleRuns": [[1, 5, 4]]})", "with i1 <= i2"},
        {R"({"obstacleRuns": [[32, 1, 2]]})", R"("obstacleRuns" must lie in 1..31)"},
        {R"({"obstacleRuns": [[1, 1, 62]]})", R"("obstacleRuns" must lie in 1..61)"},
        {R"({"obstacleRuns": {}})", R"("obstacleRuns" must be an array of [j, i1, i2])"},
        {R"({"coordListY": 4})", R"("coordListY" must be an array of numbers or null)"},
        {R"({"monitor": [5]})", R"("monitor" must be [i, j], one cell of the mesh)"},
        {R"({"monitor": [5, 4, 1]})", R"("monitor" must be [i, j])"},
        {R"({"monitor": [0, 4]})", R"("monitor" must lie in 1..61)"},
        {R"({"monitor": [5, 32]})", R"("monitor" must lie in 1..31)"},
        {R"({"monitor": [5, null]})", R"("monitor" must lie in 1..31)"},
        {R"({"monitor": "5, 4"})", R"("monitor" must be an array of numbers or null)"},
        {R"({"method": "mac"})", R"("method" must be "classic" or "staggered")"},
        {R"({"walls": 1})", R"("walls" must be "no-slip" or "slip")"},
        {R"({"inflow": "Parabolic"})", R"("inflow" must be "uniform" or "parabolic")"},
        {R"({"timeStep": "automatic"})", R"("timeStep" must be "fixed" or "auto")"},
        {R"({"safety": 0})", R"("safety" must lie above 0 and at most 1)"},
        {R"({"safety": 1.0000000000000002})", R"("safety" must lie above 0)"},
        // Each refused where it is, with its place.
        {"{\"nx\": 20,\n \"ny\": 10, \"nx\": 40}", R"(line 2, column 12: "nx" is given twice)"},
        {"{\"dt\": 1,\n  \"x\": [{}, {}]}", R"(line 2, column 3: "x" is not a known key)"},
        {"{\"a\nb\": 1}", "line 1, column 4: not valid JSON"}, // at the line's own end
        {R"({"format": "kestrel-case 2"})", R"("format" is a newer case format)"},
        {R"({"format": "sheet"})", R"("format" must be "kestrel-case 1")"},
        {R"({"dt": 1e-999})", R"("dt" is 1e-999, too small for the program)"},
        {R"({"coordListX": [0, 0.0000e-400, 1.5e-400]})", "is 1.5e-400, too small"},
        {"\xFF\xFE{\0}\0", "the file is UTF-16 text; save it as UTF-8"},
        {std::string("{\0\"\0", 4), "UTF-16"},
        {std::string("\xFF\xFE\0\0{\0\0\0", 8), "UTF-32"},
    };
    for (const auto& [json, message] : cases)
        EXPECT_NE(errorOf(json).find(message), std::string::npos) << json << ": " << errorOf(json);
}

TEST(CaseFile, WholeNumbersBeyondSixtyFourBitsDoNotWrapAround) {
    EXPECT_NE(errorOf(R"({"stepCount": 18446744073709551615})").find("\"stepCount\" must lie"),
              std::string::npos);
    EXPECT_NE(errorOf(R"({"meshSizeX": 18446744073709551606})").find("\"meshSizeX\" must lie"),
              std::string::npos);
    EXPECT_NE(
        errorOf(R"({"meshMode": 9223372036854775808})").find("\"meshMode\" must lie in -1..0"),
        std::string::npos);
    EXPECT_NE(errorOf(R"({"stepCount": -9223372036854775808})").find("\"stepCount\""),
              std::string::npos);
    // Fractions round as the window's fields do.
    EXPECT_EQ(ReadCaseFile(R"({"stepCount": 2.5, "maxIter": 3.5})").state.stepCount, 2);
    EXPECT_EQ(ReadCaseFile(R"({"maxIter": 3.5})").state.maxIter, 4);
    EXPECT_EQ(ReadCaseFile(R"({"maxIter": 1e2})").state.maxIter, 100);
    EXPECT_NE(errorOf(R"({"maxIter": 32767.5})").find("\"maxIter\" must lie"), std::string::npos);
    // A fraction that rounds to a limit lies within it.
    EXPECT_EQ(ReadCaseFile(R"({"maxIter": 32766.6})").state.maxIter, 32767);
    EXPECT_EQ(ReadCaseFile(R"({"meshMode": -0.6})").state.meshMode, -1);
}

TEST(CaseFile, MessagesAreShortOneLineAndQuoteSafely) {
    const std::string longKey(100000, 'k');
    const std::string hugeNumber = "1" + std::string(400, '0');
    const std::string inputs[] = {
        "{\"" + longKey + "\": 1}",
        R"({"a\nb": 1, "c\u001b[31m": 2})",
        "{\"dt\": " + hugeNumber + "}",
        "{\"dt\": \xff\xfe}",
        "{\"dt\": 0.005,\n \"nx\": 12,\n \"ny\": ]}",
    };
    for (const std::string& input : inputs) {
        const std::string message = errorOf(input);
        ASSERT_FALSE(message.empty());
        EXPECT_LE(message.size(), 200u) << message;
        for (unsigned char c : message) {
            EXPECT_GE(c, 0x20) << message;
            EXPECT_NE(c, 0x7F) << message;
        }
    }
    EXPECT_EQ(errorOf("{\"dt\": " + hugeNumber + "}"),
              "case file: line 1, column 8: the number \"100000000000000000000000…\" is too large");
    EXPECT_EQ(errorOf("{\"dt\": 0.005,\n \"nx\": 12,\n \"ny\": ]}"),
              "case file: line 3, column 8: not valid JSON near \",\\n \"nx\": 12,\\n \"ny\": ]\"");
    EXPECT_NE(errorOf(R"({"a\nb": 1})").find(R"("a\nb" is not a known key)"), std::string::npos);
    EXPECT_EQ(errorOf("{\"nx\": 61\n  \"ny\": 1}"), // the comma missing before "ny"
              "case file: line 2, column 3: not valid JSON near \"{\"nx\": 61\\n  \"\"");
    EXPECT_EQ(errorOf("1e400"), "case file: line 1, column 1: the number \"1e400\" is too large");
    EXPECT_EQ(errorOf(""), "case file: line 1, column 1: not valid JSON near \"\"");
}

TEST(CaseFile, ObstaclesMayLieOnTheFirstAndLastCells) {
    const CaseFile c = ReadCaseFile(R"({"nx": 8, "ny": 6, "obstacles": [[1, 1], [8, 6]]})");
    EXPECT_EQ(c.state.cellKind(1, 1), 0);
    EXPECT_EQ(c.state.cellKind(8, 6), 0);
    EXPECT_EQ(c.state.cellKind(2, 1), 1);
}

TEST(CaseFile, ACoordinateListHoldsAtMost32767Nodes) {
    const auto list = [](int nodes) {
        std::string text = R"({"coordListX": [0)";
        for (int k = 1; k < nodes; ++k)
            text += ",0";
        return text + "]}";
    };
    EXPECT_EQ(ReadCaseFile(list(32767)).state.coordListX.upper(), 32767);
    EXPECT_NE(errorOf(list(32768)).find("\"coordListX\" has more than 32767 nodes"),
              std::string::npos);
}

TEST(CaseFile, MeshModeZeroNeedsEveryNode) {
    EXPECT_EQ(errorOf(R"({"meshMode": 0, "nx": 5, "ny": 5})"),
              "case file: meshMode 0 needs \"coordListX\" with 6 nodes; it is missing");
    EXPECT_EQ(errorOf(R"({"meshMode": 0, "nx": 5, "ny": 2, "coordListX": [0, 1, 2, 3, 4, 5],
                         "coordListY": [0, 1]})"),
              "case file: \"coordListY\" has 2 nodes; meshMode 0 needs 3 (1 missing)");
    // -999999, which the window's lists hold for an empty node, reads as null does.
    for (const char* unset : {"null", "-999999"}) {
        const CaseFile c = ReadCaseFile(R"({"meshMode": 0, "nx": 2, "ny": 1, "coordListX": [0, )" +
                                        std::string(unset) + R"(, 3], "coordListY": [0, 2]})");
        EXPECT_EQ(c.state.coordListX(1), 0);
        EXPECT_EQ(c.state.coordListX(2), kUnsetCoordinate);
        EXPECT_EQ(c.state.coordListX(3), 3);
        ASSERT_EQ(c.warnings.size(), 1u);
        EXPECT_NE(c.warnings[0].english.find("\"coordListX\" node 2 is -999999 or null"),
                  std::string::npos)
            << unset;
    }
}

TEST(CaseFile, MeaninglessPhysicsWarnsAndMeaninglessOutputsAreRefused) {
    const CaseFile c = ReadCaseFile(
        R"({"stepCount": -4, "dt": -0.1, "reynolds": -3, "meshSizeX": -10, "meshMode": -1})");
    EXPECT_EQ(c.warnings.size(), 4u);
    const CaseFile descending = ReadCaseFile(
        R"({"meshMode": 0, "nx": 2, "ny": 1, "coordListX": [0, 5, 5], "coordListY": [2, 1]})");
    ASSERT_EQ(descending.warnings.size(), 2u);
    EXPECT_NE(descending.warnings[0].english.find("\"coordListX\" node 3 (5) is not above"),
              std::string::npos);
    EXPECT_NE(errorOf(R"({"meshMode": 0, "nx": 2, "ny": 1, "coordListX": [0, 1e308, 1.5e308],
                          "coordListY": [0, 1]})")
                  .find("\"coordListX\" nodes 2 and 3 are too large"),
              std::string::npos);
}

TEST(CaseFileText, FoldersEndlessInputsAndMissingFilesAreRefused) {
    const auto refusal = [](const std::string& path) {
        return test::FailureText([&] { ReadCaseText(path); });
    };
    EXPECT_NE(refusal(::testing::TempDir()).find("is a folder"), std::string::npos);
    EXPECT_NE(refusal("/dev/zero").find("is larger than 64 MiB"), std::string::npos);
    EXPECT_EQ(refusal("/nonexistent/case.json"),
              "case file: cannot read \"/nonexistent/case.json\": No such file or directory");
}

TEST(BatchOutputs, StatsWriteNullForAStepWithoutSweeps) {
    const std::string json =
        StatsJson({{3, 0.5}, {0, std::numeric_limits<double>::quiet_NaN()}}, 1.25);
    EXPECT_NE(json.find("\"lastError\": [\n  0.5,\n  null\n ]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"loopSeconds\": 1.25"), std::string::npos);
}

TEST(BatchOutputs, AFailedPlotIsAnErrorNotABlankPicture) {
    CaseFile c = ReadCaseFile(R"({"nx": 8, "ny": 6, "stepCount": 0, "meshSizeY": 32767})");
    BatchHost host(Display::Pressure, 1);
    EXPECT_THROW(PlotImageFile(c.state, host, "p.png"), Failure); // no field yet
}

TEST(BatchOutputs, TheCaseLineWidthDrawsTheFlowLines) {
    const auto picture = [](int width) {
        CaseFile c = ReadCaseFile(R"({"nx": 12, "ny": 8, "stepCount": 0})");
        SimulationState& m = c.state;
        for (auto* a : {&m.U, &m.V, &m.P})
            a->redim(m.nx, m.ny);
        for (int j = 1; j <= m.ny; ++j)
            for (int i = 1; i <= m.nx; ++i)
                m.U(i, j) = 1;
        m.xNode.redim(m.nx + 1);
        m.yNode.redim(m.ny + 1);
        for (int k = 1; k <= m.nx + 1; ++k)
            m.xNode(k) = 10 * (k - 1);
        for (int k = 1; k <= m.ny + 1; ++k)
            m.yNode(k) = 10 * (k - 1);
        BatchHost host(Display::Pressure, width);
        const std::string png = PlotImageFile(m, host, "p.png");
        return QImage::fromData(reinterpret_cast<const uchar*>(png.data()),
                                static_cast<int>(png.size()), "PNG");
    };
    const QImage thin = picture(1);
    const QImage thick = picture(5);
    ASSERT_FALSE(thin.isNull());
    EXPECT_EQ(thin.size(), QSize(481, 321));
    EXPECT_NE(thin, thick);
}

TEST(OutputFiles, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    const std::string path = ::testing::TempDir() + "kestrel_output.txt";
    std::remove(path.c_str()); // a read-only one a failed run may have left
    ASSERT_FALSE(WriteWholeFile(path, "first"));
    const auto error = WriteWholeFile("/dev/full", "second");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->english(), "No space left on device");
    EXPECT_EQ(error->japanese(), "ディスクに空きがありません");
    EXPECT_THROW(WriteOutputFile("/nonexistent/x.txt", "x"), Failure);
    EXPECT_TRUE(WriteWholeFile(::testing::TempDir(), "x")); // a folder
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const auto readOnly = WriteWholeFile(path, "third");
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(readOnly->english(), "the file is read-only");
    EXPECT_EQ(readOnly->japanese(), "読み取り専用のファイルです");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "first");
    std::remove(path.c_str());
}

} // namespace
} // namespace kestrel
