#pragma once

#include <cstdint>
#include <string>

#include "editor/tools/VM4_ToolHost.h"
#include "model/VM4_Node_Class.h"

class TNode;

// The additions the drawing tools share: nodes of each kind, pipes (with the
// split of a pipe a node is dropped on), and the snapping of points to the
// grid. Each refusal is shown with its exact text and leaves the document as it
// was; each addition is recorded in the undo log under the separator the
// calling tool wrote.
class TDrawingEdits {
public:
    static constexpr int GridSpacing = 40;
    static constexpr int MaxNodes = 1000;
    static constexpr int MaxPipes = 1000;

    explicit TDrawingEdits(IToolHost& host) : host_(host) {}

    // A coordinate not on the 40-unit grid goes to the nearest grid line; the
    // result is kept within 40 .. limit - 40 (the sheet's grid points).
    static int SnapToGrid(int value, int limit);
    static int SnapX(int x);
    static int SnapY(int y);

    // A join point at (x, y): asks to retype a node already there, or to split a
    // pipe the point is on. The new node's id, or -1 when none was added.
    std::int32_t AddJoint(int x, int y, double elevation_m);
    void AddTankContainer(int x, int y, int symbol);
    void AddDemandPressure(int x, int y, int symbol);
    // A pipe from the default pipe between two nodes; false after a refusal.
    bool AddPipeLink(std::int32_t fromNodeId, std::int32_t toNodeId);

    // The node at exactly (x, y) other than `exceptNodeId`; 0 when none.
    std::int32_t OtherNodeAt(int x, int y, std::int32_t exceptNodeId) const;

private:
    static TNode nodeAt(TNodeType type, int x, int y);
    std::int32_t addNamedNode(const TNode& node);
    bool refuseNewNode(int x, int y, const char* onPipeMessage);
    void retypeNode(std::int32_t nodeId, const char* question, int type, int symbol);
    std::int32_t splitPipe(std::int32_t pipeId, int x, int y);
    std::string firstPipeReminder() const;
    void inform(const std::string& text);
    bool ask(const std::string& text);

    IToolHost& host_;
};
