#include "batch/batch_outputs.h"
#include "batch/case_file.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

std::string errorOf(const std::string& json) {
    try {
        ReadCaseFile(json);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(CaseFile, MissingKeysTakeTheWindowDefaults) {
    const CaseFile c = ReadCaseFile(R"({"nx": 8, "obstacles": [[2, 3]], "display": "speed"})");
    EXPECT_EQ(c.state.nx, 8);
    EXPECT_EQ(c.state.ny, 31);
    EXPECT_EQ(c.state.dt, 0.005);
    EXPECT_EQ(c.state.maxIter, 100);
    EXPECT_EQ(c.state.meshMode, -1);
    EXPECT_EQ(c.state.cellKind(2, 3), 0);
    EXPECT_EQ(c.state.cellKind(3, 3), 1);
    EXPECT_FALSE(c.pressureDisplay);
}

TEST(CaseFile, BadInputIsRefusedNamingTheKey) {
    EXPECT_NE(errorOf(R"({"dx": 1})").find("\"dx\""), std::string::npos);
    EXPECT_NE(errorOf(R"({"nx": "61"})").find("\"nx\""), std::string::npos);
    EXPECT_NE(errorOf(R"({"stepCount": 1.5})").find("\"stepCount\""), std::string::npos);
    EXPECT_NE(errorOf(R"({"maxIter": 40000})").find("\"maxIter\""), std::string::npos);
    EXPECT_NE(errorOf(R"({"obstacles": [[62, 1]]})").find("\"obstacles\""), std::string::npos);
    EXPECT_NE(errorOf(R"({"display": "colour"})").find("\"display\""), std::string::npos);
    EXPECT_NE(errorOf(R"({"coordListX": [0, "a"]})").find("\"coordListX\""), std::string::npos);
    EXPECT_NE(errorOf("{").find("not valid JSON"), std::string::npos);
}

TEST(CaseFile, CoordinateListsKeepNullAsUnset) {
    const CaseFile c = ReadCaseFile(R"({"meshMode": 0, "coordListX": [0, null, 3]})");
    EXPECT_EQ(c.state.coordListX(1), 0);
    EXPECT_EQ(c.state.coordListX(2), kUnsetCoordinate);
    EXPECT_EQ(c.state.coordListX(3), 3);
}

TEST(BatchOutputs, StatsWriteNullForAStepWithoutSweeps) {
    RunStats stats;
    stats.steps = {{3, 0.5}, {0, std::numeric_limits<double>::quiet_NaN()}};
    stats.loopSeconds = 1.25;
    const std::string json = StatsJson(stats);
    EXPECT_NE(json.find("null"), std::string::npos);
    EXPECT_NE(json.find("\"loopSeconds\": 1.25"), std::string::npos);
}

} // namespace
} // namespace kestrel
