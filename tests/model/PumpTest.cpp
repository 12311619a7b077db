#include "model/VM4_Pump_Class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/FuzzyCompare.h"
#include "common/ScratchDirectory.h"
#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_Calculations.h"

namespace {

constexpr double kDensity_kgm3 = 998.0;
// m.H2O to m.hd Fluid: h × (9.80665 × 1000 / 1e5) / (9.80665 × 998 / 1e5) = h × 1000 / 998.
constexpr double kWaterToFluid = 1000.0 / 998.0;
constexpr double kTolerance = 1e-9;

// Byte offsets of the pump record: 21 name, 1, 8, 1, 6 × 4, 3 × 1, then the tables.
constexpr std::size_t kNameAt = 0;
constexpr std::size_t kRunsAtSetFlowRateAt = 21;
constexpr std::size_t kSetFlowRateAt = 22;
constexpr std::size_t kSetFlowUnitsAt = 30;
constexpr std::size_t kPumpSpeedAt = 31;
constexpr std::size_t kRegionFromAt = 35;
constexpr std::size_t kRegionToAt = 39;
constexpr std::size_t kXAt = 43;
constexpr std::size_t kYAt = 47;
constexpr std::size_t kSymbolAt = 51;
constexpr std::size_t kFlowUnitsAt = 55;
constexpr std::size_t kHeadUnitsAt = 56;
constexpr std::size_t kNPSHrUnitsAt = 57;
constexpr std::size_t kPointCountAt = 58;
constexpr std::size_t kPointsAt = 62;        // 10 × 32
constexpr std::size_t kCurveCountAt = 382;   // 62 + 320
constexpr std::size_t kCurvesAt = 386;       // 8 × 32
constexpr std::size_t kNotesAt = 642;        // 386 + 256, then 201 bytes

std::size_t PointAt(int pointNo) { return kPointsAt + 32 * static_cast<std::size_t>(pointNo - 1); }
std::size_t CurveAt(int curveNo) { return kCurvesAt + 32 * static_cast<std::size_t>(curveNo - 1); }

TPump PumpWithPoints(std::initializer_list<TPumpCurvePoint> points) {
    TPump pump;
    for (const TPumpCurvePoint& point : points) {
        pump.AddPumpCurvePoint(point.Flow_m3s, point.Head_mH2O, point.Efficiency, point.NPSHr_mH2O);
    }
    return pump;
}

// One piece through (0, 50), (0.01, 48), (0.02, 40):
//   C = 50; 1e-4 A + 0.01 B = -2 and 4e-4 A + 0.02 B = -10 give A = -30000, B = 100.
// It rises above the shut-off head up to q = 1/300 (vertex at q = 100/60000).
TPump ThreePointPump() {
    return PumpWithPoints({{0.0, 50.0, 0.0, 1.0}, {0.01, 48.0, 60.0, 1.5}, {0.02, 40.0, 75.0, 3.0}});
}

// Adds (0.03, 30): piece 2 through (0.01, 48), (0.02, 40), (0.03, 30) has
//   2 A h² = 30 - 2 × 40 + 48 = -2 with h = 0.01, so A = -10000;
//   slope at 0.02 = (30 - 48) / 0.02 = -900 = 2 A 0.02 + B, so B = -500;
//   48 = -1 - 5 + C, so C = 54.
TPump FourPointPump() {
    return PumpWithPoints(
        {{0.0, 50.0, 0.0, 1.0}, {0.01, 48.0, 60.0, 1.5}, {0.02, 40.0, 75.0, 3.0}, {0.03, 30.0, 70.0, 5.0}});
}

// Three points on a straight line: the fitted piece has A = 0, h = 50 - 500 q.
TPump StraightLinePump() { return PumpWithPoints({{0.0, 50.0, 0.0, 1.0}, {0.01, 45.0, 50.0, 1.0}, {0.02, 40.0, 60.0, 1.0}}); }

std::string RecordOf(const TPump& pump) {
    TByteWriter writer;
    pump.WriteRecord(writer);
    return writer.Bytes();
}

TPump PumpFromRecord(const std::string& bytes) {
    TByteReader reader(bytes);
    TPump pump;
    pump.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    return pump;
}

std::int32_t Int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

double DoubleAt(const std::string& bytes, std::size_t offset) {
    double value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

void PutInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

void PutDouble(std::string& bytes, std::size_t offset, double value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

std::uint8_t ByteAt(const std::string& bytes, std::size_t offset) { return static_cast<std::uint8_t>(bytes[offset]); }

// A pump with every field away from its default.
TPump DutyPump() {
    TPump pump = FourPointPump();
    pump.SetName("P-101");
    pump.RunsAtSetFlowRate = 1;
    pump.SetFlowRate_m3s = 0.05;
    pump.SetFlowUnits = 27;
    pump.PumpSpeed = 1450;
    pump.PreferredOpRegionFromPercent = 70;
    pump.PreferredOpRegionToPercent = 120;
    pump.X = 300;
    pump.Y = -40;
    pump.Symbol = 2;
    pump.PumpFlowUnits = 28;
    pump.PumpHeadUnits = 49;
    pump.PumpNPSHrUnits = 51;
    pump.Notes = {"Duty pump", "Spare on shelf"};
    return pump;
}

// ---- Curve fitting and head ------------------------------------------------------------

TEST(PumpCurve, EachPieceIsTheQuadraticThroughThreeConsecutivePoints) {
    const TPump pump = FourPointPump();
    ASSERT_EQ(pump.CurveCount(), 2);
    struct Expected {
        int firstPoint, lastPoint;
        double a, b, c;
    };
    const Expected pieces[] = {{1, 3, -30000.0, 100.0, 50.0}, {2, 4, -10000.0, -500.0, 54.0}};
    for (int i = 1; i <= 2; ++i) {
        SCOPED_TRACE("piece " + std::to_string(i));
        const Expected& expected = pieces[i - 1];
        EXPECT_EQ(pump.Curve(i).FirstPoint, expected.firstPoint);
        EXPECT_EQ(pump.Curve(i).LastPoint, expected.lastPoint);
        EXPECT_REL_NEAR(pump.Curve(i).A, expected.a, kTolerance);
        EXPECT_REL_NEAR(pump.Curve(i).B, expected.b, kTolerance);
        EXPECT_REL_NEAR(pump.Curve(i).C, expected.c, kTolerance);
    }
}

TEST(PumpCurve, WorkedExampleHeadIsConvertedToFluidHeadAndSignedLikeTheFlow) {
    const TPump pump = ThreePointPump();
    // 48 m.H2O × 1000 / 998 = 48.0961923847695... m of the fluid.
    EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid(0.01, kDensity_kgm3), 48.0961923847695, 1e-12);
    EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid(-0.01, kDensity_kgm3), -48.0961923847695, 1e-12);
}

struct THeadCase {
    const char* what;
    double flow_m3s;
    double expectedHead_mH2O;
};

TEST(PumpCurve, HeadAlongTheCurveItsExtensionAndItsLimits) {
    const TPump pump = ThreePointPump();
    // h = -30000 q² + 100 q + 50 up to 0.02; beyond, 40 - 800 (q - 0.02).
    const THeadCase cases[] = {
        {"shut-off", 0.0, 50.0},
        {"piece above the shut-off head is held there: 50.07 raw", 0.001, 50.0},
        {"on the piece: -6.75 + 1.5 + 50", 0.015, 44.75},
        {"last point", 0.02, 40.0},
        {"extension: 40 - 800 × 0.01", 0.03, 32.0},
        {"extension reaches 0", 0.07, 0.0},
        {"extension below 0 is held at 0: -8 raw", 0.08, 0.0},
        {"reversed flow on the piece", -0.015, -44.75},
        {"reversed flow on the extension", -0.03, -32.0},
    };
    for (const THeadCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid(c.flow_m3s, kDensity_kgm3), c.expectedHead_mH2O * kWaterToFluid,
                        kTolerance);
    }
}

TEST(PumpCurve, FlowOnAPointSharedByTwoPiecesIsTakenFromTheLaterPiece) {
    const TPump pump = FourPointPump();
    // 0.015 lies in both pieces: piece 2 gives -2.25 - 7.5 + 54 = 44.25, piece 1 would give 44.75.
    EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid(0.015, kDensity_kgm3), 44.25 * kWaterToFluid, kTolerance);
    // On the shared points the heads agree, but the slopes tell the pieces apart:
    // piece 2 at 0.01: 2 (-10000) 0.01 - 500 = -700 (piece 1: -500);
    // piece 2 at 0.02: -400 - 500 = -900 (piece 1: -1100).
    EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid_Differential(0.01, kDensity_kgm3), -700.0 * kWaterToFluid, kTolerance);
    EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid_Differential(0.02, kDensity_kgm3), -900.0 * kWaterToFluid, kTolerance);
    // Beyond point 4 the line through points 3 and 4: 30 - 1000 × 0.01 = 20.
    EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid(0.04, kDensity_kgm3), 20.0 * kWaterToFluid, kTolerance);
}

TEST(PumpCurve, CurveStartingAboveZeroFlowExtendsItsFirstPieceUnderTheShutOffHead) {
    // Through (0.01, 48), (0.02, 40), (0.03, 30): h = -10000 q² - 500 q + 54.
    const TPump pump = PumpWithPoints({{0.01, 48.0, 0.0, 1.0}, {0.02, 40.0, 0.0, 1.0}, {0.03, 30.0, 0.0, 1.0}});
    // At 0.005: -0.25 - 2.5 + 54 = 51.25, held at point 1's head 48.
    EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid(0.005, kDensity_kgm3), 48.0 * kWaterToFluid, kTolerance);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid_Differential(0.005, kDensity_kgm3), 0.0);
}

TEST(PumpCurve, SlopeIsTheDerivativeOfTheHeadForEitherFlowDirection) {
    const TPump pump = ThreePointPump();
    // dh/dq = 2 (-30000) q + 100 on the piece, -800 on the extension; the head is odd
    // in the flow, so the slope is the same for q and -q.
    const THeadCase cases[] = {
        {"shut-off: B", 0.0, 100.0},
        {"head held at the shut-off head", 0.001, 0.0},
        {"on the piece", 0.01, -500.0},
        {"reversed on the piece", -0.01, -500.0},
        {"on the piece: -1050 + 100", 0.0175, -950.0},
        {"reversed: -1050 + 100", -0.0175, -950.0},
        {"extension", 0.03, -800.0},
        {"reversed extension", -0.03, -800.0},
        {"extension held at 0", 0.08, 0.0},
    };
    for (const THeadCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid_Differential(c.flow_m3s, kDensity_kgm3),
                        c.expectedHead_mH2O * kWaterToFluid, kTolerance);
    }
}

TEST(PumpCurve, SlopeAgreesWithAFiniteDifferenceOfTheHead) {
    const TPump pump = FourPointPump();
    const double step_m3s = 1e-7;
    for (const double flow_m3s : {0.004, 0.012, 0.018, 0.025, 0.035, -0.012, -0.025, -0.035}) {
        SCOPED_TRACE(flow_m3s);
        const double difference = (pump.calcPumpHead_mHd_Fluid(flow_m3s + step_m3s, kDensity_kgm3) -
                                   pump.calcPumpHead_mHd_Fluid(flow_m3s - step_m3s, kDensity_kgm3)) /
                                  (2.0 * step_m3s);
        EXPECT_REL_NEAR(pump.calcPumpHead_mHd_Fluid_Differential(flow_m3s, kDensity_kgm3), difference, 1e-5);
    }
}

TEST(PumpCurve, PieceCoefficientsInFluidHead) {
    const TPump pump = FourPointPump();
    const TPumpCurveCoefficients piece2 = pump.calcPumpCurvesCoeff_mHd_Fluid(2, kDensity_kgm3);
    EXPECT_REL_NEAR(piece2.A, -10000.0 * kWaterToFluid, kTolerance);
    EXPECT_REL_NEAR(piece2.B, -500.0 * kWaterToFluid, kTolerance);
    EXPECT_REL_NEAR(piece2.C, 54.0 * kWaterToFluid, kTolerance);
}

TEST(PumpCurve, CoefficientsOfAPieceThatDoesNotExistAreRefused) {
    const TPump pump = ThreePointPump();
    for (const int curveId : {2, 0, -1}) {
        SCOPED_TRACE(curveId);
        try {
            pump.calcPumpCurvesCoeff_mHd_Fluid(curveId, kDensity_kgm3);
            FAIL() << "an invalid curve id must raise";
        } catch (const EPumpClass& error) {
            EXPECT_STREQ(error.what(), "TPump.calcPumpCurvesCoeff_mHd_Fluid Failed: Invalid CurveId.");
        }
    }
}

TEST(PumpCurve, PumpWithTwoPointsHasNoPiecesAndGivesNoHead) {
    const TPump pump = PumpWithPoints({{0.0, 50.0, 0.0, 1.0}, {0.01, 48.0, 60.0, 1.5}});
    EXPECT_EQ(pump.CurveCount(), 0);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid(0.005, kDensity_kgm3), 0.0);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid_Differential(0.005, kDensity_kgm3), 0.0);
    EXPECT_EQ(pump.calcPumpFlow_m3s(49.0), 0.0);
    const TPumpCurveCoefficients none = pump.calcPumpCurvesCoeff_mHd_Fluid(0, kDensity_kgm3);
    EXPECT_EQ(none.A, 0.0);
    EXPECT_EQ(none.B, 0.0);
    EXPECT_EQ(none.C, 0.0);
    EXPECT_THROW(pump.calcPumpCurvesCoeff_mHd_Fluid(1, kDensity_kgm3), EPumpClass);
}

// ---- Inverse of the curve -------------------------------------------------------------

struct TFlowCase {
    const char* what;
    TPump (*pump)();
    double head_mH2O;
    double expectedFlow_m3s;
};

TEST(PumpCurve, FlowAtAHeadIsTheRootOnTheFallingSideOfThePiece) {
    const TFlowCase cases[] = {
        {"point 2", ThreePointPump, 48.0, 0.01},
        {"between points", ThreePointPump, 44.75, 0.015},
        {"last point", ThreePointPump, 40.0, 0.02},
        // -30000 q² + 100 q = 0: the falling root is 100 / 30000.
        {"shut-off head", ThreePointPump, 50.0, 1.0 / 300.0},
        {"later piece: -10000 q² - 500 q + 54 = 44.25", FourPointPump, 44.25, 0.015},
        // 10000 q² + 500 q - 19 = 0: q = (-500 + √1010000) / 20000.
        {"later piece, B < 0", FourPointPump, 35.0, 0.0252493781056044},
        // A = 0: 50 - 500 q = 47.5.
        {"straight piece", StraightLinePump, 47.5, 0.005},
        {"straight piece, 50 - 500 q = 42.5", StraightLinePump, 42.5, 0.015},
        {"above the shut-off head", ThreePointPump, 60.0, 0.0},
        {"below the last point", ThreePointPump, 20.0, 0.0},
    };
    for (const TFlowCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_REL_NEAR(c.pump().calcPumpFlow_m3s(c.head_mH2O), c.expectedFlow_m3s, kTolerance);
    }
}

// ---- NPSHr, efficiency, best efficiency point --------------------------------------------

TEST(PumpCurve, NPSHrAndEfficiencyAreInterpolatedBetweenPoints) {
    const TPump pump = ThreePointPump();
    struct Case {
        double flow_m3s, efficiency, npshr_mH2O;
    };
    // Points (0, eff 0, NPSHr 1), (0.01, 60, 1.5), (0.02, 75, 3).
    const Case cases[] = {
        {0.0, 0.0, 1.0},     {0.005, 30.0, 1.25}, {0.01, 60.0, 1.5}, {0.015, 67.5, 2.25},
        {0.02, 75.0, 3.0},   {-0.005, 0.0, 0.0},  {0.025, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flow_m3s);
        EXPECT_REL_NEAR(pump.calcPumpEfficiency(c.flow_m3s), c.efficiency, kTolerance);
        EXPECT_REL_NEAR(pump.calcPumpNPSHr_mHd_Fluid(c.flow_m3s, kDensity_kgm3), c.npshr_mH2O * kWaterToFluid,
                        kTolerance);
    }
}

TEST(PumpCurve, SegmentOfTwoEqualFlowsGivesItsFirstPointsValue) {
    const TPump pump = PumpWithPoints({{0.0, 50.0, 0.0, 1.0}, {0.01, 48.0, 60.0, 2.0}, {0.01, 47.0, 70.0, 3.0}});
    EXPECT_EQ(pump.calcPumpEfficiency(0.01), 60.0);
    EXPECT_REL_NEAR(pump.calcPumpNPSHr_mHd_Fluid(0.01, kDensity_kgm3), 2.0 * kWaterToFluid, kTolerance);
}

TEST(PumpCurve, BestEfficiencyFlowIsTheFirstPointWithTheHighestEfficiency) {
    struct Case {
        const char* what;
        std::vector<double> efficiencies;
        double expectedFlow_m3s;
    };
    const Case cases[] = {
        {"peak at point 3", {0.0, 60.0, 75.0, 70.0}, 0.02},
        {"tie keeps the first", {0.0, 75.0, 75.0, 70.0}, 0.01},
        {"no efficiency above 0", {0.0, 0.0, 0.0}, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPump pump;
        for (std::size_t i = 0; i < c.efficiencies.size(); ++i) {
            pump.AddPumpCurvePoint(0.01 * static_cast<double>(i), 50.0 - static_cast<double>(i), c.efficiencies[i], 1.0);
        }
        EXPECT_EQ(pump.GetFlowAtBEP_m3s(), c.expectedFlow_m3s);
    }
}

// ---- Adding points ------------------------------------------------------------------------

TEST(PumpPoints, EleventhPointIsRefusedAndTheCurveKept) {
    TPump pump;
    for (int i = 0; i < TPump::MaxPoints; ++i) {
        pump.AddPumpCurvePoint(0.01 * i, 50.0 - i * i, 5.0 * i, 1.0 + 0.1 * i);
    }
    EXPECT_EQ(pump.CurveCount(), 8);
    const std::string before = RecordOf(pump);
    try {
        pump.AddPumpCurvePoint(0.2, 1.0, 1.0, 1.0);
        FAIL() << "an eleventh point must raise";
    } catch (const EPumpClass& error) {
        EXPECT_STREQ(error.what(), "TPump.AddPumpCurvePoint Failed: Max number of Pump points reached.");
    }
    EXPECT_EQ(RecordOf(pump), before);
}

TEST(PumpPoints, PointThatCannotBeFittedLeavesThePumpUnchanged) {
    TPump pump = PumpWithPoints({{0.0, 1e300, 0.0, 1.0}, {1e-200, 0.0, 0.0, 1.0}});
    const std::string before = RecordOf(pump);
    // A ≈ 1e300 / (1e-200)² = 1e700 has no double: the fit fails.
    EXPECT_THROW(pump.AddPumpCurvePoint(2e-200, 1e300, 0.0, 1.0), ECalculations);
    EXPECT_EQ(pump.PointCount(), 2);
    EXPECT_EQ(RecordOf(pump), before);
}

TEST(PumpPoints, ClearPumpCurvesEmptiesBothTables) {
    TPump pump = FourPointPump();
    pump.ClearPumpCurves();
    EXPECT_EQ(pump.PointCount(), 0);
    EXPECT_EQ(pump.CurveCount(), 0);
    EXPECT_EQ(pump.Point(3).Head_mH2O, 0.0);
    EXPECT_EQ(pump.Curve(2).C, 0.0);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid(0.01, kDensity_kgm3), 0.0);
}

TEST(PumpPoints, TableSlotsOutsideTheirRangeAreRefused) {
    const TPump pump;
    EXPECT_THROW(pump.Point(0), EPumpClass);
    EXPECT_THROW(pump.Point(TPump::MaxPoints + 1), EPumpClass);
    EXPECT_THROW(pump.Curve(0), EPumpClass);
    EXPECT_THROW(pump.Curve(TPump::MaxCurves + 1), EPumpClass);
}

// ---- Defaults, names, copies ----------------------------------------------------------------

TEST(PumpFields, NewPumpHasTheDocumentedDefaults) {
    const TPump pump;
    EXPECT_EQ(pump.Name(), "Pump");
    EXPECT_EQ(pump.RunsAtSetFlowRate, 0);
    EXPECT_EQ(pump.SetFlowUnits, 25);    // m³/sec
    EXPECT_EQ(pump.PumpFlowUnits, 31);   // ft³/sec
    EXPECT_EQ(pump.PumpHeadUnits, 57);   // ft.hd Fluid
    EXPECT_EQ(pump.PumpNPSHrUnits, 57);
    EXPECT_EQ(pump.PointCount(), 0);
    EXPECT_EQ(pump.Notes, std::vector<std::string>{" "});
}

TEST(PumpFields, ClearRestoresEveryDefault) {
    TPump pump = DutyPump();
    pump.Clear();
    EXPECT_EQ(RecordOf(pump), RecordOf(TPump()));
}

TEST(PumpFields, NameIsCutToTwentyCharacters) {
    TPump pump;
    pump.SetName("Kreiselpumpe für Kühlwasser");
    EXPECT_EQ(pump.Name(), "Kreiselpumpe für Küh");
}

TEST(PumpFields, CopyTakesEveryFieldAndTheWholeNotes) {
    TPump source = DutyPump();
    source.Notes = {"first", std::string(300, 'n'), "third"};
    TPump target = ThreePointPump();
    target.CopyPump(source);
    EXPECT_EQ(RecordOf(target), RecordOf(source));
    EXPECT_EQ(target.Notes, source.Notes);
}

// ---- Record ---------------------------------------------------------------------------------

TEST(PumpRecord, FieldsSitAtTheirOffsets) {
    const TPump pump = DutyPump();
    const std::string bytes = RecordOf(pump);
    ASSERT_EQ(bytes.size(), 843u);
    EXPECT_EQ(bytes.substr(kNameAt, 6), std::string("\x05P-101"));
    EXPECT_EQ(ByteAt(bytes, kRunsAtSetFlowRateAt), 1);
    EXPECT_EQ(DoubleAt(bytes, kSetFlowRateAt), 0.05);
    EXPECT_EQ(ByteAt(bytes, kSetFlowUnitsAt), 27);
    EXPECT_EQ(Int32At(bytes, kPumpSpeedAt), 1450);
    EXPECT_EQ(Int32At(bytes, kRegionFromAt), 70);
    EXPECT_EQ(Int32At(bytes, kRegionToAt), 120);
    EXPECT_EQ(Int32At(bytes, kXAt), 300);
    EXPECT_EQ(Int32At(bytes, kYAt), -40);
    EXPECT_EQ(Int32At(bytes, kSymbolAt), 2);
    EXPECT_EQ(ByteAt(bytes, kFlowUnitsAt), 28);
    EXPECT_EQ(ByteAt(bytes, kHeadUnitsAt), 49);
    EXPECT_EQ(ByteAt(bytes, kNPSHrUnitsAt), 51);
    EXPECT_EQ(Int32At(bytes, kPointCountAt), 4);
    EXPECT_EQ(DoubleAt(bytes, PointAt(4)), 0.03);
    EXPECT_EQ(DoubleAt(bytes, PointAt(4) + 8), 30.0);
    EXPECT_EQ(DoubleAt(bytes, PointAt(4) + 16), 70.0);
    EXPECT_EQ(DoubleAt(bytes, PointAt(4) + 24), 5.0);
    EXPECT_EQ(DoubleAt(bytes, PointAt(5)), 0.0);
    EXPECT_EQ(Int32At(bytes, kCurveCountAt), 2);
    EXPECT_EQ(Int32At(bytes, CurveAt(2)), 2);
    EXPECT_EQ(Int32At(bytes, CurveAt(2) + 4), 4);
    EXPECT_EQ(DoubleAt(bytes, CurveAt(2) + 8), pump.Curve(2).A);
    EXPECT_EQ(DoubleAt(bytes, CurveAt(2) + 16), pump.Curve(2).B);
    EXPECT_EQ(DoubleAt(bytes, CurveAt(2) + 24), pump.Curve(2).C);
    // "Duty pump\r\nSpare on shelf\r\n" is 27 characters.
    EXPECT_EQ(bytes.substr(kNotesAt, 28), std::string("\x1B" "Duty pump\r\nSpare on shelf\r\n"));
}

TEST(PumpRecord, NewPumpRecordHoldsItsDefaults) {
    const std::string bytes = RecordOf(TPump());
    ASSERT_EQ(bytes.size(), 843u);
    EXPECT_EQ(bytes.substr(kNameAt, 21), std::string("\x04Pump\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 21));
    EXPECT_EQ(ByteAt(bytes, kSetFlowUnitsAt), 25);
    EXPECT_EQ(ByteAt(bytes, kFlowUnitsAt), 31);
    EXPECT_EQ(ByteAt(bytes, kHeadUnitsAt), 57);
    EXPECT_EQ(ByteAt(bytes, kNPSHrUnitsAt), 57);
    EXPECT_EQ(bytes.substr(kNotesAt, 4), std::string("\x03 \r\n"));
}

TEST(PumpRecord, RoundTripReproducesEveryField) {
    const TPump source = DutyPump();
    const std::string bytes = RecordOf(source);
    TByteReader reader(bytes);
    TPump loaded = ThreePointPump();
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(loaded.Name(), "P-101");
    EXPECT_EQ(loaded.PointCount(), 4);
    EXPECT_EQ(loaded.CurveCount(), 2);
    EXPECT_EQ(loaded.Notes, source.Notes);
    EXPECT_EQ(loaded.calcPumpHead_mHd_Fluid(0.015, kDensity_kgm3), source.calcPumpHead_mHd_Fluid(0.015, kDensity_kgm3));
    EXPECT_EQ(RecordOf(loaded), bytes);
}

TEST(PumpRecord, SlotsBeyondTheCountsSurviveARoundTrip) {
    std::string bytes = RecordOf(ThreePointPump());
    PutDouble(bytes, PointAt(10), 0.5);
    PutDouble(bytes, PointAt(10) + 24, 7.5);
    PutInt32(bytes, CurveAt(8), 8);
    PutDouble(bytes, CurveAt(8) + 8, -123.0);
    const TPump loaded = PumpFromRecord(bytes);
    EXPECT_EQ(loaded.PointCount(), 3);
    EXPECT_EQ(loaded.Point(10).Flow_m3s, 0.5);
    EXPECT_EQ(loaded.Point(10).NPSHr_mH2O, 7.5);
    EXPECT_EQ(loaded.Curve(8).FirstPoint, 8);
    EXPECT_EQ(loaded.Curve(8).A, -123.0);
    EXPECT_EQ(RecordOf(loaded), bytes);
}

TEST(PumpRecord, NameAndNotesKeepTheirCharactersAndNotesAreCutToTwoHundred) {
    TPump source;
    source.SetName("Pumpe für Kühlung");
    source.Notes = {std::string(250, 'x')};
    const std::string bytes = RecordOf(source);
    EXPECT_EQ(ByteAt(bytes, kNotesAt), 200);
    const TPump loaded = PumpFromRecord(bytes);
    EXPECT_EQ(loaded.Name(), "Pumpe für Kühlung");
    EXPECT_EQ(loaded.Notes, std::vector<std::string>{std::string(200, 'x')});
}

TEST(PumpRecord, DamagedRecordIsRefusedAndThePumpKept) {
    const std::string good = RecordOf(ThreePointPump());
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"one byte short", good.substr(0, good.size() - 1)});
    cases.push_back({"empty", std::string()});
    for (const std::int32_t count : {11, -1}) {
        std::string bytes = good;
        PutInt32(bytes, kPointCountAt, count);
        cases.push_back({"point count outside 0..10", bytes});
    }
    for (const std::int32_t count : {9, -1}) {
        std::string bytes = good;
        PutInt32(bytes, kCurveCountAt, count);
        cases.push_back({"curve count outside 0..8", bytes});
    }
    for (const std::size_t unitAt : {kSetFlowUnitsAt, kFlowUnitsAt, kHeadUnitsAt, kNPSHrUnitsAt}) {
        std::string bytes = good;
        bytes[unitAt] = static_cast<char>(90);
        cases.push_back({"unit index that does not exist", bytes});
    }
    {
        std::string bytes = good;
        bytes[kNameAt] = static_cast<char>(21);
        cases.push_back({"name longer than its field", bytes});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPump pump = DutyPump();
        const std::string before = RecordOf(pump);
        TByteReader reader(c.bytes);
        EXPECT_THROW(pump.ReadRecord(reader), EStreamFormatError);
        EXPECT_EQ(RecordOf(pump), before);
    }
}

// ---- Pump files ------------------------------------------------------------------------------

class PumpFile : public ::testing::Test {
protected:
    TScratchDirectory folder_{"velmora_pump"};

    std::filesystem::path WriteBytes(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path path = folder_.File(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static std::string LoadFailure(TPump& pump, const std::filesystem::path& path) {
        try {
            pump.LoadFromFile(path);
        } catch (const EPumpClass& error) {
            return error.what();
        }
        ADD_FAILURE() << "loading " << path << " must raise";
        return {};
    }
};

TEST_F(PumpFile, SavedFileHoldsOneRecordAndLoadsBack) {
    const TPump source = DutyPump();
    const std::filesystem::path path = folder_.File("duty.vmpm");
    source.SaveToFile(path);
    EXPECT_EQ(std::filesystem::file_size(path), 843u);
    TPump loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(RecordOf(loaded), RecordOf(source));
}

TEST_F(PumpFile, MissingFileIsReportedWithItsName) {
    TPump pump = DutyPump();
    const std::filesystem::path path = folder_.File("absent.vmpm");
    EXPECT_EQ(LoadFailure(pump, path), "TPump.LoadFromFile Failed: Could not read the file " + path.string());
    EXPECT_EQ(RecordOf(pump), RecordOf(DutyPump()));
}

TEST_F(PumpFile, TruncatedOrOverlongFileIsRefusedAndThePumpKept) {
    const std::string good = RecordOf(ThreePointPump());
    struct Case {
        const char* name;
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"short.vmpm", good.substr(0, 500), "unexpected end of data"},
        {"long.vmpm", good + "x", "more data than one pump record at byte 843"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path path = WriteBytes(c.name, c.bytes);
        TPump pump = DutyPump();
        const std::string message = LoadFailure(pump, path);
        EXPECT_EQ(message.rfind("TPump.LoadFromFile Failed: Not a valid pump file " + path.string() + ": ", 0), 0u)
            << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_EQ(RecordOf(pump), RecordOf(DutyPump()));
    }
}

TEST_F(PumpFile, FileThatCannotBeWrittenIsReported) {
    const std::filesystem::path path = folder_.File("no_such_folder") / "pump.vmpm";
    try {
        TPump().SaveToFile(path);
        FAIL() << "saving into a missing folder must raise";
    } catch (const EPumpClass& error) {
        EXPECT_EQ(std::string(error.what()), "TPump.SaveToFile Failed: Could not write the file " + path.string());
    }
}

}  // namespace
