#include "editor/VM4_MetaFileDrawing_Class.h"

#include <QPainter>
#include <cmath>
#include <numbers>
#include <vector>

#include "editor/VM4_Canvas_Drawings.h"
#include "editor/VM4_DrawingTexts.h"
#include "model/VM4_Network_Class.h"
#include "solver/VM4_CutOffParts.h"

namespace {

constexpr int kGridSpacing = 40;
constexpr int kLineSpacing = 11;  // between the lines of a node label

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

bool Flashing(std::int32_t id, bool flashOn, int flashParity) { return flashOn && id % 2 == flashParity; }

// The offsets of a node label are set once, the first time the node is drawn;
// after that they are the user's (dragged) or the saved ones.
void EnsureLabelOffsets(TNode& node, int defaultDx, int defaultDy) {
    if (node.NameLabelOffsetX != 0 || node.NameLabelOffsetY != 0) return;
    node.NameLabelOffsetX = defaultDx;
    node.NameLabelOffsetY = defaultDy;
}

// Ends the canvas if drawing fails half-way, so that the picture is never left open.
struct TCanvasGuard {
    TMetaFileDrawing& Drawing;
    bool Done = false;
    ~TCanvasGuard() {
        if (!Done) Drawing.TransferMetaFileCanvasToMetaFile();
    }
};

}  // namespace

struct TMetaFileDrawing::TContext {
    TNetwork& Network;
    const TDrawingState& State;
    QPainter& Canvas;
    bool ResultsMode;
    bool FlashOn;
    int FlashParity;
    // Nodes cut off from every tank and end pressure node have no pressure to show.
    std::vector<bool> NodesWithPressure;

    bool Dragging() const { return State.CurrentTool == TDrawingState::ToolDrag; }
};

TMetaFileDrawing::TMetaFileDrawing(int width, int height) : width_(width), height_(height) {
    CreateMetaFileCanvas(false, true);
    TransferMetaFileCanvasToMetaFile();
}

TMetaFileDrawing::~TMetaFileDrawing() { TransferMetaFileCanvasToMetaFile(); }

void TMetaFileDrawing::Clear() {
    TransferMetaFileCanvasToMetaFile();
    picture_ = QPicture();
    texts_.Clear();
}

QPainter& TMetaFileDrawing::CreateMetaFileCanvas(bool resultsMode, bool drawGrid) {
    TransferMetaFileCanvasToMetaFile();
    picture_ = QPicture();
    picture_.setBoundingRect(QRect(0, 0, width_, height_));
    texts_.Clear();
    canvas_ = std::make_unique<QPainter>(&picture_);
    capture_ = std::make_unique<TTextLayer::TCapture>(*canvas_, texts_);
    if (!resultsMode && drawGrid) DrawGridLines();
    return *canvas_;
}

QPainter& TMetaFileDrawing::CreateMetaFileCanvasFromMetaFile() {
    const QPicture previous = picture_;
    const TTextLayer previousTexts = texts_;
    QPainter& canvas = CreateMetaFileCanvas(true, false);
    canvas.drawPicture(0, 0, previous);
    texts_ = previousTexts;
    return canvas;
}

void TMetaFileDrawing::TransferMetaFileCanvasToMetaFile() {
    if (!canvas_) return;
    capture_.reset();
    canvas_->end();
    canvas_.reset();
    picture_.setBoundingRect(QRect(0, 0, width_, height_));
}

void TMetaFileDrawing::DrawGridLines() {
    if (!canvas_) return;
    // The last line of each direction lies on the first multiple of 40 not below the size.
    int x = kGridSpacing;
    do {
        DrawLine(*canvas_, x, 0, x, height_, DrawingColours::Grid);
        x += kGridSpacing;
    } while (x - kGridSpacing < width_);
    int y = kGridSpacing;
    do {
        DrawLine(*canvas_, 0, y, width_, y, DrawingColours::Grid);
        y += kGridSpacing;
    } while (y - kGridSpacing < height_);
}

void TMetaFileDrawing::PaintOnto(QPainter& target, int left, int top, int right, int bottom) const {
    QTransform view;
    view.translate(left, top);
    view.scale(static_cast<double>(right - left) / width_, static_cast<double>(bottom - top) / height_);
    // Texts are painted only where the target can show them.
    const QRectF device(0, 0, target.device()->width(), target.device()->height());
    QRectF visible = target.combinedTransform().inverted().mapRect(device);
    if (target.hasClipping()) visible = visible.intersected(target.clipBoundingRect());
    target.save();
    target.setWorldTransform(view * target.worldTransform());
    target.drawPicture(0, 0, picture_);
    target.restore();
    texts_.Paint(target, view, visible);
}

void TMetaFileDrawing::DrawMetaFileFromNetwork(TNetwork& network, int flashParity, bool flashOn, bool drawGrid,
                                               bool resultsMode, const TDrawingState& state) {
    QPainter& canvas = CreateMetaFileCanvas(resultsMode, drawGrid);
    TCanvasGuard guard{*this};
    const TContext context{network,     state,       canvas,
                           resultsMode, flashOn,     flashParity,
                           resultsMode ? NodesReachingFixedPressure(network) : std::vector<bool>{}};
    drawNodeHighlights(context);
    drawOpenPipes(context);
    drawClosedPipes(context);
    drawNodes(context);
    drawItemsOnPipes(context);
    drawFreeTexts(context);
    drawRubberBand(context);
    drawSelectionRectangle(context);
    guard.Done = true;
    TransferMetaFileCanvasToMetaFile();
}

// ---- Nodes and pipes -------------------------------------------------------------------------------

void TMetaFileDrawing::drawNodeHighlights(const TContext& context) {
    const TNetwork& network = context.Network;
    for (std::int32_t id = network.GetNextNodeId(0); id != -1; id = network.GetNextNodeId(id)) {
        if (id == context.State.SelectedNodeId || context.Dragging() ||
            Flashing(id, context.FlashOn, context.FlashParity)) {
            const TNode& node = network.GetNode(id);
            DrawDisc(context.Canvas, node.X, node.Y, 18, DrawingColours::Highlight);
        }
    }
}

void TMetaFileDrawing::drawPipeHighlight(const TContext& context, const TNodeLink& link) {
    if (link.PipeId != context.State.SelectedPipeId && !Flashing(link.PipeId, context.FlashOn, context.FlashParity))
        return;
    const TNode& from = context.Network.GetNode(link.FromNodeId);
    const TNode& to = context.Network.GetNode(link.ToNodeId);
    DrawLine(context.Canvas, from.X, from.Y, to.X, to.Y, DrawingColours::Highlight, 7);
}

// Each step draws its kind of mark for every pipe before the next kind: a picture
// records every change of pen and font, and a full network has a thousand pipes.
void TMetaFileDrawing::drawOpenPipes(const TContext& context) {
    TNetwork& network = context.Network;
    const std::int32_t count = network.GetNodeLinkCount();
    for (std::int32_t k = 1; k <= count; ++k) drawPipeHighlight(context, network.GetNodeLink(k));
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const TNode& from = network.GetNode(link.FromNodeId);
        const TNode& to = network.GetNode(link.ToNodeId);
        DrawLine(context.Canvas, from.X, from.Y, to.X, to.Y, DrawingColours::Line);
    }
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const TNode& from = network.GetNode(link.FromNodeId);
        const TNode& to = network.GetNode(link.ToNodeId);
        TPipe& pipe = network.GetPipe(link.PipeId);
        const TPipeLabelPlacement label =
            DrawPipeLabel(context.Canvas, from.X, from.Y, to.X, to.Y, pipe.LabelPositionPercent,
                          Q(network.GetPipeLabel(link.PipeId, context.ResultsMode)), DrawingColours::Label,
                          context.Dragging());
        pipe.LabelX = label.X;
        pipe.LabelY = label.Y;
    }
}

void TMetaFileDrawing::drawClosedPipes(const TContext& context) {
    TNetwork& network = context.Network;
    for (std::int32_t k = 1; k <= network.GetClosedPipeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLinkClosedPipe(k);
        const TNode& from = network.GetNode(link.FromNodeId);
        const TNode& to = network.GetNode(link.ToNodeId);
        TPipe& pipe = network.GetPipe(link.PipeId);
        drawPipeHighlight(context, link);
        DrawLine(context.Canvas, from.X, from.Y, to.X, to.Y, DrawingColours::ClosedPipe, 1, Qt::DotLine);
        // Two crosses, at 10% and 90% of the pipe, turned with it.
        const double angle = LineAngle(from.X, from.Y, to.X, to.Y);
        for (double percent : {10.0, 90.0}) {
            const QPoint centre = PointAlongLine(from.X, from.Y, to.X, to.Y, percent);
            const int strokes[2][4] = {{-3, -3, 4, 4}, {3, -3, -4, 4}};
            for (const auto& s : strokes) {
                int ax = centre.x() + s[0], ay = centre.y() + s[1];
                int bx = centre.x() + s[2], by = centre.y() + s[3];
                RotatePoint(ax, ay, centre.x(), centre.y(), angle);
                RotatePoint(bx, by, centre.x(), centre.y(), angle);
                DrawLine(context.Canvas, ax, ay, bx, by, DrawingColours::ClosedPipe);
            }
        }
        const TPipeLabelPlacement label =
            DrawPipeLabel(context.Canvas, from.X, from.Y, to.X, to.Y, pipe.LabelPositionPercent,
                          Q(ClosedPipeLabelText(pipe)), DrawingColours::SwitchedOff, context.Dragging());
        pipe.LabelX = label.X;
        pipe.LabelY = label.Y;
    }
}

void TMetaFileDrawing::drawNodes(const TContext& context) {
    TNetwork& network = context.Network;
    for (std::int32_t id = network.GetNextNodeId(0); id != -1; id = network.GetNextNodeId(id)) {
        TNode& node = network.GetNode(id);
        switch (node.NodeType) {
            case TNodeType::Tank: drawTank(context, node, id); break;
            case TNodeType::DemandPressure: drawEndPressure(context, node, id); break;
            case TNodeType::JoinPoint: drawJoinPoint(context, node, id); break;
            default: break;
        }
    }
    // The labels after all symbols, in one pen and font.
    for (std::int32_t id = network.GetNextNodeId(0); id != -1; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        int y = node.Y + node.NameLabelOffsetY;
        for (const std::string& line : nodeLabelLines(context, node, id)) {
            DrawText(context.Canvas, node.X + node.NameLabelOffsetX, y, Q(line), DrawingColours::Label, kLabelTextSize);
            y += kLineSpacing;
        }
    }
}

std::vector<std::string> TMetaFileDrawing::nodeLabelLines(const TContext& context, const TNode& node,
                                                          std::int32_t nodeId) const {
    const TNetwork& network = context.Network;
    const TNetworkSettings& settings = network.Settings;
    std::vector<std::string> lines;
    switch (node.NodeType) {
        case TNodeType::Tank:
            lines.push_back(NodeLabelText(network, node, nodeId, ", "));
            if (settings.ShowNodeTankInfo) lines.push_back(TankInfoText(network, node));
            if (context.ResultsMode && settings.ShowNodePressure) lines.push_back(NodePressureText(network, node));
            break;
        case TNodeType::DemandPressure:
            lines.push_back(NodeLabelText(network, node, nodeId, ", "));
            if (settings.ShowNodePressure) lines.push_back(EndPressureText(network, node));
            break;
        case TNodeType::JoinPoint:
            // Design mode joins the elevation with "," and results mode with ", ".
            lines.push_back(NodeLabelText(network, node, nodeId, context.ResultsMode ? ", " : ","));
            if (context.ResultsMode && settings.ShowNodePressure && context.NodesWithPressure[static_cast<std::size_t>(nodeId)]) {
                lines.push_back(NodePressureText(network, node));
            }
            break;
        default:
            break;
    }
    return lines;
}

namespace {

// With the Drag tool, a yellow disc marks a node's movable label.
void DrawLabelMarker(QPainter& canvas, const TNode& node) {
    DrawDisc(canvas, node.X + node.NameLabelOffsetX, node.Y + node.NameLabelOffsetY + 5, 7, DrawingColours::Highlight);
}

}  // namespace

void TMetaFileDrawing::drawTank(const TContext& context, TNode& node, std::int32_t) {
    EnsureLabelOffsets(node, -TextWidth(Q(node.Name), kLabelTextSize) - 8, 16);
    if (context.Dragging()) DrawLabelMarker(context.Canvas, node);
    DrawTankSymbol(context.Canvas, node.Symbol, node.X, node.Y);
}

void TMetaFileDrawing::drawEndPressure(const TContext& context, TNode& node, std::int32_t) {
    EnsureLabelOffsets(node, -TextWidth(Q(node.Name), kLabelTextSize) - 8, 16);
    if (context.Dragging()) DrawLabelMarker(context.Canvas, node);
    DrawEndPressureSymbol(context.Canvas, node.Symbol, node.X, node.Y);
    DrawText(context.Canvas, node.X - 3, node.Y - 6, QStringLiteral("P"), DrawingColours::Line, kLabelTextSize);
}

void TMetaFileDrawing::drawJoinPoint(const TContext& context, TNode& node, std::int32_t nodeId) {
    const std::vector<std::string> lines = nodeLabelLines(context, node, nodeId);
    EnsureLabelOffsets(node, -TextWidth(Q(lines.front()), kLabelTextSize) - 4, 4);
    if (context.Dragging()) DrawLabelMarker(context.Canvas, node);
    drawDemandArrows(context, node);
    DrawJoinPoint(context.Canvas, node.X, node.Y);
}

void TMetaFileDrawing::drawDemandArrows(const TContext& context, const TNode& node) {
    QPainter& canvas = context.Canvas;
    const auto drawArrow = [&](double flow_m3s, int dx, int dy, const QColor& colour, bool intoNode) {
        const int endX = node.X + dx;
        const int endY = node.Y + dy;
        if (context.Dragging()) DrawDisc(canvas, endX, endY, 7, DrawingColours::Highlight);
        DrawLine(canvas, node.X, node.Y, endX, endY, colour);
        if (intoNode)
            DrawArrowHeadBefore(canvas, endX, endY, node.X, node.Y, 4, colour);
        else
            DrawArrowHeadBefore(canvas, node.X, node.Y, endX, endY, 0, colour);
        const int textY = endY < node.Y ? endY - 13 : endY + 3;
        DrawText(canvas, endX - 5, textY, Q(DemandFlowText(context.Network, flow_m3s)), colour, kDemandTextSize);
    };
    if (node.JointSupply_m3s > 0)
        drawArrow(node.JointSupply_m3s, node.DemandInLabelOffsetX, node.DemandInLabelOffsetY, DrawingColours::DemandIn,
                  true);
    if (node.JointDischarge_m3s > 0)
        drawArrow(node.JointDischarge_m3s, node.DemandOutLabelOffsetX, node.DemandOutLabelOffsetY,
                  DrawingColours::DemandOut, false);
}

// ---- Items on pipes ---------------------------------------------------------------------------------

void TMetaFileDrawing::drawItemsOnPipes(const TContext& context) {
    TNetwork& network = context.Network;
    const std::int32_t count = network.GetNodeLinkCount();
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const TNode& from = network.GetNode(link.FromNodeId);
        const TNode& to = network.GetNode(link.ToNodeId);
        // The flow arrow stops short of a join point's small disc, further from a symbol.
        const int gap = to.NodeType == TNodeType::JoinPoint ? 4 : 9;
        DrawArrowHeadBefore(context.Canvas, from.X, from.Y, to.X, to.Y, gap, DrawingColours::Line);
    }
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        TPipe& pipe = network.GetPipe(link.PipeId);
        if (pipe.HasPump) drawPump(context, link, pipe);
    }
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const TPipe& pipe = network.GetPipe(link.PipeId);
        if (!pipe.HasPump) continue;
        const QColor fill = pipe.CalcPump ? PumpSymbolColour(pipe.Pump.Symbol) : DrawingColours::SwitchedOff;
        if (!fill.isValid()) continue;  // unknown pump symbol: no symbol
        const TNode& from = network.GetNode(link.FromNodeId);
        DrawPumpArrow(context.Canvas, from.X, from.Y, pipe.Pump.X, pipe.Pump.Y, fill);
    }
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        drawFittings(context, link, network.GetPipe(link.PipeId));
    }
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        TPipe& pipe = network.GetPipe(link.PipeId);
        if (pipe.HasComponentPressure) drawComponent(context, link, pipe);
    }
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const TPipe& pipe = network.GetPipe(link.PipeId);
        if (!pipe.HasComponentPressure) continue;
        const TNode& from = network.GetNode(link.FromNodeId);
        const TNode& to = network.GetNode(link.ToNodeId);
        DrawComponentAccent(context.Canvas, pipe.ComponentPressure.Symbol, pipe.ComponentX, pipe.ComponentY,
                            LineAngle(from.X, from.Y, to.X, to.Y), !pipe.CalcComponentPressure);
    }
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        TPipe& pipe = network.GetPipe(link.PipeId);
        if (pipe.HasFlowControl) drawFlowControl(context, link, pipe);
    }
}

void TMetaFileDrawing::drawPump(const TContext& context, const TNodeLink& link, TPipe& pipe) {
    context.Network.SetPumpXYFromPercentagePosition(link.PipeId);
    const int px = pipe.Pump.X;
    const int py = pipe.Pump.Y;
    const bool switchedOff = !pipe.CalcPump;
    const TPumpLabelTexts texts =
        PumpLabelTexts(context.Network, link.PipeId, context.ResultsMode, context.Dragging());
    if (context.Dragging()) DrawDisc(context.Canvas, px, py, 7, DrawingColours::Highlight);
    DrawText(context.Canvas, px + 2, py + 8, Q(texts.Line1), DrawingColours::Label, kLabelTextSize);
    DrawText(context.Canvas, px + 2, py + 18, Q(texts.Line2), DrawingColours::Label, kLabelTextSize);
    // The casing here, the arrows of all pumps after all casings.
    const QColor fill = switchedOff ? DrawingColours::SwitchedOff : PumpSymbolColour(pipe.Pump.Symbol);
    if (!fill.isValid()) return;  // unknown pump symbol: no symbol
    DrawPumpCasing(context.Canvas, px, py, switchedOff ? DrawingColours::SwitchedOff : DrawingColours::Line);
}

void TMetaFileDrawing::drawFittings(const TContext& context, const TNodeLink& link, TPipe& pipe) {
    const TNetworkSettings& settings = context.Network.Settings;
    if (pipe.Fittings.Count() == 0 || !(settings.ShowFittingsValves || settings.ShowFittingsBends)) return;
    const TNode& from = context.Network.GetNode(link.FromNodeId);
    const TNode& to = context.Network.GetNode(link.ToNodeId);
    const QPoint point = PointAlongLine(from.X, from.Y, to.X, to.Y, pipe.FittingsPositionPercent);
    pipe.FittingsX = point.x();
    pipe.FittingsY = point.y();

    const double angle = LineAngle(from.X, from.Y, to.X, to.Y);
    const QColor colour = pipe.CalcFittings ? DrawingColours::Line : DrawingColours::SwitchedOff;
    const int kind = pipe.Fittings.GetFittingSetSymbolType(settings.ShowFittingsBends, settings.ShowFittingsValves);
    if (context.Dragging()) DrawDisc(context.Canvas, point.x(), point.y(), 8, DrawingColours::Highlight);
    if (kind & 1) DrawBendSymbol(context.Canvas, point.x(), point.y(), angle, colour);
    if (kind & 2) DrawValveSymbol(context.Canvas, point.x(), point.y(), angle, colour);
    if (settings.ShowFittingsKValue) DrawKValueBox(context.Canvas, point.x(), point.y(), angle, Q(FittingsKValueText(pipe)));
    if (context.ResultsMode && pipe.CalcFittings && settings.ShowFittingsPressureLoss)
        DrawText(context.Canvas, point.x() + 3, point.y() + 6, Q(FittingsLossText(context.Network, pipe)),
                 DrawingColours::Line, kLabelTextSize);
}

void TMetaFileDrawing::drawComponent(const TContext& context, const TNodeLink& link, TPipe& pipe) {
    const TNode& from = context.Network.GetNode(link.FromNodeId);
    const TNode& to = context.Network.GetNode(link.ToNodeId);
    const QPoint point = PointAlongLine(from.X, from.Y, to.X, to.Y, pipe.ComponentPositionPercent);
    pipe.ComponentX = point.x();
    pipe.ComponentY = point.y();

    const bool switchedOff = !pipe.CalcComponentPressure;
    const QColor colour = switchedOff ? DrawingColours::SwitchedOff : DrawingColours::Line;
    const int symbol = pipe.ComponentPressure.Symbol;
    const QString name = context.Network.Settings.ShowComponentName ? Q(pipe.ComponentPressure.Name()) : QString();
    if (context.Dragging())
        DrawDisc(context.Canvas, point.x(), point.y(), symbol == 11 ? 9 : 8, DrawingColours::Highlight);
    // Its accent comes with those of all components, after all outlines.
    DrawComponentSymbol(context.Canvas, symbol, point.x(), point.y(), LineAngle(from.X, from.Y, to.X, to.Y), colour,
                        switchedOff, name, false);
}

void TMetaFileDrawing::drawFlowControl(const TContext& context, const TNodeLink& link, TPipe& pipe) {
    const TNode& from = context.Network.GetNode(link.FromNodeId);
    const TNode& to = context.Network.GetNode(link.ToNodeId);
    const QPoint point = PointAlongLine(from.X, from.Y, to.X, to.Y, pipe.FlowControlPositionPercent);
    pipe.FlowControlX = point.x();
    pipe.FlowControlY = point.y();

    const QColor colour = pipe.CalcFlowControl ? DrawingColours::Line : DrawingColours::SwitchedOff;
    const QString name = context.Network.Settings.ShowFlowControlName ? Q(pipe.FlowControlName) : QString();
    if (context.Dragging()) DrawDisc(context.Canvas, point.x(), point.y(), 8, DrawingColours::Highlight);
    DrawFlowControlSymbol(context.Canvas, point.x(), point.y(), LineAngle(from.X, from.Y, to.X, to.Y), colour, name);
}

// ---- Free texts and the editor's marks ------------------------------------------------------------------

void TMetaFileDrawing::drawFreeTexts(const TContext& context) {
    const TNetwork& network = context.Network;
    const bool marked = context.Dragging() || context.State.CurrentTool == TDrawingState::ToolAddFreeText;
    for (std::int32_t i = 1; i <= network.GetFreeTextCount(); ++i) {
        const TFreeText& text = network.GetFreeText(i);
        if (marked) DrawDisc(context.Canvas, text.X, text.Y, 7, DrawingColours::Highlight);
        const int lineHeight = CachedDrawingFontMetrics(text.FontSize, text.Style).height();  // the height of "A"
        const double angle = -text.Angle / 360.0 * 2 * std::numbers::pi;
        for (std::size_t line = 0; line < text.Text.size(); ++line) {
            int x = text.X;
            int y = text.Y + RoundHalfEven(lineHeight * static_cast<double>(line));
            RotatePoint(x, y, text.X, text.Y, angle);
            DrawRotatedText(context.Canvas, x, y, Q(text.Text[line]), text.Angle, FromStoredColour(text.Colour),
                            text.FontSize, text.Style);
        }
    }
}

void TMetaFileDrawing::drawRubberBand(const TContext& context) {
    const TDrawingState& state = context.State;
    if (state.RubberBandOn == 0 || state.SelectedNodeId <= 0) return;
    const TNode& node = context.Network.GetNode(state.SelectedNodeId);
    DrawLine(context.Canvas, node.X, node.Y, state.RubberBandX, state.RubberBandY, DrawingColours::Label);
    DrawArrowHeadBefore(context.Canvas, node.X, node.Y, state.RubberBandX, state.RubberBandY, 3, DrawingColours::Label);
}

void TMetaFileDrawing::drawSelectionRectangle(const TContext& context) {
    const TDrawingState& state = context.State;
    if (state.SelectionStage < TDrawingState::SelectionDragging || state.SelectionStage > TDrawingState::SelectionMoving)
        return;
    DrawFrameRect(context.Canvas, state.SelectionX1, state.SelectionY1, state.SelectionX2, state.SelectionY2,
                  DrawingColours::Label, Qt::DashLine, Qt::NoBrush);
}
