#include "model/VM4_ComponentPressure_Class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/FuzzyCompare.h"
#include "common/ScratchDirectory.h"
#include "foundations/VM4_BinaryStream.h"

namespace {

constexpr double kDensity_kgm3 = 998.0;
// m.H2O to m.hd Fluid: h × (9.80665 × 1000 / 1e5) / (9.80665 × 998 / 1e5) = h × 1000 / 998.
constexpr double kWaterToFluid = 1000.0 / 998.0;
constexpr double kTolerance = 1e-9;

// Byte offsets of the component record.
constexpr std::size_t kNameAt = 0;
constexpr std::size_t kSymbolAt = 21;
constexpr std::size_t kUseCurveAt = 25;
constexpr std::size_t kFixedLossAt = 26;
constexpr std::size_t kFlowUnitsAt = 34;
constexpr std::size_t kLossUnitsAt = 35;
constexpr std::size_t kPointCountAt = 36;
constexpr std::size_t kPointsAt = 40;  // 8 × 16

std::size_t PointAt(int pointNo) { return kPointsAt + 16 * static_cast<std::size_t>(pointNo - 1); }

TComponentPressure CurveComponent(std::initializer_list<TComponentCurvePoint> points) {
    TComponentPressure component;
    component.UseCurve = 1;
    for (const TComponentCurvePoint& point : points) component.AddCurvePoint(point.Flow_m3s, point.Loss_mH2O);
    return component;
}

// Segments: 0..0.01 slope 200, 0.01..0.02 slope 400 (m.H2O per m³/sec).
TComponentPressure ThreePointComponent() { return CurveComponent({{0.0, 0.0}, {0.01, 2.0}, {0.02, 6.0}}); }

std::string RecordOf(const TComponentPressure& component) {
    TByteWriter writer;
    component.WriteRecord(writer);
    return writer.Bytes();
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

// A component with every field away from its default.
TComponentPressure FilterComponent() {
    TComponentPressure component = CurveComponent({{0.0, 0.0}, {0.01, 2.0}, {0.02, 6.0}, {0.03, 12.0}});
    component.SetName("Strainer S-3");
    component.Symbol = 3;
    component.FixedLoss_bar = 0.25;
    component.CurveFlowUnits = 27;
    component.CurveLossUnits = 48;
    return component;
}

// ---- Losses ------------------------------------------------------------------------------

struct TLossCase {
    const char* what;
    double flow_m3s;
    double expected;
};

TEST(ComponentLoss, FixedLossIsTheSameSizeAtAnyFlowAndOpposesIt) {
    TComponentPressure component;
    component.FixedLoss_bar = 0.5;
    // 0.5 bar with water of 1000 kg/m³: 0.5 × 100000 / (1000 × 9.80665) = 5.0985810648...
    const double loss_m = 0.5 * 100000.0 / (1000.0 * 9.80665);
    const TLossCase cases[] = {
        {"no flow", 0.0, loss_m},
        {"small flow", 0.001, loss_m},
        {"large flow", 5.0, loss_m},
        {"reversed flow", -0.01, -loss_m},
    };
    for (const TLossCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_REL_NEAR(component.calcLoss_mHd_Fluid(c.flow_m3s, 1000.0), c.expected, 1e-12);
        EXPECT_EQ(component.calcLoss_mHd_Fluid_Differential(c.flow_m3s, 1000.0), 0.0);
    }
}

TEST(ComponentLoss, CurveLossFollowsItsSegmentsAndTheirExtension) {
    const TComponentPressure component = ThreePointComponent();
    // loss = s q + (Loss(c) - s Flow(c)) on the segment of q.
    const TLossCase cases[] = {
        {"first point", 0.0, 0.0},
        {"first segment: 200 × 0.005", 0.005, 1.0},
        {"shared point", 0.01, 2.0},
        {"second segment: 400 × 0.015 - 2", 0.015, 4.0},
        {"last point", 0.02, 6.0},
        {"beyond the last point: 400 × 0.03 - 2", 0.03, 10.0},
        {"reversed flow takes the sign of the flow", -0.015, -4.0},
        {"reversed flow beyond the curve", -0.03, -10.0},
    };
    for (const TLossCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_REL_NEAR(component.calcLoss_mHd_Fluid(c.flow_m3s, kDensity_kgm3), c.expected * kWaterToFluid,
                        kTolerance);
    }
}

TEST(ComponentLoss, SlopeIsThatOfTheChosenSegmentForEitherFlowDirection) {
    const TComponentPressure component = ThreePointComponent();
    const TLossCase cases[] = {
        {"first segment", 0.005, 200.0},
        {"shared point uses the segment that starts there", 0.01, 400.0},
        {"second segment", 0.015, 400.0},
        {"beyond the last point", 0.03, 400.0},
        {"reversed flow", -0.005, 200.0},
        {"reversed flow on the shared point", -0.01, 400.0},
    };
    for (const TLossCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_REL_NEAR(component.calcLoss_mHd_Fluid_Differential(c.flow_m3s, kDensity_kgm3),
                        c.expected * kWaterToFluid, kTolerance);
    }
}

TEST(ComponentLoss, SlopeAgreesWithAFiniteDifferenceOfTheLoss) {
    const TComponentPressure component = FilterComponent();
    const double step_m3s = 1e-7;
    for (const double flow_m3s : {0.004, 0.013, 0.027, 0.04, -0.004, -0.027, -0.04}) {
        SCOPED_TRACE(flow_m3s);
        const double difference = (component.calcLoss_mHd_Fluid(flow_m3s + step_m3s, kDensity_kgm3) -
                                   component.calcLoss_mHd_Fluid(flow_m3s - step_m3s, kDensity_kgm3)) /
                                  (2.0 * step_m3s);
        EXPECT_REL_NEAR(component.calcLoss_mHd_Fluid_Differential(flow_m3s, kDensity_kgm3), difference, 1e-6);
    }
}

TEST(ComponentLoss, BelowACurveThatStartsAboveZeroFlowTheFirstSegmentIsExtendedAndNeverGivesHead) {
    // Segments 0.01..0.02 slope 200 and 0.02..0.03 slope 300.
    const TComponentPressure component = CurveComponent({{0.01, 1.0}, {0.02, 3.0}, {0.03, 6.0}});
    struct Case {
        const char* what;
        double flow_m3s, loss_mH2O, slope;
    };
    const Case cases[] = {
        {"200 × 0.0075 - 1", 0.0075, 0.5, 200.0},
        {"200 × 0.005 - 1", 0.005, 0.0, 200.0},
        {"200 × 0.002 - 1 is below 0", 0.002, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_REL_NEAR(component.calcLoss_mHd_Fluid(c.flow_m3s, kDensity_kgm3), c.loss_mH2O * kWaterToFluid,
                        kTolerance);
        EXPECT_REL_NEAR(component.calcLoss_mHd_Fluid_Differential(c.flow_m3s, kDensity_kgm3), c.slope * kWaterToFluid,
                        kTolerance);
    }
}

TEST(ComponentLoss, CurveWithoutASegmentGivesNoLoss) {
    for (const int pointCount : {0, 1}) {
        SCOPED_TRACE(pointCount);
        TComponentPressure component;
        component.UseCurve = 1;
        component.FixedLoss_bar = 0.5;
        for (int i = 0; i < pointCount; ++i) component.AddCurvePoint(0.01, 3.0);
        EXPECT_EQ(component.calcLoss_mHd_Fluid(0.01, kDensity_kgm3), 0.0);
        EXPECT_EQ(component.calcLoss_mHd_Fluid_Differential(0.01, kDensity_kgm3), 0.0);
    }
}

TEST(ComponentLoss, SegmentOfTwoEqualFlowsGivesItsFirstPointsLoss) {
    const TComponentPressure component = CurveComponent({{0.0, 0.0}, {0.01, 2.0}, {0.01, 3.0}});
    EXPECT_REL_NEAR(component.calcLoss_mHd_Fluid(0.01, kDensity_kgm3), 2.0 * kWaterToFluid, kTolerance);
    EXPECT_EQ(component.calcLoss_mHd_Fluid_Differential(0.01, kDensity_kgm3), 0.0);
}

// ---- Curve points ----------------------------------------------------------------------------

TEST(ComponentCurve, NinthPointIsRefusedAndTheCurveKept) {
    TComponentPressure component;
    for (int i = 0; i < TComponentPressure::MaxPoints; ++i) component.AddCurvePoint(0.01 * i, 1.0 * i * i);
    const std::string before = RecordOf(component);
    try {
        component.AddCurvePoint(0.1, 100.0);
        FAIL() << "a ninth point must raise";
    } catch (const EComponentPressureClass& error) {
        EXPECT_STREQ(error.what(), "TComponentPressure.AddCurvePoint Failed: Max number of curve points reached.");
    }
    EXPECT_EQ(RecordOf(component), before);
}

TEST(ComponentCurve, GeneratedCurveHasEightEvenlySpacedPointsOnTheQuadratic) {
    // Through (0, 0), (0.01, 1), (0.02, 4): loss = 10000 q²; the fourth point is
    // ignored. Points at q = (i - 1) × 0.02 / 7.
    TComponentPressure component = CurveComponent({{0.0, 0.0}, {0.01, 1.0}, {0.02, 4.0}, {0.03, 100.0}});
    component.CreateQuadraticCurvePointsFromFirst3Points();
    ASSERT_EQ(component.PointCount(), 8);
    for (int i = 1; i <= 8; ++i) {
        SCOPED_TRACE(i);
        const double q_m3s = (i - 1) * 0.02 / 7.0;
        EXPECT_REL_NEAR(component.Point(i).Flow_m3s, q_m3s, kTolerance);
        EXPECT_REL_NEAR(component.Point(i).Loss_mH2O, 10000.0 * q_m3s * q_m3s, 1e-8);
    }
    EXPECT_FALSE(component.CheckIfCurveContainsNegativeValues());
}

TEST(ComponentCurve, GeneratedCurveStartsAtTheFirstPointsFlow) {
    // Through (0.01, 1), (0.02, 4), (0.03, 9): loss = 10000 q²; points from 0.01 to 0.03.
    TComponentPressure component = CurveComponent({{0.01, 1.0}, {0.02, 4.0}, {0.03, 9.0}});
    component.CreateQuadraticCurvePointsFromFirst3Points();
    for (int i = 1; i <= 8; ++i) {
        SCOPED_TRACE(i);
        const double q_m3s = 0.01 + (i - 1) * 0.02 / 7.0;
        EXPECT_REL_NEAR(component.Point(i).Flow_m3s, q_m3s, kTolerance);
        EXPECT_REL_NEAR(component.Point(i).Loss_mH2O, 10000.0 * q_m3s * q_m3s, 1e-8);
    }
}

TEST(ComponentCurve, GeneratedCurveCanDipBelowZero) {
    // Through (0, 10), (0.01, 0.5), (0.02, 1): 2e-4 A = (1 - 10) - 2 (0.5 - 10) = 10, A = 50000,
    // B = (-9.5 - 5) / 0.01 = -1450, C = 10. Point 6 at q = 0.1 / 7:
    // 50000 q² - 1450 q + 10 = -0.5102...
    TComponentPressure component = CurveComponent({{0.0, 10.0}, {0.01, 0.5}, {0.02, 1.0}});
    component.CreateQuadraticCurvePointsFromFirst3Points();
    const double q_m3s = 0.1 / 7.0;
    EXPECT_REL_NEAR(component.Point(6).Loss_mH2O, 50000.0 * q_m3s * q_m3s - 1450.0 * q_m3s + 10.0, 1e-8);
    EXPECT_TRUE(component.CheckIfCurveContainsNegativeValues());
}

TEST(ComponentCurve, GeneratingFromFewerThanThreePointsIsRefused) {
    TComponentPressure component = CurveComponent({{0.0, 0.0}, {0.01, 1.0}});
    const std::string before = RecordOf(component);
    try {
        component.CreateQuadraticCurvePointsFromFirst3Points();
        FAIL() << "two points must raise";
    } catch (const EComponentPressureClass& error) {
        EXPECT_STREQ(error.what(),
                     "TComponentPressure.CreateQuadraticCurvePointsFromFirst3Points Failed: The curve needs 3 points.");
    }
    EXPECT_EQ(RecordOf(component), before);
}

TEST(ComponentCurve, NegativeValuesAreFoundOnlyAmongThePointsInUse) {
    struct Case {
        const char* what;
        std::vector<TComponentCurvePoint> points;
        bool expected;
    };
    const Case cases[] = {
        {"all positive", {{0.0, 0.0}, {0.01, 2.0}, {0.02, 6.0}}, false},
        {"negative flow", {{-0.01, 0.0}, {0.01, 2.0}, {0.02, 6.0}}, true},
        {"negative loss", {{0.0, 0.0}, {0.01, -2.0}, {0.02, 6.0}}, true},
        {"no points", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TComponentPressure component;
        for (const TComponentCurvePoint& point : c.points) component.AddCurvePoint(point.Flow_m3s, point.Loss_mH2O);
        EXPECT_EQ(component.CheckIfCurveContainsNegativeValues(), c.expected);
    }
    // A negative value in a slot beyond the count is not part of the curve.
    std::string bytes = RecordOf(ThreePointComponent());
    PutDouble(bytes, PointAt(8) + 8, -1.0);
    TByteReader reader(bytes);
    TComponentPressure loaded;
    loaded.ReadRecord(reader);
    EXPECT_EQ(loaded.Point(8).Loss_mH2O, -1.0);
    EXPECT_FALSE(loaded.CheckIfCurveContainsNegativeValues());
}

TEST(ComponentCurve, ClearingTheCurveZeroesEverySlot) {
    TComponentPressure component = FilterComponent();
    component.ClearComponentPressureCurve();
    EXPECT_EQ(component.PointCount(), 0);
    EXPECT_EQ(component.Point(4).Loss_mH2O, 0.0);
    EXPECT_EQ(component.Name(), "Strainer S-3");
    EXPECT_THROW(component.Point(0), EComponentPressureClass);
    EXPECT_THROW(component.Point(TComponentPressure::MaxPoints + 1), EComponentPressureClass);
}

// ---- Defaults, names, copies ----------------------------------------------------------------

TEST(ComponentFields, NewComponentHasTheDocumentedDefaults) {
    const TComponentPressure component;
    EXPECT_EQ(component.Name(), "");
    EXPECT_EQ(component.UseCurve, 0);
    EXPECT_EQ(component.FixedLoss_bar, 0.0);
    EXPECT_EQ(component.CurveFlowUnits, 25);  // m³/sec
    EXPECT_EQ(component.CurveLossUnits, 49);  // m.H2O
    EXPECT_EQ(component.PointCount(), 0);
    EXPECT_EQ(component.calcLoss_mHd_Fluid(0.01, kDensity_kgm3), 0.0);
}

TEST(ComponentFields, ClearRestoresEveryDefault) {
    TComponentPressure component = FilterComponent();
    component.Clear();
    EXPECT_EQ(RecordOf(component), RecordOf(TComponentPressure()));
}

TEST(ComponentFields, NameIsCutToTwentyCharacters) {
    TComponentPressure component;
    component.SetName("Wärmetauscher Kühlkreis 2");
    EXPECT_EQ(component.Name(), "Wärmetauscher Kühlkr");
}

TEST(ComponentFields, CopyTakesEveryField) {
    const TComponentPressure source = FilterComponent();
    TComponentPressure target = ThreePointComponent();
    target.CopyComponentPressure(source);
    EXPECT_EQ(RecordOf(target), RecordOf(source));
}

// ---- Record ---------------------------------------------------------------------------------

TEST(ComponentRecord, FieldsSitAtTheirOffsets) {
    const std::string bytes = RecordOf(FilterComponent());
    ASSERT_EQ(bytes.size(), 168u);
    EXPECT_EQ(bytes.substr(kNameAt, 21), std::string("\x0CStrainer S-3\0\0\0\0\0\0\0\0", 21));
    EXPECT_EQ(Int32At(bytes, kSymbolAt), 3);
    EXPECT_EQ(ByteAt(bytes, kUseCurveAt), 1);
    EXPECT_EQ(DoubleAt(bytes, kFixedLossAt), 0.25);
    EXPECT_EQ(ByteAt(bytes, kFlowUnitsAt), 27);
    EXPECT_EQ(ByteAt(bytes, kLossUnitsAt), 48);
    EXPECT_EQ(Int32At(bytes, kPointCountAt), 4);
    EXPECT_EQ(DoubleAt(bytes, PointAt(4)), 0.03);
    EXPECT_EQ(DoubleAt(bytes, PointAt(4) + 8), 12.0);
    EXPECT_EQ(DoubleAt(bytes, PointAt(8) + 8), 0.0);
}

TEST(ComponentRecord, NewComponentRecordHoldsItsDefaults) {
    const std::string bytes = RecordOf(TComponentPressure());
    ASSERT_EQ(bytes.size(), 168u);
    EXPECT_EQ(bytes.substr(kNameAt, 21), std::string(21, '\0'));
    EXPECT_EQ(ByteAt(bytes, kFlowUnitsAt), 25);
    EXPECT_EQ(ByteAt(bytes, kLossUnitsAt), 49);
}

TEST(ComponentRecord, RoundTripKeepsEveryFieldAndAllEightSlots) {
    std::string bytes = RecordOf(FilterComponent());
    PutDouble(bytes, PointAt(8), 0.5);
    PutDouble(bytes, PointAt(8) + 8, 42.0);
    TByteReader reader(bytes);
    TComponentPressure loaded = ThreePointComponent();
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(loaded.Name(), "Strainer S-3");
    EXPECT_EQ(loaded.PointCount(), 4);
    EXPECT_EQ(loaded.Point(8).Flow_m3s, 0.5);
    EXPECT_EQ(loaded.Point(8).Loss_mH2O, 42.0);
    EXPECT_EQ(RecordOf(loaded), bytes);
}

TEST(ComponentRecord, DamagedRecordIsRefusedAndTheComponentKept) {
    const std::string good = RecordOf(ThreePointComponent());
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"one byte short", good.substr(0, good.size() - 1)});
    for (const std::int32_t count : {9, -1}) {
        std::string bytes = good;
        PutInt32(bytes, kPointCountAt, count);
        cases.push_back({"point count outside 0..8", bytes});
    }
    for (const std::size_t unitAt : {kFlowUnitsAt, kLossUnitsAt}) {
        std::string bytes = good;
        bytes[unitAt] = static_cast<char>(200);
        cases.push_back({"unit index that does not exist", bytes});
    }
    {
        std::string bytes = good;
        bytes[kNameAt] = static_cast<char>(21);
        cases.push_back({"name longer than its field", bytes});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TComponentPressure component = FilterComponent();
        TByteReader reader(c.bytes);
        EXPECT_THROW(component.ReadRecord(reader), EStreamFormatError);
        EXPECT_EQ(RecordOf(component), RecordOf(FilterComponent()));
    }
}

// ---- Component files -------------------------------------------------------------------------

class ComponentFile : public ::testing::Test {
protected:
    TScratchDirectory folder_{"velmora_component"};

    std::filesystem::path WriteBytes(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path path = folder_.File(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static std::string LoadFailure(TComponentPressure& component, const std::filesystem::path& path) {
        try {
            component.LoadFromFile(path);
        } catch (const EComponentPressureClass& error) {
            return error.what();
        }
        ADD_FAILURE() << "loading " << path << " must raise";
        return {};
    }
};

TEST_F(ComponentFile, SavedFileHoldsOneRecordAndLoadsBack) {
    const TComponentPressure source = FilterComponent();
    const std::filesystem::path path = folder_.File("strainer.vmco");
    source.SaveToFile(path);
    EXPECT_EQ(std::filesystem::file_size(path), 168u);
    TComponentPressure loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(RecordOf(loaded), RecordOf(source));
}

TEST_F(ComponentFile, MissingFileIsReportedWithItsName) {
    TComponentPressure component = FilterComponent();
    const std::filesystem::path path = folder_.File("absent.vmco");
    EXPECT_EQ(LoadFailure(component, path),
              "TComponentPressure.LoadFromFile Failed: Could not read the file " + path.string());
    EXPECT_EQ(RecordOf(component), RecordOf(FilterComponent()));
}

TEST_F(ComponentFile, TruncatedOrOverlongFileIsRefusedAndTheComponentKept) {
    const std::string good = RecordOf(ThreePointComponent());
    struct Case {
        const char* name;
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"short.vmco", good.substr(0, 100), "unexpected end of data"},
        {"long.vmco", good + good, "more data than one component record at byte 168"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path path = WriteBytes(c.name, c.bytes);
        TComponentPressure component = FilterComponent();
        const std::string message = LoadFailure(component, path);
        EXPECT_EQ(message.rfind("TComponentPressure.LoadFromFile Failed: Not a valid component file " + path.string() +
                                    ": ",
                                0),
                  0u)
            << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_EQ(RecordOf(component), RecordOf(FilterComponent()));
    }
}

TEST_F(ComponentFile, FileThatCannotBeWrittenIsReported) {
    const std::filesystem::path path = folder_.File("no_such_folder") / "component.vmco";
    try {
        TComponentPressure().SaveToFile(path);
        FAIL() << "saving into a missing folder must raise";
    } catch (const EComponentPressureClass& error) {
        EXPECT_EQ(std::string(error.what()),
                  "TComponentPressure.SaveToFile Failed: Could not write the file " + path.string());
    }
}

}  // namespace
