#include "model/VM4_Node_Class.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/FuzzyCompare.h"
#include "foundations/VM4_BinaryStream.h"

namespace {

std::string recordOf(const TNode& node) {
    TByteWriter writer;
    node.WriteRecord(writer);
    return writer.Bytes();
}

// A node with a distinct value in every field, so that a field left out or
// swapped with another shows up.
TNode distinctNode() {
    TNode node;
    node.Name = "Feed tank";
    node.NodeType = TNodeType::Tank;
    node.JointSupply_m3s = 0.011;
    node.JointDischarge_m3s = 0.022;
    node.Elevation_m = 3.5;
    node.SurfacePressure_bar_g = 1.25;
    node.LiquidLevel_m = 4.75;
    node.Pressure_FluidHead_m = 17.5;
    node.IsPressureSet = true;
    node.X = 101;
    node.Y = 102;
    node.Reserved = 0;
    node.NameLabelOffsetX = 104;
    node.NameLabelOffsetY = 105;
    node.DemandInLabelOffsetX = 106;
    node.DemandInLabelOffsetY = 107;
    node.DemandOutLabelOffsetX = 108;
    node.DemandOutLabelOffsetY = 109;
    node.Symbol = 110;
    node.Colour = 255;
    node.Notes = {"first", "second"};
    node.Selected = true;
    node.SelectStartX = 112;
    node.SelectStartY = 113;
    return node;
}

std::int32_t int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

double doubleAt(const std::string& bytes, std::size_t offset) {
    double value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

}  // namespace

TEST(Node, NewNodeHasTheDocumentedDefaults) {
    const TNode node;
    EXPECT_EQ(node.Name, "");
    EXPECT_EQ(node.NodeType, TNodeType::NotSet);
    EXPECT_EQ(node.DemandInLabelOffsetX, 12);
    EXPECT_EQ(node.DemandInLabelOffsetY, -28);
    EXPECT_EQ(node.DemandOutLabelOffsetX, 12);
    EXPECT_EQ(node.DemandOutLabelOffsetY, 28);
    EXPECT_EQ(node.NameLabelOffsetX, 0);
    EXPECT_EQ(node.NameLabelOffsetY, 0);
    EXPECT_EQ(node.Symbol, 0);
    EXPECT_EQ(node.Colour, 16777215);
    EXPECT_EQ(node.Elevation_m, 0.0);
    EXPECT_TRUE(node.Notes.empty());
}

TEST(Node, ClearRestoresEveryDefaultButKeepsTheName) {
    TNode node = distinctNode();
    node.Clear();

    TNode fresh;
    fresh.Name = "Feed tank";
    EXPECT_EQ(recordOf(node), recordOf(fresh));
    EXPECT_FALSE(node.Selected);
    EXPECT_EQ(node.SelectStartX, 0);
    EXPECT_EQ(node.SelectStartY, 0);
}

TEST(Node, CopyKeepsTheTargetsNameAndDemandLabelOffsets) {
    TNode target;
    target.Name = "N7";
    target.DemandInLabelOffsetX = -1;
    target.DemandInLabelOffsetY = -2;
    target.DemandOutLabelOffsetX = -3;
    target.DemandOutLabelOffsetY = -4;

    const TNode source = distinctNode();
    target.Copy(source);

    EXPECT_EQ(target.Name, "N7");
    EXPECT_EQ(target.DemandInLabelOffsetX, -1);
    EXPECT_EQ(target.DemandInLabelOffsetY, -2);
    EXPECT_EQ(target.DemandOutLabelOffsetX, -3);
    EXPECT_EQ(target.DemandOutLabelOffsetY, -4);

    // Everything else equals the source: make the kept fields equal and compare records.
    TNode expected = source;
    expected.Name = "N7";
    expected.DemandInLabelOffsetX = -1;
    expected.DemandInLabelOffsetY = -2;
    expected.DemandOutLabelOffsetX = -3;
    expected.DemandOutLabelOffsetY = -4;
    EXPECT_EQ(recordOf(target), recordOf(expected));
    EXPECT_EQ(target.Notes, source.Notes);
}

TEST(Node, SetNameCutsToTwentyCharacters) {
    TNode node;
    node.SetName("Ü123456789012345678901234");
    EXPECT_EQ(node.Name, "Ü1234567890123456789");
}

TEST(Node, TypeNamesShownInTables) {
    EXPECT_STREQ(NodeTypeName(TNodeType::JoinPoint), "Join Point");
    EXPECT_STREQ(NodeTypeName(TNodeType::Tank), "Tank");
    EXPECT_STREQ(NodeTypeName(TNodeType::DemandPressure), "Demand Pressure");
    EXPECT_STREQ(NodeTypeName(TNodeType::NotSet), "");
}

struct TankHeadCase {
    double surface_bar_g;
    double level_m;
    double elevation_m;
    double density_kgm3;
    double surfacePlusLiquid_m;  // p * 100000 / (rho * 9.80665) + level
    double grade_m;              // the above + elevation
};

class TankHead : public ::testing::TestWithParam<TankHeadCase> {};

TEST_P(TankHead, ConvertsSurfacePressureToFluidHeadAndAddsLevelAndElevation) {
    const TankHeadCase& c = GetParam();
    TNode tank;
    tank.SetType(TNodeType::Tank);
    tank.SurfacePressure_bar_g = c.surface_bar_g;
    tank.LiquidLevel_m = c.level_m;
    tank.Elevation_m = c.elevation_m;
    EXPECT_REL_NEAR(tank.getSurfacePlusLiquidPressure_mHd_Fluid(1.01325, c.density_kgm3), c.surfacePlusLiquid_m, 1e-12);
    EXPECT_REL_NEAR(tank.getPressure_mHd_Fluid(1.01325, c.density_kgm3), c.grade_m, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Node, TankHead,
                         ::testing::Values(
                             // 1.5 * 100000 / (998 * 9.80665) = 150000 / 9787.0367 = 15.32639598664221; + 2 m
                             TankHeadCase{1.5, 2.0, 10.0, 998.0, 17.32639598664221, 27.32639598664221},
                             // -0.5 * 100000 / (850 * 9.80665) = -5.998330664576049; no level, 4 m below datum
                             TankHeadCase{-0.5, 0.0, -4.0, 850.0, -5.998330664576049, -9.998330664576049},
                             // an open tank: only the liquid column counts
                             TankHeadCase{0.0, 3.25, 1.0, 1000.0, 3.25, 4.25}));

TEST(NodeRecord, HoldsEveryFieldAtItsOffset) {
    const std::string bytes = recordOf(distinctNode());
    ASSERT_EQ(bytes.size(), TNode::RecordSize);
    EXPECT_EQ(bytes.substr(0, 10), std::string("\x09" "Feed tank"));
    EXPECT_EQ(bytes[21], '\x01');  // tank
    // Doubles from byte 22: supply, discharge, elevation, surface pressure, level, head.
    EXPECT_EQ(doubleAt(bytes, 22), 0.011);
    EXPECT_EQ(doubleAt(bytes, 30), 0.022);
    EXPECT_EQ(doubleAt(bytes, 38), 3.5);
    EXPECT_EQ(doubleAt(bytes, 46), 1.25);
    EXPECT_EQ(doubleAt(bytes, 54), 4.75);
    EXPECT_EQ(doubleAt(bytes, 62), 17.5);
    EXPECT_EQ(bytes[70], '\x01');
    // Eleven int32 from byte 71: X, Y, Reserved, name offsets, demand-in, demand-out, symbol, colour.
    const std::int32_t expectedInts[] = {101, 102, 0, 104, 105, 106, 107, 108, 109, 110, 255};
    for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(int32At(bytes, 71 + 4 * i), expectedInts[i]) << "int " << i;
    EXPECT_EQ(bytes.substr(115, 16), std::string("\x0F" "first\r\nsecond\r\n"));
}

TEST(NodeRecord, RoundTripRestoresTheSavedFieldsButNotTheSelection) {
    TNode loaded;
    const std::string bytes = recordOf(distinctNode());
    TByteReader reader(bytes);
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(recordOf(loaded), bytes);
    EXPECT_EQ(loaded.Notes, (std::vector<std::string>{"first", "second"}));
    EXPECT_FALSE(loaded.Selected);
}

TEST(NodeRecord, OnlyTheFirstTwoHundredCharactersOfTheNotesSurvive) {
    TNode node;
    node.Notes = {std::string(150, 'a'), std::string(100, 'b')};
    const std::string bytes = recordOf(node);
    TByteReader reader(bytes);
    TNode loaded;
    loaded.ReadRecord(reader);
    // 150 'a' + CR LF = 152 characters, then 48 of the 'b' line.
    EXPECT_EQ(loaded.Notes, (std::vector<std::string>{std::string(150, 'a'), std::string(48, 'b')}));
}

TEST(NodeRecord, UnknownNodeTypeIsRejectedWithItsOffset) {
    std::string bytes = recordOf(TNode());
    bytes[21] = '\x04';
    TByteReader reader(bytes);
    TNode node;
    try {
        node.ReadRecord(reader);
        FAIL() << "a node type above 3 must be refused";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), "node type 4 is not 0..3 at byte 21");
    }
}
