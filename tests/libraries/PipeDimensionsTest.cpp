#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "libraries/VM4_PipeDimensions.h"
#include "model/VM4_Pipe_Class.h"

namespace {

// Answers the questions from a script and keeps them.
struct TScriptedAnswers {
    std::deque<bool> Answers;
    std::vector<std::string> Asked;

    TAskYesNo Ask() {
        return [this](const std::string& text) {
            Asked.push_back(text);
            if (Answers.empty()) return false;
            const bool yes = Answers.front();
            Answers.pop_front();
            return yes;
        };
    }
};

struct TCompletionCase {
    const char* Name;
    TPipeDimensions Typed;
    std::deque<bool> Answers;
    // The start of the one question expected, or nullptr for none.
    const char* Question;
    bool Complete;
    TPipeDimensions Expected;
};

void PrintTo(const TCompletionCase& c, std::ostream* os) { *os << c.Name; }

class CompletePipeDimensionsTest : public ::testing::TestWithParam<TCompletionCase> {};

void ExpectLength(const std::optional<double>& actual, const std::optional<double>& expected) {
    ASSERT_EQ(actual.has_value(), expected.has_value());
    if (expected) {
        EXPECT_NEAR(*actual, *expected, 1e-9);
    }
}

TEST_P(CompletePipeDimensionsTest, ProposesAndFillsInOnYes) {
    const TCompletionCase& c = GetParam();
    TScriptedAnswers answers{c.Answers, {}};
    TPipeDimensions d = c.Typed;
    EXPECT_EQ(CompletePipeDimensions(d, answers.Ask()), c.Complete);
    if (c.Question == nullptr) {
        EXPECT_TRUE(answers.Asked.empty());
    } else {
        ASSERT_EQ(answers.Asked.size(), 1u);
        EXPECT_EQ(answers.Asked[0].rfind(c.Question, 0), 0u) << answers.Asked[0];
    }
    ExpectLength(d.InternalDiameter, c.Expected.InternalDiameter);
    ExpectLength(d.WallThickness, c.Expected.WallThickness);
    ExpectLength(d.OutsideDiameter, c.Expected.OutsideDiameter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompletePipeDimensionsTest,
    ::testing::Values(
        TCompletionCase{"OutsideFromBoreAndWall", {102.26, 6.02, {}}, {true},
                        "Outside Diameter is not set.\rSet Outside Diameter to: 114.300\r", true,
                        {102.26, 6.02, 114.3}},
        TCompletionCase{"OutsideRefused", {102.26, 6.02, {}}, {false}, "Outside Diameter is not set.", false,
                        {102.26, 6.02, {}}},
        TCompletionCase{"BoreFromOutsideAndWall", {{}, 6.02, 114.3}, {true},
                        "Internal Diameter is not set.\rSet Internal Diameter to:102.260\r", true,
                        {102.26, 6.02, 114.3}},
        // OD - 2 WT is not above 0.01: nothing sensible to propose.
        TCompletionCase{"NoBoreLeft", {{}, 5.0, 10.0}, {}, nullptr, false, {{}, 5.0, 10.0}},
        TCompletionCase{"WallFromBothDiameters", {100.0, {}, 110.0}, {true},
                        "Wall Thickness is not set.\rSet Wall Thickness to:5.000\r", true, {100.0, 5.0, 110.0}},
        TCompletionCase{"DisagreeingOutsideCorrected", {100.0, 5.0, 110.2}, {true},
                        "Outside Diameter does not equate with other data.\rSet Outside Diameter to:110.000\r",
                        true, {100.0, 5.0, 110.0}},
        TCompletionCase{"DisagreeingOutsideKept", {100.0, 5.0, 110.2}, {false},
                        "Outside Diameter does not equate with other data.", false, {100.0, 5.0, 110.2}},
        // 0.04 % off is within what the tables round to.
        TCompletionCase{"CloseEnoughAgrees", {100.0, 5.0, 110.04}, {}, nullptr, true, {100.0, 5.0, 110.04}},
        TCompletionCase{"OnlyOneValue", {100.0, {}, {}}, {}, nullptr, false, {100.0, {}, {}}}),
    [](const ::testing::TestParamInfo<TCompletionCase>& info) { return std::string(info.param.Name); });

TEST(PipeSizeDerivedValuesTest, VolumeAndAreaPerHundredLengths) {
    // 4" Sch 40: bore 0.10226 m, OD 0.1143 m.
    EXPECT_NEAR(InternalVolumePer100(0.10226), 0.821299, 1e-5);
    EXPECT_NEAR(SurfaceAreaPer100(0.1143), 35.9084, 1e-3);
}

TEST(PipeSizeDerivedValuesTest, RowTextsInBothUnitSystems) {
    TPipe size;
    size.NominalSize = "4\"";
    size.OuterDiameter_m = 0.1143;
    size.WallThickness_m = 0.00602;
    size.InnerDiameter_m = 0.10226;
    size.WeightPerLength_kg_m = 16.07;
    const std::vector<std::string> metric = PipeSizeRowTexts(size, true);
    ASSERT_EQ(metric.size(), 7u);
    EXPECT_EQ(metric[0], "4\"");
    EXPECT_NEAR(std::stod(metric[1]), 102.26, 1e-3);
    EXPECT_NEAR(std::stod(metric[3]), 114.3, 1e-3);
    EXPECT_NEAR(std::stod(metric[5]), 0.8213, 1e-4);
    EXPECT_NEAR(std::stod(metric[6]), 35.9084, 1e-4);
    const std::vector<std::string> imperial = PipeSizeRowTexts(size, false);
    EXPECT_NEAR(std::stod(imperial[1]), 4.026, 1e-3);
    EXPECT_NEAR(std::stod(imperial[3]), 4.5, 1e-3);
    EXPECT_NEAR(std::stod(imperial[4]), 16.07 / 1.48816, 2e-3);
    // ft³ per 100 ft: pi (4.026 / 12)² / 4 x 100
    EXPECT_NEAR(std::stod(imperial[5]), 8.8405, 1e-3);
    EXPECT_NEAR(std::stod(imperial[6]), 117.8097, 1e-3);
}

}  // namespace
