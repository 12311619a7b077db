#pragma once

#include <QPicture>
#include <memory>
#include <string>
#include <vector>

#include "editor/VM4_DrawingState.h"
#include "editor/VM4_TextLayer.h"

class QPainter;
class TNetwork;
class TNode;
class TPipe;
struct TNodeLink;

// The network drawing: a vector picture in drawing units (one unit is one pixel
// at 100%), regenerated whole from the document and the editor state after
// every change, then stretched onto the screen, an image or the printer. Its
// texts are kept beside the picture in a text layer of the same units (see
// TTextLayer); showing the drawing paints the picture and then its texts.
//
// Drawing writes back into the document what the editor's hit tests need: the
// default label offsets of nodes, the label positions of pipes and the points
// of the pump, fittings, component and flow control on each open pipe.
class TMetaFileDrawing {
public:
    TMetaFileDrawing(int width, int height);
    ~TMetaFileDrawing();
    TMetaFileDrawing(const TMetaFileDrawing&) = delete;
    TMetaFileDrawing& operator=(const TMetaFileDrawing&) = delete;

    // Empties the picture.
    void Clear();
    // Opens a canvas on a fresh picture, with the grid unless in results mode or
    // drawGrid is false. The canvas lives until TransferMetaFileCanvasToMetaFile.
    QPainter& CreateMetaFileCanvas(bool resultsMode, bool drawGrid);
    // Opens a canvas that starts with the current picture's content.
    QPainter& CreateMetaFileCanvasFromMetaFile();
    // Closes the canvas; the picture then holds what was drawn.
    void TransferMetaFileCanvasToMetaFile();
    // Grid lines every 40 units across the whole picture, on the open canvas.
    void DrawGridLines();

    // Regenerates the picture from the document. flashOn highlights the nodes and
    // pipes whose id mod 2 equals flashParity (the calculation's animation).
    void DrawMetaFileFromNetwork(TNetwork& network, int flashParity, bool flashOn, bool drawGrid, bool resultsMode,
                                 const TDrawingState& state);

    // Stretches the picture into the rectangle (Left, Top)-(Right, Bottom) of the target.
    void PaintOnto(QPainter& target, int left, int top, int right, int bottom) const;

    // The picture without its texts, and the texts.
    const QPicture& Picture() const { return picture_; }
    const TTextLayer& Texts() const { return texts_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    struct TContext;

    void drawNodeHighlights(const TContext& context);
    void drawOpenPipes(const TContext& context);
    void drawClosedPipes(const TContext& context);
    void drawPipeHighlight(const TContext& context, const TNodeLink& link);
    void drawNodes(const TContext& context);
    void drawTank(const TContext& context, TNode& node, std::int32_t nodeId);
    void drawEndPressure(const TContext& context, TNode& node, std::int32_t nodeId);
    void drawJoinPoint(const TContext& context, TNode& node, std::int32_t nodeId);
    void drawDemandArrows(const TContext& context, const TNode& node);
    // The lines of a node's label, first line first.
    std::vector<std::string> nodeLabelLines(const TContext& context, const TNode& node, std::int32_t nodeId) const;
    void drawItemsOnPipes(const TContext& context);
    void drawPump(const TContext& context, const TNodeLink& link, TPipe& pipe);
    void drawFittings(const TContext& context, const TNodeLink& link, TPipe& pipe);
    void drawComponent(const TContext& context, const TNodeLink& link, TPipe& pipe);
    void drawFlowControl(const TContext& context, const TNodeLink& link, TPipe& pipe);
    void drawFreeTexts(const TContext& context);
    void drawRubberBand(const TContext& context);
    void drawSelectionRectangle(const TContext& context);

    QPicture picture_;
    TTextLayer texts_;
    std::unique_ptr<QPainter> canvas_;
    std::unique_ptr<TTextLayer::TCapture> capture_;
    int width_;
    int height_;
};
