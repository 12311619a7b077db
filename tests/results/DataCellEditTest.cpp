#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/NetworkBuilder.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_DataCellEdit.h"

// Texts typed into the cells of the data tables, written into the network in SI.

namespace {

constexpr double kFoot_m = 0.3048;
constexpr double kInch_m = 0.0254;
constexpr double kPsi_bar = 0.0689475729;

// A tank, a join point and an end node joined by two pipes; the tables show
// lengths in ft, diameters in inches, pressures in psi g and flows in l/s.
class DataCellEdit : public ::testing::Test {
protected:
    void SetUp() override {
        TNetworkBuilder build(network_);
        tank_ = build.AddTank(400, 400, 10.0, 0.5, 2.0);
        joint_ = build.AddJoint(600, 400, 4.0);
        end_ = build.AddDemandPressure(800, 400, 1.0);
        pipe_ = build.AddPipe(tank_, joint_, "P1", 100.0, 0.1);
        build.AddPipe(joint_, end_, "P2", 50.0, 0.08);
        network_.Settings.LengthUnit = UNIT_FT;
        network_.Settings.DiameterUnit = UNIT_INCH;
        network_.Settings.RoughnessUnit = UNIT_MM;
        network_.Settings.SurfacePressureUnit = UNIT_PSI_G;
        network_.Settings.FlowRateUnit = UNIT_L_SEC;
        network_.Settings.ElevationUnit = UNIT_FT;
    }

    TCellEditOutcome Type(TDataTable table, std::int32_t id, int column, const std::string& text) {
        return ApplyDataCellEdit(network_, table, id, column, text);
    }

    TNetwork network_;
    std::int32_t tank_ = 0, joint_ = 0, end_ = 0, pipe_ = 0;
};

TEST_F(DataCellEdit, NumbersAreStoredInSI) {
    const struct {
        TDataTable Table;
        int Column;
        const char* Text;
        double Expected;
        std::function<double(TNetwork&)> Stored;
    } cases[] = {
        {TDataTable::Pipes, 7, "12.5", 12.5 * kFoot_m, [this](TNetwork& n) { return n.GetPipe(pipe_).Length_m; }},
        {TDataTable::Pipes, 5, "4,026", 4.026 * kInch_m,
         [this](TNetwork& n) { return n.GetPipe(pipe_).InnerDiameter_m; }},
        {TDataTable::Pipes, 6, "0.045", 0.045e-3, [this](TNetwork& n) { return n.GetPipe(pipe_).InnerRoughness_m; }},
        {TDataTable::Tanks, 3, "30", 30 * kFoot_m, [this](TNetwork& n) { return n.GetNode(tank_).Elevation_m; }},
        {TDataTable::Tanks, 5, "14.5", 14.5 * kPsi_bar,
         [this](TNetwork& n) { return n.GetNode(tank_).SurfacePressure_bar_g; }},
        {TDataTable::EndPressures, 4, "0", 0.0, [this](TNetwork& n) { return n.GetNode(end_).SurfacePressure_bar_g; }},
        {TDataTable::JoinPoints, 5, "2.5", 2.5e-3, [this](TNetwork& n) { return n.GetNode(joint_).JointDischarge_m3s; }},
    };
    for (const auto& c : cases) {
        const std::int32_t id = c.Table == TDataTable::Pipes      ? pipe_
                                : c.Table == TDataTable::Tanks    ? tank_
                                : c.Table == TDataTable::JoinPoints ? joint_
                                                                    : end_;
        EXPECT_EQ(Type(c.Table, id, c.Column, c.Text), TCellEditOutcome::Applied) << c.Text;
        // A wrong unit or factor is off by far more than the last digits of a conversion constant.
        EXPECT_NEAR(c.Stored(network_), c.Expected, 1e-6 * std::max(1e-3, std::abs(c.Expected))) << c.Text;
    }
}

TEST_F(DataCellEdit, EachKeystrokeOfALengthIsStoredOnTheWay) {
    for (const char* typed : {"1", "12", "12.", "12.5"})
        EXPECT_EQ(Type(TDataTable::Pipes, pipe_, 7, typed), TCellEditOutcome::Applied) << typed;
    EXPECT_NEAR(network_.GetPipe(pipe_).Length_m, 3.81, 1e-12);
}

TEST_F(DataCellEdit, TextsAreCutToTheirCapacity) {
    EXPECT_EQ(Type(TDataTable::Pipes, pipe_, 1, "Cooling water return line"), TCellEditOutcome::Applied);
    EXPECT_EQ(network_.GetPipe(pipe_).Name, "Cooling water return");
    EXPECT_EQ(Type(TDataTable::JoinPoints, joint_, 2, "Header"), TCellEditOutcome::Applied);
    EXPECT_EQ(network_.GetNode(joint_).Name, "Header");
    EXPECT_EQ(Type(TDataTable::Tanks, tank_, 6, "Inspect yearly"), TCellEditOutcome::Applied);
    EXPECT_EQ(network_.GetNode(tank_).Notes, std::vector<std::string>{"Inspect yearly"});
}

TEST_F(DataCellEdit, RefusalsLeaveTheNetworkAsItWas) {
    const struct {
        const char* Name;
        TDataTable Table;
        std::int32_t Id;
        int Column;
        const char* Text;
        TCellEditOutcome Expected;
    } cases[] = {
        {"MinusInElevation", TDataTable::Tanks, tank_, 3, "-", TCellEditOutcome::InvalidValue},
        {"NegativeLength", TDataTable::Pipes, pipe_, 7, "-3", TCellEditOutcome::InvalidValue},
        {"Letters", TDataTable::JoinPoints, joint_, 4, "2a", TCellEditOutcome::InvalidValue},
        {"EmptyNumber", TDataTable::Pipes, pipe_, 7, "", TCellEditOutcome::Unchanged},
        {"ZeroDiameter", TDataTable::Pipes, pipe_, 5, "0", TCellEditOutcome::Unchanged},
        {"ZeroLength", TDataTable::Pipes, pipe_, 7, "0.0", TCellEditOutcome::Unchanged},
        {"HeadingRow", TDataTable::Pipes, 0, 3, "x", TCellEditOutcome::NotEditable},
        {"EmptyTextInHeadingRow", TDataTable::Pipes, 0, 3, "", TCellEditOutcome::Unchanged},
        {"PipeId", TDataTable::Pipes, pipe_, 0, "7", TCellEditOutcome::RefillSoon},
        {"NodeType", TDataTable::Tanks, tank_, 1, "Join", TCellEditOutcome::RefillSoon},
        {"BeyondTheTable", TDataTable::EndPressures, end_, 6, "x", TCellEditOutcome::RefillAtOnce},
        {"PipeGone", TDataTable::Pipes, 99, 1, "x", TCellEditOutcome::Failed},
        {"NodeGone", TDataTable::Tanks, 77, 2, "x", TCellEditOutcome::Failed},
    };
    const std::string before = network_.SaveToBytes();
    for (const auto& c : cases) EXPECT_EQ(Type(c.Table, c.Id, c.Column, c.Text), c.Expected) << c.Name;
    EXPECT_EQ(network_.SaveToBytes(), before);
}

TEST(DataRowItemId, ReadsTheWholeNumberOfTheFirstCell) {
    EXPECT_EQ(DataRowItemId(" 12 "), 12);
    EXPECT_EQ(DataRowItemId("Pipe Id"), 0);
    EXPECT_EQ(DataRowItemId(""), 0);
    EXPECT_EQ(DataRowItemId("3a"), 0);
}

}  // namespace
