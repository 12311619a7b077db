#include "results/VM4_CanvasHitTests.h"

#include <cstdint>
#include <functional>

#include "model/VM4_Network_Class.h"

namespace {

// Half the side of the box an item's anchor must lie strictly inside.
constexpr std::int64_t kItemCaptureBand = 10;

// Positions and offsets may come from a file: sums are taken in 64 bits so
// that items near the ends of the int32 range neither overflow nor wrap round.
bool isWithinBand(std::int64_t value, std::int64_t centre) {
    return centre - kItemCaptureBand < value && value < centre + kItemCaptureBand;
}

bool isAnchorAt(std::int64_t x, std::int64_t y, int px, int py) { return isWithinBand(x, px) && isWithinBand(y, py); }

bool isAnchorAt(std::int32_t x, std::int32_t dx, std::int32_t y, std::int32_t dy, int px, int py) {
    return isAnchorAt(std::int64_t{x} + dx, std::int64_t{y} + dy, px, py);
}

bool isOnLink(const TNetwork& network, const TNodeLink& link, int px, int py) {
    const TNode& from = network.GetNode(link.FromNodeId);
    const TNode& to = network.GetNode(link.ToNodeId);
    return TNetwork::IsPointOnLine(px, py, from.X, from.Y, to.X, to.Y);
}

// The first node in id order that passes the test; 0 when none.
int firstNode(const TNetwork& network, const std::function<bool(const TNode&)>& matches) {
    for (std::int32_t id = network.GetNextNodeId(0); id != -1; id = network.GetNextNodeId(id)) {
        if (matches(network.GetNode(id))) return id;
    }
    return 0;
}

// The first open pipe in link order that passes the test; 0 when none.
int firstOpenPipe(const TNetwork& network, const std::function<bool(const TPipe&)>& matches) {
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const std::int32_t pipeId = network.GetNodeLink(k).PipeId;
        if (matches(network.GetPipe(pipeId))) return pipeId;
    }
    return 0;
}

}  // namespace

bool CheckXYMatch(int x, int y, int px, int py) { return isAnchorAt(std::int64_t{x}, std::int64_t{y}, px, py); }

int CheckNodeClick(const TNetwork& network, int px, int py) {
    return firstNode(network, [&](const TNode& node) { return CheckXYMatch(node.X, node.Y, px, py); });
}

// Where open pipes cross, the one drawn last (on top) is the one picked.
int CheckPipeClick(const TNetwork& network, int px, int py) {
    int found = 0;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        if (isOnLink(network, link, px, py)) found = link.PipeId;
    }
    return found > 0 ? found : CheckClosedPipeClick(network, px, py);
}

int CheckClosedPipeClick(const TNetwork& network, int px, int py) {
    int found = -1;
    for (std::int32_t k = 1; k <= network.GetClosedPipeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLinkClosedPipe(k);
        if (isOnLink(network, link, px, py)) found = link.PipeId;
    }
    return found;
}

int CheckPumpClick(const TNetwork& network, int px, int py) {
    return firstOpenPipe(network,
                         [&](const TPipe& pipe) { return pipe.HasPump && CheckXYMatch(pipe.Pump.X, pipe.Pump.Y, px, py); });
}

int CheckPipeFittingClick(const TNetwork& network, int px, int py) {
    return firstOpenPipe(network, [&](const TPipe& pipe) {
        return pipe.Fittings.Count() > 0 && CheckXYMatch(pipe.FittingsX, pipe.FittingsY, px, py);
    });
}

int CheckPipeComponentPressureClick(const TNetwork& network, int px, int py) {
    return firstOpenPipe(network, [&](const TPipe& pipe) {
        return pipe.HasComponentPressure && CheckXYMatch(pipe.ComponentX, pipe.ComponentY, px, py);
    });
}

int CheckPipeFlowControlClick(const TNetwork& network, int px, int py) {
    return firstOpenPipe(network, [&](const TPipe& pipe) {
        return pipe.HasFlowControl && CheckXYMatch(pipe.FlowControlX, pipe.FlowControlY, px, py);
    });
}

int CheckPipeTextClick(const TNetwork& network, int px, int py) {
    return firstOpenPipe(network, [&](const TPipe& pipe) { return CheckXYMatch(pipe.LabelX, pipe.LabelY, px, py); });
}

int CheckNodeDemandInClick(const TNetwork& network, int px, int py) {
    return firstNode(network, [&](const TNode& node) {
        return node.JointSupply_m3s != 0.0 &&
               isAnchorAt(node.X, node.DemandInLabelOffsetX, node.Y, node.DemandInLabelOffsetY, px, py);
    });
}

int CheckNodeDemandOutClick(const TNetwork& network, int px, int py) {
    return firstNode(network, [&](const TNode& node) {
        return node.JointDischarge_m3s != 0.0 &&
               isAnchorAt(node.X, node.DemandOutLabelOffsetX, node.Y, node.DemandOutLabelOffsetY, px, py);
    });
}

int CheckNodeTextClick(const TNetwork& network, int px, int py) {
    return firstNode(network, [&](const TNode& node) {
        return isAnchorAt(node.X, node.NameLabelOffsetX, node.Y, node.NameLabelOffsetY, px, py);
    });
}

// Free texts are drawn in index order, so the last one at the point is on top.
int CheckFreeTextClick(const TNetwork& network, int px, int py) {
    int found = 0;
    for (std::int32_t index = 1; index <= network.GetFreeTextCount(); ++index) {
        const TFreeText& text = network.GetFreeText(index);
        if (CheckXYMatch(text.X, text.Y, px, py)) found = index;
    }
    return found;
}
