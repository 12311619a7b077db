#include "TableTestSupport.h"

#include <gtest/gtest.h>

#include "common/NetworkBuilder.h"

TMemoryGrid PrefilledGrid(int rowsToPrefill) {
    TMemoryGrid grid(26, 2000);
    for (int row = 0; row < rowsToPrefill; ++row)
        for (int column = 0; column < 26; ++column) grid.SetCell(column, row, kUntouched);
    return grid;
}

void ExpectRow(const ITableGrid& grid, int row, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int column = static_cast<int>(i);
        EXPECT_EQ(grid.GetCell(column, row), cells[i]) << "column " << column << ", row " << row;
    }
}

namespace {

TFitting fitting(const std::string& description, double kValue, const std::string& imperialSize,
                 const std::string& metricSize, const std::string& type) {
    TFitting result;
    result.SetFittingData(100, 1, type, metricSize, imperialSize, description, kValue);
    return result;
}

void setNodeResults(TTableNetwork& t) {
    TNetwork& n = t.Network;
    n.GetNode(t.Tank).Pressure_FluidHead_m = 2.0;
    n.GetNode(t.Tank).Notes = {"Supply tank", "north yard"};
    TNode& joint = n.GetNode(t.Joint);
    joint.Pressure_FluidHead_m = 11.5;
    joint.JointSupply_m3s = 0.001;
    joint.JointDischarge_m3s = 0.003;
    // 0.5 bar.g held at the end node: 0.5 / F metres of fluid.
    n.GetNode(t.EndPressure).Pressure_FluidHead_m = 0.5 / kWaterBarPerMetre;
    n.GetNode(t.Outlet).Pressure_FluidHead_m = 0.0;
}

void setSuctionResults(TPipe& pipe) {
    pipe.FlowUncompressed_m3s = 0.014;
    pipe.Velocity_ms = 0.014 / (3.141592653589793 * 0.1 * 0.1 / 4.0);  // 1.78254 m/s
    pipe.ReynoldsNumber = 177912.6;
    pipe.FlowType = "Turbulent";
    pipe.FrictionFactor = 0.01912;
    pipe.PipeFrictionLoss_mHd_Fluid = 1.5543;
    pipe.Notes = {"Tank outlet", "see P&ID 12"};
}

void setPumpLineItems(TPipe& pipe) {
    pipe.Fittings.AddFitting(fitting("Elbow 90 long radius", 0.43, "4\"", "100 mm", "PRad"), 3);
    pipe.Fittings.AddFitting(fitting("Gate valve, open", 0.15, "4\"", "100 mm", "GateV"), 1);
    pipe.Fittings.AddFitting(fitting("Pipe entrance, sharp", 0.5, "", "", "EntSh"), 1);
    pipe.HasComponentPressure = true;
    pipe.ComponentPressure.SetName("Strainer");
    pipe.ComponentPressure.FixedLoss_bar = 0.5;
    pipe.HasPump = true;
    pipe.Pump.SetName("Duty");
    pipe.Pump.PumpSpeed = 2900;
    pipe.Pump.PreferredOpRegionFromPercent = 40;
    pipe.Pump.PreferredOpRegionToPercent = 120;
    pipe.Pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
    pipe.Pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 2.0);
    pipe.Pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 3.0);
    pipe.Pump.Notes = {"Spare impeller in store"};
    pipe.PumpElevation_m = 1.0;
    pipe.Notes = {"Duty pump"};
}

void setPumpLineResults(TPipe& pipe) {
    pipe.FlowUncompressed_m3s = 0.010;
    pipe.Velocity_ms = 0.010 / (3.141592653589793 * 0.046 * 0.046 / 4.0);  // 6.01720 m/s
    pipe.ReynoldsNumber = 276210.4;
    pipe.FlowType = "Turbulent";
    pipe.FrictionFactor = 0.02047;
    pipe.PipeFrictionLoss_mHd_Fluid = 24.567;
    pipe.FittingsLoss_mHd_Fluid = 3.5822;
    pipe.PumpHead_mHd_Fluid = 45.3211;
    pipe.PumpNPSHr_mHd_Fluid = 2.004;
}

void setBypass(TPipe& pipe) {
    pipe.HasFlowControl = true;
    pipe.FlowControlName = "FCV-3";
    pipe.FlowControlSetFlow_m3s = 0.002;
    pipe.FlowControlPositionPercent = 70.0;
    pipe.FlowControlLoss_mHd_Fluid = 2.5;
    pipe.HasPump = true;
    pipe.CalcPump = false;
    pipe.Pump.SetName("Booster");
    pipe.Pump.RunsAtSetFlowRate = 1;
    pipe.Pump.SetFlowRate_m3s = 0.002;
    pipe.Pump.PumpSpeed = 1450;
    pipe.Pump.Notes = {};
    pipe.WeightPerLength_kg_m = 0.0;
    pipe.OuterDiameter_m = 0.0;
    pipe.FlowUncompressed_m3s = 0.002;
    pipe.Velocity_ms = 0.002 / (3.141592653589793 * 0.05 * 0.05 / 4.0);  // 1.01859 m/s
    pipe.ReynoldsNumber = 50822.7;
    pipe.FlowType = "Turbulent";
    pipe.FrictionFactor = 0.0231;
    pipe.PipeFrictionLoss_mHd_Fluid = 0.8312;
}

}  // namespace

TTableNetwork::TTableNetwork() {
    TNetworkBuilder builder(Network);
    Tank = builder.AddTank(0, 0, 10.0, 0.0, 2.0);
    Joint = builder.AddJoint(100, 0, 0.0);
    EndPressure = builder.AddDemandPressure(200, 0, 0.5, 5.0);
    Outlet = builder.AddDemandPressure(200, 100, 0.0, 2.0);
    Suction = builder.AddPipe(Tank, Joint, "Suction", 50.0, 0.1);
    PumpLine = builder.AddPipe(Joint, EndPressure, "Pump Line", 30.0, 0.046);
    Bypass = builder.AddPipe(Joint, Outlet, "Bypass", 20.0, 0.05);
    OldMain = builder.AddPipe(Tank, EndPressure, "Old Main", 80.0, 0.1);
    Network.RemoveNodeLinkAddClosedPipeLink(OldMain);
    setNodeResults(*this);
    setSuctionResults(Network.GetPipe(Suction));
    setPumpLineItems(Network.GetPipe(PumpLine));
    setPumpLineResults(Network.GetPipe(PumpLine));
    setBypass(Network.GetPipe(Bypass));
}
