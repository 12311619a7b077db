// Writes the example systems that ship in "ExampleSystems": each network (.vme)
// built from the standard pipe and fitting tables, and its picture (.jpg) drawn
// by the program's own drawing. The descriptions (.txt) are written by hand.
//
//   make_example_systems DATA_FOLDER OUTPUT_FOLDER
//
// DATA_FOLDER holds PipeTables, FittingTables and FluidTables (the repository's
// data folder). Run it after changing an example, then check that every example
// still solves (the tests do: velmora-cli solve).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "editor/VM4_DrawingExtent.h"
#include "editor/VM4_DrawingState.h"
#include "editor/VM4_MetaFileDrawing_Class.h"
#include "foundations/VM4_TextRecord.h"
#include "libraries/VM4_GasViscosityCalc.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_JPEGImage.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPictureQuality = 90;

fs::path gData;

// The line of a library file whose fields `key` equals, field by field where
// a key field is not empty.
std::string LibraryLine(const fs::path& file, const std::vector<std::string>& key) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> fields = SplitRecordFields(line, 99);
        bool matches = fields.size() >= key.size();
        for (std::size_t i = 0; matches && i < key.size(); ++i)
            if (!key[i].empty() && fields[i] != key[i]) matches = false;
        if (matches) return line;
    }
    throw std::runtime_error("no line " + key.back() + " in " + file.string());
}

class TExampleBuilder {
public:
    explicit TExampleBuilder(TNetwork& network) : network_(network) {
        network_.Clear();
        network_.Fluid.SetToWater();
        network_.SetMetricUnits();
        network_.Settings.ShowPipeDiam = true;
    }

    std::int32_t Tank(const std::string& name, int x, int y, double elevation_m, double level_m,
                      double surfacePressure_bar_g = 0.0, int symbol = 0) {
        TNode node;
        node.SetType(TNodeType::Tank);
        node.Elevation_m = elevation_m;
        node.LiquidLevel_m = level_m;
        node.SurfacePressure_bar_g = surfacePressure_bar_g;
        node.Symbol = symbol;
        return add(node, name, x, y);
    }

    std::int32_t Joint(const std::string& name, int x, int y, double elevation_m, double demand_m3s = 0.0) {
        TNode node;
        node.SetType(TNodeType::JoinPoint);
        node.Elevation_m = elevation_m;
        node.JointDischarge_m3s = demand_m3s;
        return add(node, name, x, y);
    }

    std::int32_t End(const std::string& name, int x, int y, double elevation_m, double pressure_bar_g, int symbol = 5) {
        TNode node;
        node.SetType(TNodeType::DemandPressure);
        node.Elevation_m = elevation_m;
        node.SurfacePressure_bar_g = pressure_bar_g;
        node.Symbol = symbol;
        return add(node, name, x, y);
    }

    // A pipe of the standard carbon steel schedule 40 table.
    TPipe& Pipe(std::int32_t from, std::int32_t to, const std::string& name, double length_m,
                const std::string& nominalSize, const std::string& table = "Steel_ANSI_Sch40.vmpi") {
        TPipe pipe;
        pipe.Copy(network_.DefaultPipe);
        pipe.Name = name;
        pipe.Length_m = length_m;
        pipe.LoadDiameterDataFromTextLine(LibraryLine(gData / "PipeTables" / table, {"", "", "", "", nominalSize}),
                                          table);
        const std::int32_t id = network_.AddPipeLink(from, to, pipe);
        if (id <= 0) throw std::runtime_error("pipe " + name + " refused");
        return network_.GetPipe(id);
    }

    // Fittings of the standard fitting table by type and DN (0 for entrances and exits).
    static void Fitting(TPipe& pipe, const std::string& type, int dn, int quantity) {
        TFitting fitting;
        fitting.LoadFromTextLine(
            LibraryLine(gData / "FittingTables" / "Vmn_Fittings.vmfi", {std::to_string(dn), "", type}));
        pipe.Fittings.AddFitting(fitting, quantity);
    }

    TNetwork& Network() { return network_; }

private:
    std::int32_t add(TNode node, const std::string& name, int x, int y) {
        node.X = x;
        node.Y = y;
        const std::int32_t id = network_.AddNode(node);
        network_.GetNode(id).SetName(name);
        return id;
    }

    TNetwork& network_;
};

// ---- The examples -------------------------------------------------------------------------

void ThreeReservoirs(TExampleBuilder& b) {
    const auto a = b.Tank("A", 200, 200, 95.0, 5.0);
    const auto tankB = b.Tank("B", 760, 200, 75.0, 5.0);
    const auto c = b.Tank("C", 480, 640, 45.0, 5.0);
    const auto j = b.Joint("J", 480, 400, 40.0);
    b.Pipe(a, j, "P1", 1000.0, "12\"");
    b.Pipe(j, tankB, "P2", 800.0, "10\"");
    b.Pipe(j, c, "P3", 1200.0, "8\"");
}

void PumpedTransfer(TExampleBuilder& b) {
    const auto suction = b.Tank("Sump T-101", 200, 480, 0.0, 2.0);
    const auto inlet = b.Joint("Pump inlet", 400, 480, 0.0);
    const auto outlet = b.Joint("Pump outlet", 600, 480, 0.0);
    const auto bend = b.Joint("Riser", 880, 480, 0.0);
    const auto head = b.Tank("Head tank T-102", 880, 200, 25.0, 3.0, 0.0, 1);
    TPipe& suctionLine = b.Pipe(suction, inlet, "Suction", 8.0, "6\"");
    TExampleBuilder::Fitting(suctionLine, "ENTRANCE_SHARP", 0, 1);
    TExampleBuilder::Fitting(suctionLine, "GATE_VALVE", 150, 1);
    TExampleBuilder::Fitting(suctionLine, "ELBOW_90_LR", 150, 1);

    TPipe& pumpLine = b.Pipe(inlet, outlet, "Pump line", 5.0, "4\"");
    TExampleBuilder::Fitting(pumpLine, "SWING_CHECK_VALVE", 100, 1);
    TExampleBuilder::Fitting(pumpLine, "GATE_VALVE", 100, 1);
    pumpLine.FittingsPositionPercent = 75.0;
    pumpLine.HasPump = true;
    pumpLine.CalcPump = true;
    pumpLine.Pump.SetName("P-101");
    // An end-suction pump at 2900 rpm: flow m3/s, head m water, efficiency %, NPSHr m.
    // Best efficiency at 40 l/s; the preferred region 70 to 120% of that flow.
    const double curve[][4] = {{0.000, 44.0, 0, 1.2},  {0.010, 43.5, 45, 1.4}, {0.020, 41.5, 64, 1.8},
                               {0.030, 38.0, 74, 2.4}, {0.040, 33.0, 78, 3.3}, {0.050, 26.5, 73, 4.6}};
    for (const auto& point : curve) pumpLine.Pump.AddPumpCurvePoint(point[0], point[1], point[2], point[3]);
    pumpLine.Pump.PumpSpeed = 2900;
    pumpLine.Pump.PreferredOpRegionFromPercent = 70;
    pumpLine.Pump.PreferredOpRegionToPercent = 120;
    pumpLine.PumpPositionPercent = 30.0;
    pumpLine.PumpDistanceFromStart_m = 1.5;
    pumpLine.PumpElevation_m = 0.0;

    TPipe& discharge = b.Pipe(outlet, bend, "Discharge", 220.0, "6\"");
    TExampleBuilder::Fitting(discharge, "ELBOW_90_LR", 150, 3);
    TPipe& riser = b.Pipe(bend, head, "Riser", 30.0, "6\"");
    TExampleBuilder::Fitting(riser, "ELBOW_90_LR", 150, 1);
    TExampleBuilder::Fitting(riser, "EXIT", 0, 1);
}

void LoopedDistribution(TExampleBuilder& b) {
    const auto reservoir = b.Tank("Reservoir", 160, 360, 50.0, 5.0, 0.0, 4);
    const auto j1 = b.Joint("J1", 400, 360, 20.0);
    const auto j2 = b.Joint("J2", 760, 360, 18.0, 0.015);
    const auto j3 = b.Joint("J3", 400, 640, 15.0, 0.010);
    const auto j4 = b.Joint("J4", 760, 640, 12.0, 0.012);
    const auto j5 = b.Joint("J5", 1040, 360, 16.0, 0.008);
    b.Pipe(reservoir, j1, "Trunk main", 500.0, "8\"");
    b.Pipe(j1, j2, "North", 600.0, "6\"");
    b.Pipe(j1, j3, "West", 400.0, "6\"");
    b.Pipe(j2, j4, "East", 400.0, "4\"");
    b.Pipe(j3, j4, "South", 600.0, "4\"");
    b.Pipe(j2, j5, "Spur", 300.0, "4\"");
}

void FlowControlAndFixedLoss(TExampleBuilder& b) {
    const auto tank = b.Tank("Head tank", 200, 400, 10.0, 4.0, 1.0, 2);
    const auto header = b.Joint("Header", 480, 400, 0.0);
    const auto process = b.End("Process feed", 960, 200, 5.0, 0.5, 0);
    const auto drain = b.End("Cooler outlet", 960, 600, 2.0, 0.0, 6);
    b.Pipe(tank, header, "Supply", 100.0, "6\"");
    TPipe& controlled = b.Pipe(header, process, "Feed", 150.0, "4\"");
    controlled.HasFlowControl = true;
    controlled.CalcFlowControl = true;
    controlled.FlowControlName = "FCV-101";
    controlled.FlowControlSetFlow_m3s = 0.012;
    controlled.FlowControlPositionPercent = 75.0;  // clear of the pipe label
    TPipe& cooled = b.Pipe(header, drain, "Cooling", 200.0, "4\"");
    cooled.HasComponentPressure = true;
    cooled.CalcComponentPressure = true;
    cooled.ComponentPressure.SetName("HX-201");
    cooled.ComponentPressure.Symbol = 3;
    cooled.ComponentPressure.UseCurve = 0;
    cooled.ComponentPressure.FixedLoss_bar = 0.35;
    cooled.ComponentPositionPercent = 75.0;
}

void PlantLineFittings(TExampleBuilder& b) {
    const auto vessel = b.Tank("Vessel V-301", 200, 320, 5.0, 3.0, 5.0, 3);
    const auto j1 = b.Joint("Pipe rack", 480, 320, 8.0);
    const auto j2 = b.Joint("Reducer", 760, 320, 10.0);
    const auto user = b.End("Reactor R-302", 1040, 320, 12.0, 3.0, 1);
    TPipe& outlet = b.Pipe(vessel, j1, "Outlet", 12.0, "3\"");
    TExampleBuilder::Fitting(outlet, "ENTRANCE_SHARP", 0, 1);
    TExampleBuilder::Fitting(outlet, "GATE_VALVE", 80, 1);
    TExampleBuilder::Fitting(outlet, "ELBOW_90_STD", 80, 2);
    TPipe& rack = b.Pipe(j1, j2, "Rack run", 35.0, "3\"");
    TExampleBuilder::Fitting(rack, "ELBOW_90_LR", 80, 4);
    TExampleBuilder::Fitting(rack, "TEE_RUN", 80, 2);
    TExampleBuilder::Fitting(rack, "BALL_VALVE", 80, 1);
    TExampleBuilder::Fitting(rack, "GLOBE_VALVE", 80, 1);
    TPipe& branch = b.Pipe(j2, user, "Feed line", 20.0, "2\"");
    TExampleBuilder::Fitting(branch, "ELBOW_90_STD", 50, 3);
    TExampleBuilder::Fitting(branch, "SWING_CHECK_VALVE", 50, 1);
    TExampleBuilder::Fitting(branch, "GATE_VALVE", 50, 1);
    b.Network().Settings.ShowFittingsKValue = true;
}

void AirLine(TExampleBuilder& b) {
    // Dry air at 20 degrees C and 7 bar g, its properties from the gas constants.
    const std::vector<std::string> constants =
        SplitRecordFields(LibraryLine(gData / "FluidTables" / "vmn_GasConstants.vmgc", {"Air"}), 5);
    TGasData air;
    air.Name = "Air";
    air.Formula = constants[1];
    air.GasConstant_J_kgK = std::stod(constants[2]);
    air.ReferenceViscosity_cP = std::stod(constants[3]);
    air.SutherlandConstant_K = std::stod(constants[4]);
    b.Network().Fluid = GasResultAsFluid(air, 20.0, 7.0, CalcGasProperties(air, 20.0, 7.0));

    const auto receiver = b.Tank("Receiver", 200, 360, 0.0, 0.0, 7.0, 22);
    const auto header = b.Joint("Header", 520, 360, 0.0);
    const auto tool = b.End("Assembly line", 960, 200, 0.0, 6.9, 5);
    const auto blower = b.End("Blow-off", 960, 520, 0.0, 6.8, 8);
    b.Pipe(receiver, header, "Main", 60.0, "2\"");
    TPipe& toTool = b.Pipe(header, tool, "Drop A", 25.0, "1\"");
    TExampleBuilder::Fitting(toTool, "BALL_VALVE", 25, 1);
    TExampleBuilder::Fitting(toTool, "ELBOW_90_STD", 25, 2);
    toTool.FittingsPositionPercent = 75.0;
    TPipe& toBlower = b.Pipe(header, blower, "Drop B", 40.0, "1-1/2\"");
    TExampleBuilder::Fitting(toBlower, "BALL_VALVE", 40, 1);
    TExampleBuilder::Fitting(toBlower, "ELBOW_90_STD", 40, 2);
    toBlower.FittingsPositionPercent = 75.0;
}

// ---- Files ------------------------------------------------------------------------------------

// The drawing at 100%, as the window shows it, cut to the drawing's extent.
QImage Picture(TNetwork& network) {
    TMetaFileDrawing drawing(kDrawingWidth, kDrawingHeight);
    TDrawingState state;
    state.CurrentTool = TDrawingState::ToolShowInfo;
    drawing.DrawMetaFileFromNetwork(network, 0, false, true, false, state);
    const TDrawingExtent extent = GetMinMaxXY(network);
    const int margin = 40;
    const int left = extent.MinX - margin;
    const int top = extent.MinY - margin;
    QImage image(extent.MaxX - extent.MinX + 2 * margin, extent.MaxY - extent.MinY + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawing.PaintOnto(painter, -left, -top, kDrawingWidth - left, kDrawingHeight - top);
    return image;
}

void Write(const fs::path& folder, const std::string& name, const std::function<void(TExampleBuilder&)>& build) {
    auto network = std::make_unique<TNetwork>();
    TExampleBuilder builder(*network);
    build(builder);
    const QImage picture = Picture(*network);  // places the labels and items first
    network->SaveToFile(folder / (name + ".vme"));
    TJPEGImage::SaveToFile(picture, (folder / (name + ".jpg")).string(), kPictureQuality);
    std::cout << name << ": " << network->GetNodeCount() << " nodes, " << network->GetPipeCount() << " pipes\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_example_systems DATA_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    gData = argv[1];
    const fs::path output = argv[2];
    fs::create_directories(output);
    try {
        Write(output, "Example_01_Three_Reservoirs", ThreeReservoirs);
        Write(output, "Example_02_Pumped_Transfer", PumpedTransfer);
        Write(output, "Example_03_Looped_Distribution", LoopedDistribution);
        Write(output, "Example_04_Flow_Control_and_Fixed_Loss", FlowControlAndFixedLoss);
        Write(output, "Example_05_Plant_Line_Fittings", PlantLineFittings);
        Write(output, "Example_06_Compressed_Air", AirLine);
    } catch (const std::exception& error) {
        std::cerr << "make_example_systems: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
