#include "model/VM4_Pipe_Class.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <sstream>
#include <string>

#include "common/FuzzyCompare.h"
#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_DecimalMark.h"
#include "model/VM4_Fluid_Class.h"

namespace {

// Offsets in the pipe record (see the layout in TPipe::WriteRecord).
constexpr std::size_t kFittingCountOffset = 311;
constexpr std::size_t kComponentNameCopyOffset = 336;
constexpr std::size_t kComponentRecordOffset = 357;

TFitting makeFitting(std::int32_t imageIndex, double kValue) {
    TFitting fitting;
    fitting.SetFittingData(100, imageIndex, "f", "", "", "", kValue);
    return fitting;
}

// The network's default pipe: 4" schedule 40 steel, 3.048 m long.
TPipe defaultPipe() {
    TPipe pipe;
    pipe.Name = "Default Pipe";
    pipe.Length_m = 3.048;
    pipe.InnerDiameter_m = 0.10226;
    pipe.InnerRoughness_m = 0.000046;
    pipe.Material = "Steel";
    pipe.SizeClass = 100;
    pipe.NominalSize = "4\"";
    pipe.Schedule = "Sch. 40";
    pipe.OuterDiameter_m = 0.1143;
    pipe.WallThickness_m = 0.00602;
    pipe.WeightPerLength_kg_m = 16.0751;
    return pipe;
}

// Pump curve (0, 50), (0.01, 48), (0.02, 40) in m³/sec and m.H2O, NPSHr 2, 3, 5 m.H2O.
void attachPump(TPipe& pipe) {
    pipe.Pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 2.0);
    pipe.Pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 3.0);
    pipe.Pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 5.0);
    pipe.HasPump = true;
}

void attachFixedLossComponent(TPipe& pipe, double loss_bar) {
    pipe.ComponentPressure.SetName("Filter");
    pipe.ComponentPressure.UseCurve = 0;
    pipe.ComponentPressure.FixedLoss_bar = loss_bar;
    pipe.HasComponentPressure = true;
}

TFluid waterOfDensity(double density_kg_m3) {
    TFluid fluid;
    fluid.Density_kg_m3 = density_kg_m3;
    return fluid;
}

TEST(Pipe, ClearRestoresEveryDefault) {
    TPipe pipe = defaultPipe();
    attachPump(pipe);
    attachFixedLossComponent(pipe, 0.5);
    pipe.Fittings.AddFitting(makeFitting(1, 0.4), 2);
    pipe.Notes = {"note"};
    pipe.CalcFittings = false;
    pipe.FittingsPositionPercent = 10.0;
    pipe.LabelPositionPercent = 80.0;
    pipe.FlowType = "Turbulent";
    pipe.FlowCorrectionFactor = 2.0;
    pipe.TotalPressureLoss_mHd_Fluid = 4.0;

    pipe.Clear();
    EXPECT_EQ(pipe.Name, "");
    EXPECT_EQ(pipe.Length_m, 0.0);
    EXPECT_EQ(pipe.SizeClass, 0);
    EXPECT_TRUE(pipe.Notes.empty());
    EXPECT_EQ(pipe.Fittings.Count(), 0);
    EXPECT_EQ(pipe.Fittings.Capacity(), 5);
    EXPECT_TRUE(pipe.CalcFittings);
    EXPECT_EQ(pipe.FittingsPositionPercent, 50.0);
    EXPECT_EQ(pipe.LabelPositionPercent, 50.0);
    EXPECT_FALSE(pipe.HasPump);
    EXPECT_EQ(pipe.Pump.PointCount(), 0);
    EXPECT_FALSE(pipe.HasComponentPressure);
    EXPECT_EQ(pipe.ComponentPressure.Name(), "");
    EXPECT_EQ(pipe.ComponentPressure.FixedLoss_bar, 0.0);
    EXPECT_EQ(pipe.FlowType, "NotSet");
    EXPECT_EQ(pipe.FlowCorrectionFactor, 1.0);
    EXPECT_EQ(pipe.TotalPressureLoss_mHd_Fluid, 0.0);
}

TEST(Pipe, CopyKeepsTheTargetsRunTimeAndDrawingFields) {
    TPipe source = defaultPipe();
    source.Fittings.AddFitting(makeFitting(1, 0.4), 2);
    attachPump(source);
    source.Notes = {"a", "b"};
    source.FlowUncompressed_m3s = 0.02;
    source.FlowGuessSet = true;
    source.LabelPositionPercent = 20.0;
    source.LabelX = 11;
    source.LabelY = 12;
    source.FittingsX = 13;
    source.FittingsY = 14;
    source.ComponentLoss_mHd_Fluid = 1.0;
    source.FlowControlLoss_mHd_Fluid = 2.0;
    source.PumpNPSHr_mHd_Fluid = 3.0;
    source.TotalPressureLoss_mHd_Fluid = 4.0;
    source.PumpHead_mHd_Fluid = 5.0;

    TPipe target;
    target.LabelX = 99;
    target.TotalPressureLoss_mHd_Fluid = -1.0;
    target.Copy(source);

    EXPECT_EQ(target.Name, "Default Pipe");
    EXPECT_EQ(target.Fittings.Count(), 1);
    EXPECT_EQ(target.Fittings.GetQuantity(1), 2);
    EXPECT_EQ(target.Pump.PointCount(), 3);
    EXPECT_EQ(target.Notes, source.Notes);
    EXPECT_EQ(target.FlowUncompressed_m3s, 0.02);
    EXPECT_EQ(target.PumpHead_mHd_Fluid, 5.0);
    // kept from the target
    EXPECT_FALSE(target.FlowGuessSet);
    EXPECT_EQ(target.LabelPositionPercent, 50.0);
    EXPECT_EQ(target.LabelX, 99);
    EXPECT_EQ(target.LabelY, 0);
    EXPECT_EQ(target.FittingsX, 0);
    EXPECT_EQ(target.FittingsY, 0);
    EXPECT_EQ(target.ComponentLoss_mHd_Fluid, 0.0);
    EXPECT_EQ(target.FlowControlLoss_mHd_Fluid, 0.0);
    EXPECT_EQ(target.PumpNPSHr_mHd_Fluid, 0.0);
    EXPECT_EQ(target.TotalPressureLoss_mHd_Fluid, -1.0);
}

TEST(PipeCalculation, ZeroDiameterMeansNoFlow) {
    TPipe pipe;
    pipe.Length_m = 10.0;
    pipe.FlowUncompressed_m3s = 0.01;
    pipe.FlowGuessUncompressed_m3s = 0.01;
    pipe.CalcPipeInfo(TFluid());
    EXPECT_EQ(pipe.Velocity_ms, 0.0);
    EXPECT_EQ(pipe.VelocityAtFlowGuess_ms, 0.0);
    EXPECT_EQ(pipe.ReynoldsNumber, 0.0);
    EXPECT_EQ(pipe.FlowType, "None");
    EXPECT_EQ(pipe.PipeFrictionLoss_mHd_Fluid, 0.0);
    EXPECT_EQ(pipe.TotalPressureLoss_mHd_Fluid, 0.0);
}

// D = 0.01 m, L = 10 m, Q = 7.853982e-6 m³/s, water 998 kg/m³ and 1.002 cP:
// V = Q / (pi 0.01² / 4) = 0.1 m/s; Re = 0.1 x 0.01 x 998 / 0.001002 = 996.008;
// f = 64 / Re = 0.0642565; h = f x 10 / 0.01 x 0.1² / 19.62 = 0.0327505 m.
class PipeLaminarTest : public ::testing::TestWithParam<double> {};

TEST_P(PipeLaminarTest, LaminarFlowFollows64OverRe) {
    const double sign = GetParam();
    TPipe pipe;
    pipe.InnerDiameter_m = 0.01;
    pipe.Length_m = 10.0;
    pipe.FlowUncompressed_m3s = sign * 7.853981633974484e-6;
    pipe.FlowGuessUncompressed_m3s = 2.0 * 7.853981633974484e-6;
    pipe.FlowCorrectionFactor = 3.0;
    pipe.CalcPipeInfo(TFluid());
    EXPECT_EQ(pipe.FlowCorrectionFactor, 1.0);
    EXPECT_REL_NEAR(pipe.Velocity_ms, sign * 0.1, 1e-12);
    EXPECT_REL_NEAR(pipe.VelocityAtFlowGuess_ms, 0.2, 1e-12);
    EXPECT_REL_NEAR(pipe.ReynoldsNumber, 996.0079840319361, 1e-12);
    EXPECT_REL_NEAR(pipe.FrictionFactor, 0.0642565130260521, 1e-12);
    EXPECT_EQ(pipe.FlowType, "Laminar");
    EXPECT_REL_NEAR(pipe.PipeFrictionLoss_mHd_Fluid, sign * 0.03275051632316621, 1e-12);
    EXPECT_REL_NEAR(pipe.TotalPressureLoss_mHd_Fluid, sign * 0.03275051632316621, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Directions, PipeLaminarTest, ::testing::Values(1.0, -1.0));

TEST(PipeCalculation, TurbulentFrictionFactorMatchesColebrook) {
    // Re = 1e5 and eps/D = 1e-4: Colebrook-White (Moody chart) gives f = 0.01852.
    // V = 1e5 x 0.001002 / (998 x 0.1) = 1.004008 m/s; h = f x 100 / 0.1 x V² / 19.62 = 0.9516 m.
    TPipe pipe;
    pipe.InnerDiameter_m = 0.1;
    pipe.InnerRoughness_m = 1e-5;
    pipe.Length_m = 100.0;
    pipe.FlowUncompressed_m3s = 0.00788546051827899;
    pipe.CalcPipeInfo(TFluid());
    EXPECT_REL_NEAR(pipe.ReynoldsNumber, 1e5, 1e-9);
    EXPECT_EQ(pipe.FlowType, "Turbulent");
    EXPECT_REL_NEAR(pipe.FrictionFactor, 0.01852, 2e-3);
    EXPECT_REL_NEAR(pipe.PipeFrictionLoss_mHd_Fluid, 0.9516, 2e-3);
}

TEST(PipeCalculation, DivergedFlowIsMarkedTooLarge) {
    TPipe pipe;
    pipe.InnerDiameter_m = 0.1;
    pipe.Length_m = 10.0;
    pipe.FlowUncompressed_m3s = -1e30;  // V = -1.27e32 m/s
    pipe.CalcPipeInfo(TFluid());
    EXPECT_EQ(pipe.FlowType, "Too Large");
    EXPECT_EQ(pipe.ReynoldsNumber, 0.0);
    EXPECT_EQ(pipe.FrictionFactor, 0.0);
    EXPECT_EQ(pipe.PipeFrictionLoss_mHd_Fluid, 1e24);
}

// D = 0.1 m, Q = 0.01 m³/s: V = 0.01 / (pi 0.1² / 4) = 1.2732395 m/s.
class PipeItemLossTest : public ::testing::Test {
protected:
    void SetUp() override {
        pipe.InnerDiameter_m = 0.1;
        pipe.Length_m = 10.0;
        pipe.FlowUncompressed_m3s = 0.01;
        // 3 x 0.43 + 1 x 5.1 = 6.39
        pipe.Fittings.AddFitting(makeFitting(1, 0.43), 3);
        pipe.Fittings.AddFitting(makeFitting(12, 5.1), 1);
        attachFixedLossComponent(pipe, 0.5);
        attachPump(pipe);
        pipe.FlowControlLoss_bar = 7.0;
        pipe.FlowControlLoss_mHd_Fluid = 8.0;
    }

    double velocitySquaredOver2g() const { return 1.2732395447351625 * 1.2732395447351625 / 19.62; }

    TPipe pipe;
};

TEST_F(PipeItemLossTest, EveryItemAddsItsLossAndThePumpItsHead) {
    pipe.CalcPipeInfo(waterOfDensity(1000.0));
    // 6.39 x V² / 2g = 0.527986 m
    EXPECT_REL_NEAR(pipe.FittingsLoss_mHd_Fluid, 6.39 * velocitySquaredOver2g(), 1e-12);
    EXPECT_REL_NEAR(pipe.FittingsLoss_mHd_Fluid, 0.5279856, 1e-6);
    // 0.5 bar x 100000 / (1000 x 9.80665) = 5.0986 m
    EXPECT_REL_NEAR(pipe.ComponentLoss_mHd_Fluid, 5.098581064889641, 1e-12);
    // 48 m.H2O on the curve at 0.01 m³/s; NPSHr 3 m.H2O; water of 1000 kg/m³
    EXPECT_REL_NEAR(pipe.PumpHead_mHd_Fluid, 48.0, 1e-12);
    EXPECT_REL_NEAR(pipe.PumpNPSHr_mHd_Fluid, 3.0, 1e-12);
    EXPECT_REL_NEAR(pipe.TotalPressureLoss_mHd_Fluid,
                    pipe.PipeFrictionLoss_mHd_Fluid + 0.5279856175123655 + 5.098581064889641 - 48.0, 1e-9);
    // the flow control's loss in bar is reset, its head loss is left to the solve driver
    EXPECT_EQ(pipe.FlowControlLoss_bar, 0.0);
    EXPECT_EQ(pipe.FlowControlLoss_mHd_Fluid, 8.0);
}

TEST_F(PipeItemLossTest, PumpHeadIsConvertedToTheFluidsHead) {
    pipe.CalcPipeInfo(waterOfDensity(998.0));
    // 48 m.H2O x 1000 / 998 = 48.0962 m of fluid
    EXPECT_REL_NEAR(pipe.PumpHead_mHd_Fluid, 48.09619238476954, 1e-12);
}

TEST_F(PipeItemLossTest, ReversedFlowGivesNegativeLossesAndTheSameReynoldsNumber) {
    pipe.CalcPipeInfo(waterOfDensity(1000.0));
    const double forwardReynolds = pipe.ReynoldsNumber;
    const double forwardFriction = pipe.PipeFrictionLoss_mHd_Fluid;
    pipe.FlowUncompressed_m3s = -0.01;
    pipe.CalcPipeInfo(waterOfDensity(1000.0));
    EXPECT_REL_NEAR(pipe.Velocity_ms, -1.2732395447351625, 1e-12);
    EXPECT_EQ(pipe.ReynoldsNumber, forwardReynolds);
    EXPECT_GT(forwardFriction, 0.0);
    EXPECT_EQ(pipe.PipeFrictionLoss_mHd_Fluid, -forwardFriction);
    EXPECT_REL_NEAR(pipe.FittingsLoss_mHd_Fluid, -0.5279856175123655, 1e-12);
    EXPECT_REL_NEAR(pipe.PumpHead_mHd_Fluid, -48.0, 1e-12);
}

struct SwitchedOffCase {
    const char* item;
    bool TPipe::*calcFlag;
    double TPipe::*loss;
};

class PipeSwitchedOffItemTest : public PipeItemLossTest, public ::testing::WithParamInterface<SwitchedOffCase> {};

TEST_P(PipeSwitchedOffItemTest, SwitchedOffItemStaysButAddsNothing) {
    pipe.CalcPipeInfo(waterOfDensity(1000.0));
    const double totalWithItem = pipe.TotalPressureLoss_mHd_Fluid;
    const double itemLoss = pipe.*GetParam().loss;
    ASSERT_NE(itemLoss, 0.0);
    pipe.*GetParam().calcFlag = false;
    pipe.CalcPipeInfo(waterOfDensity(1000.0));
    EXPECT_EQ(pipe.*GetParam().loss, 0.0);
    // the pump's head counts negative in the total
    const double sign = std::string(GetParam().item) == "pump" ? -1.0 : 1.0;
    EXPECT_REL_NEAR(pipe.TotalPressureLoss_mHd_Fluid, totalWithItem - sign * itemLoss, 1e-12);
    EXPECT_EQ(pipe.Fittings.Count(), 2);
    EXPECT_TRUE(pipe.HasComponentPressure);
    EXPECT_TRUE(pipe.HasPump);
}

INSTANTIATE_TEST_SUITE_P(
    Items, PipeSwitchedOffItemTest,
    ::testing::Values(SwitchedOffCase{"fittings", &TPipe::CalcFittings, &TPipe::FittingsLoss_mHd_Fluid},
                      SwitchedOffCase{"component", &TPipe::CalcComponentPressure, &TPipe::ComponentLoss_mHd_Fluid},
                      SwitchedOffCase{"pump", &TPipe::CalcPump, &TPipe::PumpHead_mHd_Fluid}));

TEST_F(PipeItemLossTest, RemovedItemsAddNothing) {
    pipe.RemovePump();
    pipe.RemoveComponentPressure();
    pipe.CalcPipeInfo(waterOfDensity(1000.0));
    EXPECT_EQ(pipe.PumpHead_mHd_Fluid, 0.0);
    EXPECT_EQ(pipe.PumpNPSHr_mHd_Fluid, 0.0);
    EXPECT_EQ(pipe.ComponentLoss_mHd_Fluid, 0.0);
    EXPECT_REL_NEAR(pipe.TotalPressureLoss_mHd_Fluid, pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid,
                    1e-12);
}

TEST(Pipe, RemovePumpWithoutAPumpRaisesAndChangesNothing) {
    TPipe pipe;
    pipe.Pump.SetName("Spare");
    try {
        pipe.RemovePump();
        FAIL() << "removing a missing pump must raise";
    } catch (const EPipeClass& error) {
        EXPECT_STREQ(error.what(), "TPipe.RemovePump Failed: Pipe May not have contained a pump");
    }
    EXPECT_EQ(pipe.Pump.Name(), "Spare");
}

TEST(Pipe, RemovePumpClearsThePump) {
    TPipe pipe;
    attachPump(pipe);
    pipe.RemovePump();
    EXPECT_FALSE(pipe.HasPump);
    EXPECT_EQ(pipe.Pump.PointCount(), 0);
}

TEST(Pipe, RemoveComponentPressureOnlyActsOnAnAttachedComponent) {
    TPipe pipe;
    pipe.ComponentPressure.FixedLoss_bar = 0.3;
    pipe.RemoveComponentPressure();
    EXPECT_EQ(pipe.ComponentPressure.FixedLoss_bar, 0.3);
    attachFixedLossComponent(pipe, 0.5);
    pipe.RemoveComponentPressure();
    EXPECT_FALSE(pipe.HasComponentPressure);
    EXPECT_EQ(pipe.ComponentPressure.FixedLoss_bar, 0.0);
    EXPECT_EQ(pipe.ComponentPressure.Name(), "");
}

TEST(Pipe, RemoveFlowControlEmptiesItsData) {
    TPipe pipe;
    pipe.HasFlowControl = true;
    pipe.FlowControlName = "Flow Control";
    pipe.FlowControlSetFlow_m3s = 0.02;
    pipe.FlowControlPositionPercent = 70.0;
    pipe.RemoveFlowControl();
    EXPECT_FALSE(pipe.HasFlowControl);
    EXPECT_EQ(pipe.FlowControlName, "");
    EXPECT_EQ(pipe.FlowControlSetFlow_m3s, 0.0);
    EXPECT_EQ(pipe.FlowControlPositionPercent, 0.0);
}

TEST(Pipe, VolumeAndSurfacePerMetre) {
    const TPipe pipe = defaultPipe();
    // pi x 0.10226² / 4 = 0.0082130 m³/m; pi x 0.1143 = 0.35908 m²/m
    EXPECT_REL_NEAR(pipe.InternalVolume_m3_m(), std::numbers::pi * 0.10226 * 0.10226 / 4.0, 1e-15);
    EXPECT_REL_NEAR(pipe.InternalVolume_m3_m(), 0.0082130, 1e-4);
    EXPECT_REL_NEAR(pipe.SurfaceArea_m2_m(), 0.35908, 1e-4);
}

TEST(Pipe, FittingTotalsComeFromTheFittingSet) {
    TPipe pipe;
    pipe.Fittings.AddFitting(makeFitting(1, 0.43), 3);
    pipe.Fittings.AddFitting(makeFitting(12, 5.1), 1);
    EXPECT_REL_NEAR(pipe.CalcTotalKFittings(), 6.39, 1e-12);
    EXPECT_EQ(pipe.GetFittingCountIncludingQuantities(), 4);
}

TEST(Pipe, NameSizeStringOfTheDefaultPipe) {
    EXPECT_EQ(defaultPipe().GetPipeNameSizeString(), "Default Pipe, Steel, 4\" ");
}

// ---- Pipe diameter table lines

TEST(PipeDiameterText, DefaultPipeLineIsInInchesWithPoint) {
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark scoped(mark);
        std::ostringstream out;
        defaultPipe().SaveDiameterDataToText(out);
        // 0.000046 m = 0.0018110 in; 0.00602 m = 0.2370 in; 0.1143 m = 4.5 in;
        // 16.0751 kg/m x 0.3048 / 0.45359237 = 10.80197 lbs/ft
        EXPECT_EQ(out.str(), "Steel~|~Sch. 40~|~0.001811~|~100~|~4\"~|~0.237~|~4.500~|~10.802\r\n")
            << "decimal mark " << mark;
    }
}

TEST(PipeDiameterText, LineReadsBackWithinThePrintedPrecision) {
    std::ostringstream out;
    defaultPipe().SaveDiameterDataToText(out);
    std::istringstream in(out.str());
    TPipe pipe;
    pipe.Name = "Kept";
    pipe.LoadDiameterDataFromText(in, "Steel_ANSI_Sch40.vmpi");
    EXPECT_EQ(pipe.Name, "Kept");
    EXPECT_EQ(pipe.Material, "Steel");
    EXPECT_EQ(pipe.Schedule, "Sch. 40");
    EXPECT_EQ(pipe.SizeClass, 100);
    EXPECT_EQ(pipe.NominalSize, "4\"");
    EXPECT_REL_NEAR(pipe.InnerRoughness_m, 0.000046, 1e-4);
    EXPECT_REL_NEAR(pipe.WallThickness_m, 0.00602, 1e-3);
    EXPECT_REL_NEAR(pipe.OuterDiameter_m, 0.1143, 1e-12);
    EXPECT_REL_NEAR(pipe.WeightPerLength_kg_m, 16.0751, 1e-4);
    // bore = 4.5 in - 2 x 0.237 in = 4.026 in = 0.1022604 m
    EXPECT_REL_NEAR(pipe.InnerDiameter_m, 0.1022604, 1e-12);
    EXPECT_EQ(pipe.DiameterDataFileName, "Steel_ANSI_Sch40.vmpi");
}

TEST(PipeDiameterText, CommaDecimalsReadOnEitherSystemMark) {
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark scoped(mark);
        TPipe pipe;
        pipe.LoadDiameterDataFromTextLine("PVC~|~Sch. 80~|~0,000060~|~50~|~2\"~|~0,218~|~2,375~|~2,000", "PVC.vmpiu");
        EXPECT_REL_NEAR(pipe.WallThickness_m, 0.218 * 0.0254, 1e-12) << "decimal mark " << mark;
        EXPECT_REL_NEAR(pipe.OuterDiameter_m, 2.375 * 0.0254, 1e-12);
        // 2 lbs/ft x 0.45359237 / 0.3048 = 2.97633 kg/m
        EXPECT_REL_NEAR(pipe.WeightPerLength_kg_m, 2.976327887139108, 1e-12);
        EXPECT_REL_NEAR(pipe.InnerRoughness_m, 0.00006 * 0.0254, 1e-12);
    }
}

TEST(PipeDiameterText, LongTextsAreCut) {
    TPipe pipe;
    pipe.LoadDiameterDataFromTextLine(std::string(50, 'm') + "~|~" + std::string(30, 's') + "~|~0~|~1~|~" +
                                          std::string(25, 'n') + "~|~0~|~1~|~0",
                                      "x");
    EXPECT_EQ(pipe.Material, std::string(40, 'm'));
    EXPECT_EQ(pipe.Schedule, std::string(20, 's'));
    EXPECT_EQ(pipe.NominalSize, std::string(20, 'n'));
}

class PipeBadDiameterLineTest : public ::testing::TestWithParam<const char*> {};

TEST_P(PipeBadDiameterLineTest, RaisesAndChangesNothing) {
    TPipe pipe = defaultPipe();
    try {
        pipe.LoadDiameterDataFromTextLine(GetParam(), "bad.vmpi");
        FAIL() << "line must be refused";
    } catch (const EPipeClass& error) {
        EXPECT_STREQ(error.what(), "TPipeClass.DiameterDataLoadFromText Failed: String format may not be correct");
    }
    EXPECT_EQ(pipe.Material, "Steel");
    EXPECT_EQ(pipe.InnerDiameter_m, 0.10226);
    EXPECT_EQ(pipe.DiameterDataFileName, "");
}

INSTANTIATE_TEST_SUITE_P(Lines, PipeBadDiameterLineTest,
                         ::testing::Values("Steel~|~Sch. 40~|~0.001811~|~100~|~4\"~|~0.237~|~4.500",
                                           "Steel~|~Sch. 40~|~0.001811~|~100~|~4\"~|~0.237~|~4.500~|~10.8~|~1",
                                           "Steel~|~Sch. 40~|~rough~|~100~|~4\"~|~0.237~|~4.500~|~10.802",
                                           "Steel~|~Sch. 40~|~0.001811~|~10.5~|~4\"~|~0.237~|~4.500~|~10.802",
                                           "Steel~|~Sch. 40~|~0.001811~|~100~|~4\"~|~~|~4.500~|~10.802", ""));

TEST(PipeDiameterText, MissingLineRaises) {
    std::istringstream in("");
    TPipe pipe;
    EXPECT_THROW(pipe.LoadDiameterDataFromText(in, "x"), EPipeClass);
}

// ---- Pipe record

TEST(PipeRecord, SizeIs1727PlusOneHundredSeventySixPerFitting) {
    TPipe pipe = defaultPipe();
    TByteWriter empty;
    pipe.WriteRecord(empty);
    EXPECT_EQ(empty.Size(), 1727u);
    EXPECT_EQ(pipe.RecordSize(), 1727u);
    pipe.Fittings.AddFitting(makeFitting(1, 0.43), 3);
    pipe.Fittings.AddFitting(makeFitting(12, 5.1), 1);
    TByteWriter twoFittings;
    pipe.WriteRecord(twoFittings);
    EXPECT_EQ(twoFittings.Size(), 1727u + 352u);
    EXPECT_EQ(pipe.RecordSize(), twoFittings.Size());
}

TEST(PipeRecord, ComponentNameIsStoredTwice) {
    TPipe pipe;
    attachFixedLossComponent(pipe, 0.5);
    TByteWriter writer;
    pipe.WriteRecord(writer);
    const std::string name("\x06" "Filter", 7);
    EXPECT_EQ(writer.Bytes().substr(kComponentNameCopyOffset, 7), name);
    EXPECT_EQ(writer.Bytes().substr(kComponentRecordOffset, 7), name);
}

TEST(PipeRecord, RoundTripKeepsEverySavedField) {
    TPipe pipe = defaultPipe();
    pipe.SpareText = "spare";
    pipe.DiameterDataFileName = "Steel_ANSI_Sch40.vmpi";
    pipe.Notes = {"first", "second"};
    pipe.Fittings.AddFitting(makeFitting(1, 0.43), 3);
    pipe.Fittings.AddFitting(makeFitting(12, 5.1), 1);
    pipe.CalcFittings = false;
    pipe.FittingsPositionPercent = 30.0;
    pipe.FittingsX = 101;
    pipe.FittingsY = -102;
    attachFixedLossComponent(pipe, 0.5);
    pipe.CalcComponentPressure = false;
    pipe.ComponentPositionPercent = 40.0;
    pipe.ComponentX = 103;
    pipe.ComponentY = 104;
    pipe.HasFlowControl = true;
    pipe.CalcFlowControl = false;
    pipe.FlowControlName = "Flow Control";
    pipe.FlowControlSetFlow_m3s = 0.015;
    pipe.FlowControlPositionPercent = 70.0;
    pipe.FlowControlX = 105;
    pipe.FlowControlY = 106;
    attachPump(pipe);
    pipe.CalcPump = false;
    pipe.PumpDistanceFromStart_m = 1.5;
    pipe.PumpPositionPercent = 49.0;
    pipe.PumpElevation_m = -2.0;
    pipe.LabelPositionPercent = 60.0;
    pipe.LabelX = 107;
    pipe.LabelY = 108;
    pipe.FlowUncompressed_m3s = -0.0123;
    pipe.CalcPipeInfo(TFluid());

    TByteWriter writer;
    pipe.WriteRecord(writer);
    TPipe loaded;
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());

    TByteWriter rewritten;
    loaded.WriteRecord(rewritten);
    EXPECT_EQ(rewritten.Bytes(), writer.Bytes());
    EXPECT_EQ(loaded.Name, "Default Pipe");
    EXPECT_EQ(loaded.SpareText, "spare");
    EXPECT_EQ(loaded.Notes, pipe.Notes);
    EXPECT_EQ(loaded.Fittings.Count(), 2);
    EXPECT_EQ(loaded.Fittings.GetQuantity(1), 3);
    EXPECT_FALSE(loaded.CalcFittings);
    EXPECT_TRUE(loaded.HasComponentPressure);
    EXPECT_FALSE(loaded.CalcComponentPressure);
    EXPECT_EQ(loaded.ComponentPressure.Name(), "Filter");
    EXPECT_EQ(loaded.ComponentPressure.FixedLoss_bar, 0.5);
    EXPECT_TRUE(loaded.HasFlowControl);
    EXPECT_FALSE(loaded.CalcFlowControl);
    EXPECT_EQ(loaded.FlowControlName, "Flow Control");
    EXPECT_EQ(loaded.FlowControlSetFlow_m3s, 0.015);
    EXPECT_TRUE(loaded.HasPump);
    EXPECT_FALSE(loaded.CalcPump);
    EXPECT_EQ(loaded.Pump.PointCount(), 3);
    EXPECT_EQ(loaded.PumpElevation_m, -2.0);
    EXPECT_EQ(loaded.LabelY, 108);
    EXPECT_EQ(loaded.FlowUncompressed_m3s, -0.0123);
    EXPECT_EQ(loaded.Velocity_ms, pipe.Velocity_ms);
    EXPECT_EQ(loaded.ReynoldsNumber, pipe.ReynoldsNumber);
    EXPECT_EQ(loaded.FlowType, pipe.FlowType);
    EXPECT_EQ(loaded.PipeFrictionLoss_mHd_Fluid, pipe.PipeFrictionLoss_mHd_Fluid);
    EXPECT_EQ(loaded.FittingsLoss_mHd_Fluid, pipe.FittingsLoss_mHd_Fluid);
}

TEST(PipeRecord, FieldsOutsideTheRecordKeepTheirValues) {
    TByteWriter writer;
    defaultPipe().WriteRecord(writer);
    TPipe loaded;
    loaded.FlowGuessSet = true;
    loaded.FlowGuessUncompressed_m3s = 0.3;
    loaded.TotalPressureLoss_mHd_Fluid = 9.0;
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    EXPECT_TRUE(loaded.FlowGuessSet);
    EXPECT_EQ(loaded.FlowGuessUncompressed_m3s, 0.3);
    EXPECT_EQ(loaded.TotalPressureLoss_mHd_Fluid, 9.0);
}

TEST(PipeRecord, PresenceFlagsAreInt32) {
    TPipe pipe;
    attachPump(pipe);
    TByteWriter writer;
    pipe.WriteRecord(writer);
    // HasPump stands after the flow control data: offset 591
    EXPECT_EQ(writer.Bytes().substr(591, 4), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(writer.Bytes()[595], '\x01');  // CalcPump
}

struct BadFittingCountCase {
    std::int32_t count;
    const char* message;
};

class PipeBadFittingCountTest : public ::testing::TestWithParam<BadFittingCountCase> {};

TEST_P(PipeBadFittingCountTest, ReaderRejectsTheCountAtItsOffsetAndKeepsThePipe) {
    TPipe pipe = defaultPipe();
    TByteWriter writer;
    pipe.WriteRecord(writer);
    std::string bytes = writer.Bytes();
    const std::int32_t count = GetParam().count;
    std::memcpy(bytes.data() + kFittingCountOffset, &count, sizeof count);
    bytes.append(6 * 176, '\0');
    TPipe loaded;
    loaded.Name = "Kept";
    TByteReader reader(bytes);
    try {
        loaded.ReadRecord(reader);
        FAIL() << "fitting count " << count << " must be rejected";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
    EXPECT_EQ(loaded.Name, "Kept");
}

INSTANTIATE_TEST_SUITE_P(Counts, PipeBadFittingCountTest,
                         ::testing::Values(BadFittingCountCase{6, "fitting count 6 outside 0..5 at byte 311"},
                                           BadFittingCountCase{-1, "fitting count -1 outside 0..5 at byte 311"}));

TEST(PipeRecord, TruncatedRecordRaisesAndKeepsThePipe) {
    TByteWriter writer;
    defaultPipe().WriteRecord(writer);
    TPipe loaded;
    TByteReader reader(writer.Bytes().data(), 1726);
    EXPECT_THROW(loaded.ReadRecord(reader), EStreamFormatError);
    EXPECT_EQ(loaded.Name, "");
    EXPECT_EQ(loaded.Length_m, 0.0);
}

}  // namespace
