// Drawing geometry of the network: hit tests of points against pipes, nodes
// lying on pipes, selection of nodes and free texts by rectangle, and keeping a
// pump's symbol and its position along its pipe in step. Coordinates are integer
// drawing units; a pipe is the straight segment between its two nodes.
//
// Positions may come from a file, so every sum and product is taken in floating
// point and brought back into the int32 range at the end.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

#include "model/VM4_Network_Class.h"

namespace {

// Capture band either side of a vertical pipe, and above and below any other
// pipe (widened by its integer steepness).
constexpr double kVerticalCaptureBand = 10.0;
constexpr double kSlopedCaptureBand = 15.0;

// The pump symbol never goes past this share of its pipe...
constexpr double kMaxPumpSymbolPercent = 95.0;
// ...and is moved along by whole percents until it is this far from the from-node,
// for at most this many steps.
constexpr double kMinPumpSymbolOffset = 6.0;
constexpr int kMaxPumpSymbolSteps = 10;

// Rounded to the nearest integer, ties to the even one (the default rounding mode).
double roundHalfEven(double value) { return std::nearbyint(value); }

std::int32_t clampToInt32(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (!(value > lowest)) return std::numeric_limits<std::int32_t>::min();
    if (!(value < highest)) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::int32_t clampedSum(std::int32_t start, std::int32_t offset) {
    return clampToInt32(static_cast<double>(start) + static_cast<double>(offset));
}

bool isStrictlyBetween(double value, double end1, double end2) {
    return end1 < end2 ? end1 < value && value < end2 : end2 < value && value < end1;
}

// A segment with its ends ordered so that X1 <= X2, as every test here wants it.
struct TOrderedSegment {
    double X1, Y1, X2, Y2;

    TOrderedSegment(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
        : X1(x1), Y1(y1), X2(x2), Y2(y2) {
        if (X2 < X1) {
            std::swap(X1, X2);
            std::swap(Y1, Y2);
        }
    }

    bool IsVertical() const { return X1 == X2; }

    bool IsOnVertical(double px, double py) const {
        return X1 - kVerticalCaptureBand < px && px < X1 + kVerticalCaptureBand && isStrictlyBetween(py, Y1, Y2);
    }

    // yLine = round((px - x1) * m + y1), m = (y2 - y1) / (x2 - x1)
    double LineYAt(double px) const { return roundHalfEven((px - X1) * Slope() + Y1); }

    // py - 15 - t < yLine < py + 15 + t and x1 < px < x2, with t = trunc(|m|)
    bool IsOnSloped(double px, double py) const {
        const double steepness = std::trunc(std::fabs(Slope()));
        const double yLine = LineYAt(px);
        return py - kSlopedCaptureBand - steepness < yLine && yLine < py + kSlopedCaptureBand + steepness &&
               X1 < px && px < X2;
    }

    double Slope() const { return (Y2 - Y1) / (X2 - X1); }
};

struct TGridPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

TGridPoint nodePosition(const TNetwork& network, std::int32_t nodeId) {
    const TNode& node = network.GetNode(nodeId);
    return {node.X, node.Y};
}

bool isPointOnLink(const TNetwork& network, const TNodeLink& link, std::int32_t px, std::int32_t py) {
    const TGridPoint from = nodePosition(network, link.FromNodeId);
    const TGridPoint to = nodePosition(network, link.ToNodeId);
    return TNetwork::IsPointOnLine(px, py, from.X, from.Y, to.X, to.Y);
}

// The symbol offset from the from-node at p percent of the way to the to-node.
TGridPoint offsetAtPercent(double percent, double dx_total, double dy_total) {
    return {clampToInt32(roundHalfEven(percent / 100.0 * dx_total)),
            clampToInt32(roundHalfEven(percent / 100.0 * dy_total))};
}

bool isTooCloseToStart(const TGridPoint& offset) {
    return std::abs(static_cast<double>(offset.X)) < kMinPumpSymbolOffset &&
           std::abs(static_cast<double>(offset.Y)) < kMinPumpSymbolOffset;
}

bool existsOtherNodeAtSamePosition(const TNetwork& network, std::int32_t nodeId) {
    const TNode& node = network.GetNode(nodeId);
    for (std::int32_t other = network.GetNextNodeId(0); other != -1; other = network.GetNextNodeId(other)) {
        if (other != nodeId && network.GetNode(other).X == node.X && network.GetNode(other).Y == node.Y) return true;
    }
    return false;
}

struct TPipeEnds {
    TGridPoint From;
    TGridPoint To;
};

// The ends of the pipe's open link, or of its closed one: a closed pipe is
// still drawn between its nodes. False for a pipe without any link.
bool findPipeEnds(const TNetwork& network, std::int32_t pipeId, TPipeEnds& ends) {
    std::int32_t fromNodeId = 0;
    std::int32_t toNodeId = 0;
    if (!network.GetPipeNodes(pipeId, fromNodeId, toNodeId)) {
        std::int32_t k = network.GetClosedPipeLinkCount();
        while (k >= 1 && network.GetNodeLinkClosedPipe(k).PipeId != pipeId) --k;
        if (k < 1) return false;
        fromNodeId = network.GetNodeLinkClosedPipe(k).FromNodeId;
        toNodeId = network.GetNodeLinkClosedPipe(k).ToNodeId;
    }
    ends.From = nodePosition(network, fromNodeId);
    ends.To = nodePosition(network, toNodeId);
    return true;
}

double distance(const TGridPoint& a, const TGridPoint& b) {
    return std::hypot(static_cast<double>(b.X) - a.X, static_cast<double>(b.Y) - a.Y);
}

}  // namespace

// ---- Points and segments -------------------------------------------------------------

bool TNetwork::IsPointOnLine(std::int32_t px, std::int32_t py, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                             std::int32_t y2) {
    const TOrderedSegment segment(x1, y1, x2, y2);
    return segment.IsVertical() ? segment.IsOnVertical(px, py) : segment.IsOnSloped(px, py);
}

// A miss on a vertical segment leaves the point alone; a miss on any other
// segment sets it to (0, 0), which the caller reads as a miss.
void TNetwork::SnapPointToLine(std::int32_t& px, std::int32_t& py, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                               std::int32_t y2) {
    const TOrderedSegment segment(x1, y1, x2, y2);
    if (segment.IsVertical()) {
        if (segment.IsOnVertical(px, py)) px = clampToInt32(segment.X1);
        return;
    }
    if (segment.IsOnSloped(px, py)) {
        py = clampToInt32(segment.LineYAt(px));
    } else {
        px = 0;
        py = 0;
    }
}

// ---- Points on pipes -------------------------------------------------------------------

std::int32_t TNetwork::IsPointOnAnyNetworkLine(std::int32_t px, std::int32_t py) const {
    std::int32_t hitPipeId = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[static_cast<std::size_t>(k)];
        if (!isPointOnLink(*this, link, px, py)) continue;
        if (hitPipeId != 0) return -1;
        hitPipeId = link.PipeId;
    }
    return hitPipeId;
}

std::int32_t TNetwork::IsPointOnAnyLineFromThisNode(std::int32_t nodeId, std::int32_t px, std::int32_t py) const {
    std::int32_t hitPipeId = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[static_cast<std::size_t>(k)];
        if (link.Touches(nodeId) && isPointOnLink(*this, link, px, py)) hitPipeId = link.PipeId;
    }
    return hitPipeId;
}

std::int32_t TNetwork::IsPointOnAnyLineNotFromThisNode(std::int32_t nodeId, std::int32_t px, std::int32_t py) const {
    std::int32_t hitPipeId = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[static_cast<std::size_t>(k)];
        if (!link.Touches(nodeId) && isPointOnLink(*this, link, px, py)) hitPipeId = link.PipeId;
    }
    return hitPipeId;
}

// ---- Nodes on pipes --------------------------------------------------------------------

// The segment's own end nodes are tested too: ends never count as on the segment.
bool TNetwork::ExistsNodesOnPipeLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const {
    for (std::int32_t id = GetNextNodeId(0); id != -1; id = GetNextNodeId(id)) {
        const TNode& node = GetNode(id);
        if (IsPointOnLine(node.X, node.Y, x1, y1, x2, y2)) return true;
    }
    return false;
}

bool TNetwork::ExistsNodesOnPipeLinkLine(std::int32_t nodeIdA, std::int32_t nodeIdB) const {
    const TGridPoint a = nodePosition(*this, nodeIdA);
    const TGridPoint b = nodePosition(*this, nodeIdB);
    return ExistsNodesOnPipeLine(a.X, a.Y, b.X, b.Y);
}

bool TNetwork::ExistsNodesOnAnyLineFromThisNode(std::int32_t nodeId) const {
    for (std::int32_t k = GetNextUndirectedNodeLinkId(nodeId, 0); k != -1; k = GetNextUndirectedNodeLinkId(nodeId, k)) {
        const TNodeLink& link = NodeLinks[static_cast<std::size_t>(k)];
        if (ExistsNodesOnPipeLinkLine(link.FromNodeId, link.ToNodeId)) return true;
    }
    return false;
}

bool TNetwork::ExistsAnyNodeOrPipeDrawingIssue() const {
    for (std::int32_t id = GetNextNodeId(0); id != -1; id = GetNextNodeId(id)) {
        if (existsOtherNodeAtSamePosition(*this, id) || ExistsNodesOnAnyLineFromThisNode(id)) return true;
    }
    return false;
}

// ---- Selection ----------------------------------------------------------------------------

// Only what lies strictly inside is selected: an edge through a node leaves it out.
void TNetwork::SetSelectedNodes(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    const auto isInside = [&](std::int32_t x, std::int32_t y) {
        return left < x && x < right && top < y && y < bottom;
    };
    const auto select = [&](auto& item) {
        item.Selected = isInside(item.X, item.Y);
        if (!item.Selected) return;
        item.SelectStartX = item.X;
        item.SelectStartY = item.Y;
    };
    for (std::int32_t id = GetNextNodeId(0); id != -1; id = GetNextNodeId(id)) select(GetNode(id));
    for (std::int32_t index = 1; index <= FreeTextCount; ++index) select(FreeTexts[static_cast<std::size_t>(index)]);
}

// Always from the selection start, so that the repeated calls of a drag do not add up.
void TNetwork::MoveSelectedNodes(std::int32_t dx, std::int32_t dy) {
    const auto move = [&](auto& item) {
        if (!item.Selected) return;
        item.X = clampedSum(item.SelectStartX, dx);
        item.Y = clampedSum(item.SelectStartY, dy);
    };
    for (std::int32_t id = GetNextNodeId(0); id != -1; id = GetNextNodeId(id)) move(GetNode(id));
    for (std::int32_t index = 1; index <= FreeTextCount; ++index) move(FreeTexts[static_cast<std::size_t>(index)]);
}

std::int32_t TNetwork::GetNumberOfNodesSelected() const {
    std::int32_t count = 0;
    for (std::int32_t id = GetNextNodeId(0); id != -1; id = GetNextNodeId(id)) {
        if (GetNode(id).Selected) ++count;
    }
    return count;
}

std::int32_t TNetwork::GetSelectedNodeId() const {
    for (std::int32_t id = GetNextNodeId(0); id != -1; id = GetNextNodeId(id)) {
        if (GetNode(id).Selected) return id;
    }
    return 0;
}

// Selected free texts stay: only nodes and their pipes go.
void TNetwork::DeleteSelectedNodesAndPipes() {
    for (std::int32_t id = GetNextNodeId(0); id != -1; id = GetNextNodeId(id)) {
        if (!GetNode(id).Selected) continue;
        RemoveAllPipeLinksFromToNode(id);
        RemoveNode(id);
    }
}

// ---- Pump placement -------------------------------------------------------------------------

// percent = |P - F| / |T - F| * 100 (not limited); distance = percent / 100 * length,
// to whole metres. A pipe whose ends coincide has no direction: the pump goes to its start.
void TNetwork::SetPumpPercentagePositionFromXY(std::int32_t pipeId) {
    TPipeEnds ends;
    if (!findPipeEnds(*this, pipeId, ends)) return;
    TPipe& pipe = GetPipe(pipeId);
    const double pipeLength = distance(ends.From, ends.To);
    const double pumpOffset = distance(ends.From, {pipe.Pump.X, pipe.Pump.Y});
    const double percent = pipeLength > 0.0 ? pumpOffset / pipeLength * 100.0 : 0.0;
    pipe.PumpPositionPercent = percent;
    pipe.PumpDistanceFromStart_m = roundHalfEven(percent / 100.0 * pipe.Length_m);
    SetPumpXYFromPercentagePosition(pipeId);
}

// On the pipe, at most 95 % along it, and stepped on by whole percents (at most
// ten times) while it sits within 6 units of the from-node in both directions.
void TNetwork::SetPumpXYFromPercentagePosition(std::int32_t pipeId) {
    TPipeEnds ends;
    if (!findPipeEnds(*this, pipeId, ends)) return;
    TPipe& pipe = GetPipe(pipeId);
    const double dxTotal = static_cast<double>(ends.To.X) - ends.From.X;
    const double dyTotal = static_cast<double>(ends.To.Y) - ends.From.Y;
    double percent = std::fmin(pipe.PumpPositionPercent, kMaxPumpSymbolPercent);
    TGridPoint offset = offsetAtPercent(percent, dxTotal, dyTotal);
    for (int step = 0; step < kMaxPumpSymbolSteps && isTooCloseToStart(offset); ++step) {
        percent += 1.0;
        offset = offsetAtPercent(percent, dxTotal, dyTotal);
    }
    pipe.Pump.X = clampedSum(ends.From.X, offset.X);
    pipe.Pump.Y = clampedSum(ends.From.Y, offset.Y);
}
