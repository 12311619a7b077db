#include <gtest/gtest.h>

#include "common/NetworkBuilder.h"
#include "editor/VM4_DrawingTexts.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

namespace {

class DrawingTexts : public ::testing::Test {
protected:
    void SetUp() override {
        network_ = std::make_unique<TNetwork>();  // metric after construction
        TNetworkBuilder builder(*network_);
        tank_ = builder.AddTank(200, 200, 12.34, 1.5, 2.25);
        joint_ = builder.AddJoint(400, 200, 12.34);
        pipe_ = builder.AddPipe(tank_, joint_, "Main");
    }

    TNode& Tank() { return network_->GetNode(tank_); }
    TNetworkSettings& Settings() { return network_->Settings; }
    TPipe& Pipe() { return network_->GetPipe(pipe_); }

    TScopedDecimalMark point_{'.'};
    std::unique_ptr<TNetwork> network_;
    std::int32_t tank_ = 0, joint_ = 0, pipe_ = 0;
};

TEST_F(DrawingTexts, NodeLabelJoinsTheChosenPartsAndDropsTheLeadingSeparator) {
    struct TCase {
        const char* name;
        bool id, nodeName, elevation;
        const char* separator;
        const char* text;
    };
    // Node 1, named "N1", 12.34 m high: elevation shown with 1 decimal.
    const TCase cases[] = {
        {"defaults, tank", false, true, true, ", ", "N1, 12.3m"},
        {"defaults, join point in design mode", false, true, true, ",", "N1,12.3m"},
        {"all three", true, true, true, ", ", "[1],N1, 12.3m"},
        {"elevation alone keeps the blank after the separator", false, false, true, ", ", " 12.3m"},
        {"id alone", true, false, false, ", ", "[1]"},
        {"nothing", false, false, false, ", ", ""},
    };
    for (const TCase& c : cases) {
        Settings().ShowNodeId = c.id;
        Settings().ShowNodeName = c.nodeName;
        Settings().ShowNodeElevation = c.elevation;
        EXPECT_EQ(NodeLabelText(*network_, Tank(), tank_, c.separator), c.text) << c.name;
    }
}

TEST_F(DrawingTexts, NodeLabelTrimsTheNameAndFollowsTheElevationUnit) {
    Tank().SetName("  T-1  ");
    Settings().ShowNodeName = true;
    Settings().ShowNodeElevation = true;
    network_->SetImperialUnits();
    // 12.34 m / 0.3048 = 40.486 ft
    EXPECT_EQ(NodeLabelText(*network_, Tank(), tank_, ", "), "T-1, 40.5ft");
}

TEST_F(DrawingTexts, TankInfoShowsSurfacePressureAndLevelInTheirUnits) {
    // 1.5 bar g and 2.25 m, 1 decimal each, no blank before the unit names.
    EXPECT_EQ(TankInfoText(*network_, Tank()), "1.5bar.g@ 2.3m fluid");
    network_->SetImperialUnits();
    // 1.5 bar = 21.756 psi; 2.25 m = 7.382 ft
    EXPECT_EQ(TankInfoText(*network_, Tank()), "21.8psi.g@ 7.4ft fluid");
}

TEST_F(DrawingTexts, PressuresAndFlowsUseTheirUnitsDecimals) {
    Settings().FluidPressureUnit = UNIT_M_HD;
    Tank().Pressure_FluidHead_m = 10.0;
    EXPECT_EQ(NodePressureText(*network_, Tank()), "10.000 m.hd Fluid");  // m.hd: 3 decimals
    EXPECT_EQ(EndPressureText(*network_, Tank()), "p=1.5bar.g");
    EXPECT_EQ(DemandFlowText(*network_, 0.0125), "0.0125 m\xC2\xB3/sec");  // m3/sec: 4 decimals
}

TEST_F(DrawingTexts, AValueInAUnitOfTheWrongKindShowsAsQuestionMark) {
    Settings().SurfacePressureUnit = UNIT_M;  // a length: no pressure converts to it
    const std::string text = TankInfoText(*network_, Tank());
    EXPECT_EQ(text, "?m@ 2.3m fluid");
}

TEST_F(DrawingTexts, PumpTextsFollowModeSwitchAndSettings) {
    TPipe& pipe = Pipe();
    pipe.HasPump = true;
    pipe.Pump.SetName("P1");
    pipe.PumpDistanceFromStart_m = 12.6;
    pipe.PumpElevation_m = 4.5;
    pipe.PumpHead_mHd_Fluid = 25.5;
    struct TCase {
        const char* name;
        bool results, dragging, calcPump, showName, showDistance, showElevation, showHead;
        const char* line1;
        const char* line2;
    };
    const TCase cases[] = {
        // Defaults: distance only, 0 decimals: ", 13m" without its first character.
        {"design defaults", false, false, true, false, true, false, false, " 13m", ""},
        {"design, everything", false, false, true, true, true, true, false, "P1, 13m,@ 5m elev.", ""},
        {"dragging always shows the distance", false, true, true, true, false, false, false, "P1, 13m", ""},
        {"results, head", true, false, true, false, true, false, true, "+25.500m.hd", ""},
        {"results, pump switched off shows design texts", true, false, false, false, true, false, true, " 13m", ""},
        {"results, nothing chosen", true, false, true, true, true, true, false, "", ""},
    };
    for (const TCase& c : cases) {
        pipe.CalcPump = c.calcPump;
        Settings().ShowPumpName = c.showName;
        Settings().ShowPumpDistance = c.showDistance;
        Settings().ShowPumpElevation = c.showElevation;
        Settings().ShowPumpHead = c.showHead;
        Settings().ShowPumpNPSHa = false;
        const TPumpLabelTexts texts = PumpLabelTexts(*network_, pipe_, c.results, c.dragging);
        EXPECT_EQ(texts.Line1, c.line1) << c.name;
        EXPECT_EQ(texts.Line2, c.line2) << c.name;
    }
}

TEST_F(DrawingTexts, PumpNpshGoesOnTheSecondLine) {
    TPipe& pipe = Pipe();
    pipe.HasPump = true;
    Settings().ShowPumpHead = false;
    Settings().ShowPumpNPSHa = true;
    const TPumpLabelTexts texts = PumpLabelTexts(*network_, pipe_, true, false);
    EXPECT_EQ(texts.Line1, "NPSHa=");
    const std::string expected =
        formatFixed(3, network_->GetPumpNPSHa_mFluid(pipe_)) + "m.hd";  // m.hd Fluid to itself: no conversion
    EXPECT_EQ(texts.Line2, expected);
}

TEST_F(DrawingTexts, FittingTexts) {
    TFitting elbow;
    elbow.SetFittingData(50, 1, "Elbow", "", "", "Elbow", 0.43);
    TFitting valve;
    valve.SetFittingData(50, 12, "Valve", "", "", "Valve", 5.1);
    Pipe().Fittings.AddFitting(elbow, 3);
    Pipe().Fittings.AddFitting(valve, 1);
    Pipe().FittingsLoss_mHd_Fluid = 1.23456;
    EXPECT_EQ(FittingsKValueText(Pipe()), "K =6.39");  // 3 x 0.43 + 5.1
    EXPECT_EQ(FittingsLossText(*network_, Pipe()), "-1.235m.hd");
}

TEST_F(DrawingTexts, ClosedPipeLabelIsCutTo29Characters) {
    Pipe().Name = "Main";
    EXPECT_EQ(ClosedPipeLabelText(Pipe()), "Main - Closed");
    Pipe().Name = "ABCDEFGHIJKLMNOPQRSTUVWXY";  // 25 + 9 characters
    EXPECT_EQ(ClosedPipeLabelText(Pipe()), "ABCDEFGHIJKLMNOPQRSTUVWXY - C");
}

}  // namespace
