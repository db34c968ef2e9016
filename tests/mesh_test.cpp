#include "canvas/image_surface.h"
#include "geometry/coordinate_lists.h"
#include "geometry/mesh_nodes.h"
#include "mesh/mesh_display.h"
#include "runtime/number_text.h"
#include "support/pixels.h"
#include "support/scripted_host.h"
#include "support/test_state.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::ScriptedHost;

void setList(Array1<double>& list, std::initializer_list<double> values) {
    list.redim(static_cast<int>(values.size()));
    int k = 1;
    for (double v : values)
        list(k++) = v;
}

TEST(MeshNodes, EqualSpacingIgnoresTheLists) {
    SimulationState m = test::defaultState();
    m.nx = 3;
    ScriptedHost host;
    BuildMeshNodes(m, host);
    EXPECT_EQ(m.xNode.upper(), 4);
    EXPECT_EQ(std::vector<double>(m.xNode.data(), m.xNode.data() + 5),
              (std::vector<double>{0, 0, 10, 20, 30}));
    m.meshSizeX = 0;
    BuildMeshNodes(m, host);
    EXPECT_EQ(m.xNode(4), 0);
}

TEST(MeshNodes, UnsetNodesAreReportedOncePerCall) {
    SimulationState m = test::defaultState();
    m.meshMode = 0;
    m.nx = 3;
    m.ny = 2;
    setList(m.coordListX, {0, 2.5, kUnsetCoordinate, 10});
    setList(m.coordListY, {0, 1, 2});
    ScriptedHost host;
    BuildMeshNodes(m, host);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "XY座標が設定されていない箇所があります");
    EXPECT_EQ(m.xNode(3), 2.5);
    EXPECT_EQ(m.xNode(4), 10);

    m.coordListX(1) = kUnsetCoordinate;
    m.coordListY(3) = kUnsetCoordinate;
    BuildMeshNodes(m, host);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, "X座標が設定されていない箇所があります");
    EXPECT_EQ(m.xNode(1), 0);
    EXPECT_EQ(m.yNode(3), m.yNode(2));
}

TEST(MeshNodes, ShortListFailsAtTheMissingNode) {
    SimulationState m = test::defaultState();
    m.meshMode = 0;
    m.nx = 4;
    setList(m.coordListX, {0, 1, 2});
    ScriptedHost host;
    EXPECT_THROW(BuildMeshNodes(m, host), Failure);
    EXPECT_EQ(m.xNode(3), 2);
    m.nx = 32767;
    EXPECT_THROW(BuildMeshNodes(m, host), Failure);
}

using MeshDisplay = test::PictureTest;

TEST_F(MeshDisplay, FourByTwoIsDrawnTrueToShape) {
    SimulationState m = test::meshState(4, 2);
    m.cellKind(2, 1) = 0;
    m.cellKind(3, 2) = -1; // any nonzero code counts as fluid
    DrawMeshShape(m, host, s);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NEAR(s.heightTwips(), 7215.0 / 2, 0.01);
    EXPECT_EQ(s.scale().left, 0);
    EXPECT_EQ(s.scale().width, 40);
    EXPECT_EQ(at(5, 5), 0x00FFFFu);
    EXPECT_EQ(at(15, 5), 0xFF0000u);
    EXPECT_EQ(at(25, 15), 0x00FFFFu);
    EXPECT_EQ(at(10, 5), 0x000000u);
}

TEST_F(MeshDisplay, ZeroMeshSizeAndNegativeCoordinatesUseOneUnit) {
    SimulationState m = test::meshState(4, 2);
    m.meshSizeX = 0;
    DrawMeshShape(m, host, s);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(s.scale().width, 1);

    m.meshMode = 0;
    setList(m.coordListX, {-5, -4, -3, -2, -1});
    setList(m.coordListY, {0, 10, 20});
    DrawMeshShape(m, host, s);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(s.scale().left, -5);
    EXPECT_EQ(s.scale().width, 1);
}

TEST_F(MeshDisplay, ZeroWidthAndMissingMapAreTrapped) {
    SimulationState m = test::meshState(4, 2);
    m.meshMode = 0;
    setList(m.coordListX, {5, 5, 5, 5, 5});
    setList(m.coordListY, {0, 10, 20});
    DrawMeshShape(m, host, s);
    EXPECT_EQ(host.messages.back().text, "0 で除算しました。 (相似形表示)");

    SimulationState noMap = test::defaultState();
    DrawMeshShape(noMap, host, s);
    EXPECT_EQ(host.messages.back().text, "インデックスが有効範囲にありません。 (相似形表示)");
    EXPECT_NEAR(s.heightTwips(), 31.0 * 7215 / 61, 0.01); // resized before the failure
}

TEST(CoordinateLists, LoadGenerateInsertDeleteClear) {
    Array1<double> none;
    CoordinateList list = LoadCoordinateList(none, 4);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(EntryLabel(1, list.values[0]), "0001 : ");

    GenerateEqualSpacing(list, 5);
    EXPECT_EQ(list.values, (std::vector<std::string>{"0", "5", "10", "15"}));
    EXPECT_EQ(list.selected, -1);

    list.values[3] = "";
    list.selected = -1;
    ASSERT_TRUE(InsertValue(list, 2.5));
    EXPECT_EQ(list.values, (std::vector<std::string>{"0", "2.5", "5", "10"}));
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(EntryLabel(2, list.values[1]), "0002 : 2.5");

    EXPECT_FALSE(InsertValue(list, 7));
    EXPECT_EQ(list.selected, 0);

    list.selected = 1;
    DeleteSelected(list);
    EXPECT_EQ(list.values, (std::vector<std::string>{"0", "5", "10", ""}));

    GenerateEqualSpacing(list, 5);
    EXPECT_EQ(list.values[3], "15");
    EXPECT_EQ(list.selected, 2);

    ClearAll(list);
    EXPECT_EQ(list.count(), 4);
    EXPECT_FALSE(list.hasValue(0));
}

TEST(CoordinateLists, StoreMarksEmptyNodesAndLabelsReachNode9999) {
    CoordinateList list;
    list.values = {"0", "", "7"};
    Array1<double> stored;
    StoreCoordinateList(list, stored, 4);
    EXPECT_EQ(stored.upper(), 4);
    EXPECT_EQ(stored(0), 0);
    EXPECT_EQ(stored(1), 0);
    EXPECT_EQ(stored(2), kUnsetCoordinate);
    EXPECT_EQ(stored(3), 7);
    EXPECT_EQ(stored(4), kUnsetCoordinate); // list shorter than the mesh
    EXPECT_EQ(EntryLabel(9999, "1"), "9999 : 1");
    EXPECT_EQ(GeneralNumber(0.00001), "1E-05");
    EXPECT_EQ(GeneralNumber(0.1 + 0.2), "0.3");
}

} // namespace
} // namespace kestrel
