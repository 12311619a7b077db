// Regenerating the picture of a full network and showing it at 100%: 1000 nodes,
// 1000 labelled pipes, a third of them carrying fittings, a pump, a fixed loss
// and a flow control. This runs on every edit and mouse-down, so it must stay
// under 15 ms on a plain desktop machine.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/VM4_DrawingState.h"
#include "editor/VM4_MetaFileDrawing_Class.h"
#include "editor/VM4_NetworkView.h"
#include "model/VM4_Network_Class.h"

namespace {

constexpr int kColumns = 40;
constexpr int kRows = 25;
constexpr int kSpacing = 80;

// 40 x 25 join points 80 units apart, every one a tank or an end node at the row
// ends; 1000 pipes: along each row, then down the columns until there are 1000.
std::unique_ptr<TNetwork> FullDrawing() {
    auto network = std::make_unique<TNetwork>();
    std::vector<std::int32_t> ids;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            TNode node;
            node.SetType(column == 0 ? TNodeType::Tank : TNodeType::JoinPoint);
            node.X = 80 + column * kSpacing;
            node.Y = 80 + row * kSpacing;
            node.Elevation_m = row;
            node.JointDischarge_m3s = column == kColumns - 1 ? 0.01 : 0.0;
            const std::int32_t id = network->AddNode(node);
            network->GetNode(id).SetName("N" + std::to_string(id));
            ids.push_back(id);
        }
    }
    const auto at = [&](int row, int column) { return ids[static_cast<std::size_t>(row * kColumns + column)]; };
    TFitting valve;
    valve.SetFittingData(50, 12, "Gate valve", "", "", "Gate valve", 0.17);
    TFitting elbow;
    elbow.SetFittingData(50, 1, "Elbow", "", "", "Elbow", 0.45);
    int pipes = 0;
    const auto addPipe = [&](std::int32_t from, std::int32_t to) {
        TPipe pipe;
        pipe.Copy(network->DefaultPipe);
        pipe.Name = "P" + std::to_string(pipes + 1);
        if (pipes % 3 == 0) {
            pipe.Fittings.AddFitting(valve, 1);
            pipe.Fittings.AddFitting(elbow, 2);
            pipe.HasComponentPressure = true;
            pipe.ComponentPositionPercent = 75;
            pipe.ComponentPressure.SetName("HX");
            if (pipes % 2 == 0) {
                pipe.HasPump = true;
                pipe.PumpPositionPercent = 40;
            } else {
                pipe.HasFlowControl = true;
                pipe.FlowControlName = "FC";
                pipe.FlowControlPositionPercent = 20;
            }
        }
        network->AddPipeLink(from, to, pipe);
        ++pipes;
    };
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column + 1 < kColumns; ++column) addPipe(at(row, column), at(row, column + 1));
    for (int column = 0; pipes < 1000; ++column)
        for (int row = 0; row + 1 < kRows && pipes < 1000; ++row) addPipe(at(row, column), at(row + 1, column));
    return network;
}

void RegenerateAndShowFullNetwork(benchmark::State& state) {
    const std::unique_ptr<TNetwork> network = FullDrawing();
    TMetaFileDrawing drawing(kDrawingWidth, kDrawingHeight);
    TDrawingState editor;
    TNetworkView view;
    view.ViewOriginX = 40;
    view.ViewOriginY = 40;
    // A full-HD window's drawing area.
    QImage canvas(1700, 900, QImage::Format_RGB32);
    for (auto _ : state) {
        drawing.DrawMetaFileFromNetwork(*network, 0, false, true, false, editor);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        const TPixelRect target = view.TargetRect();
        drawing.PaintOnto(painter, target.Left, target.Top, target.Right, target.Bottom);
        painter.end();
        benchmark::DoNotOptimize(canvas.constBits());
    }
    state.counters["nodes"] = network->GetNodeCount();
    state.counters["pipes"] = network->GetPipeCount();
    state.counters["pictureBytes"] = drawing.Picture().size();
}

BENCHMARK(RegenerateAndShowFullNetwork)->Unit(benchmark::kMillisecond);

// One mouse move while a rectangle's selection is dragged over the full
// network: the 200 nodes of its first five rows move by the mouse's offset and
// the picture is regenerated with the rectangle and shown. Must stay smooth, so
// under the same 15 ms.
void MoveSelectionOf200Nodes(benchmark::State& state) {
    const std::unique_ptr<TNetwork> network = FullDrawing();
    TMetaFileDrawing drawing(kDrawingWidth, kDrawingHeight);
    TDrawingState editor;
    editor.CurrentTool = TDrawingState::ToolSelection;
    editor.SelectionStage = TDrawingState::SelectionMoving;
    editor.SelectionX1 = 40;
    editor.SelectionY1 = 40;
    editor.SelectionX2 = 80 + kColumns * kSpacing;
    editor.SelectionY2 = 80 + 4 * kSpacing + 40;
    network->SetSelectedNodes(editor.SelectionX1, editor.SelectionY1, editor.SelectionX2, editor.SelectionY2);
    TNetworkView view;
    view.ViewOriginX = 40;
    view.ViewOriginY = 40;
    QImage canvas(1700, 900, QImage::Format_RGB32);
    int offset = 0;
    for (auto _ : state) {
        offset = (offset + 7) % 60;
        network->MoveSelectedNodes(offset, offset / 2);
        drawing.DrawMetaFileFromNetwork(*network, 0, false, true, false, editor);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        const TPixelRect target = view.TargetRect();
        drawing.PaintOnto(painter, target.Left, target.Top, target.Right, target.Bottom);
        painter.end();
        benchmark::DoNotOptimize(canvas.constBits());
    }
    state.counters["selected"] = network->GetNumberOfNodesSelected();
}

BENCHMARK(MoveSelectionOf200Nodes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Fonts need a GUI application; no window is opened.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
