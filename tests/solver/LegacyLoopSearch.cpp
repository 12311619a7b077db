#include "LegacyLoopSearch.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <set>

namespace {

constexpr std::int32_t kFar = std::numeric_limits<std::int32_t>::max();

bool isFixed(const TNetwork& network, std::int32_t nodeId) {
    const TNodeType type = network.GetNode(nodeId).NodeType;
    return type == TNodeType::Tank || type == TNodeType::DemandPressure;
}

struct TEntry {
    std::int32_t Distance = kFar;
    std::int32_t Previous = 0;
    std::int32_t PreviousPipe = 0;
    bool Visited = false;
};

class TLegacySearch {
public:
    explicit TLegacySearch(const TNetwork& network) : network_(network) {
        for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) links_.push_back(network.GetNodeLink(k));
    }

    TLoopTable Run() {
        for (std::int32_t nodeId = network_.GetNextNodeId(0); nodeId > 0; nodeId = network_.GetNextNodeId(nodeId)) {
            for (std::size_t c = 0; c < links_.size(); ++c) {
                if (links_[c].Touches(nodeId)) searchAcross(nodeId, c);
            }
            removeLastIfDuplicateOrDependent();
        }
        return table_;
    }

private:
    void searchAcross(std::int32_t start, std::size_t closing) {
        entries_.assign(1001, TEntry{});
        entries_[static_cast<std::size_t>(start)].Visited = true;
        const bool startJoin = network_.GetNode(start).NodeType == TNodeType::JoinPoint;
        std::int32_t current = start;
        std::int32_t distance = 0;
        for (;;) {
            for (std::size_t k = 0; k < links_.size(); ++k) {
                const TNodeLink& link = links_[k];
                const std::int32_t cameFrom = entries_[static_cast<std::size_t>(current)].Previous;
                std::int32_t neighbour = 0;
                if (link.FromNodeId == current && link.ToNodeId != cameFrom) neighbour = link.ToNodeId;
                else if (link.ToNodeId == current && link.FromNodeId != cameFrom) neighbour = link.FromNodeId;
                if (neighbour == 0) continue;
                const std::int32_t cost = (current == start && startJoin && k == closing) ? kFar : distance + 1;
                TEntry& entry = entries_[static_cast<std::size_t>(neighbour)];
                if (cost < entry.Distance) entry = {cost, current, link.PipeId, entry.Visited};
            }
            std::int32_t nearest = -1;
            std::int32_t nearestDistance = kFar;
            for (std::int32_t id = 1; id <= 1000; ++id) {
                const TEntry& entry = entries_[static_cast<std::size_t>(id)];
                if (!entry.Visited && entry.Distance >= distance && entry.Distance < nearestDistance) {
                    nearest = id;
                    nearestDistance = entry.Distance;
                }
            }
            if (nearest < 1) break;
            entries_[static_cast<std::size_t>(nearest)].Visited = true;
            current = nearest;
            distance = nearestDistance;
            if (!startJoin && isFixed(network_, start) && current != start && isFixed(network_, current)) {
                record({}, current, start);
            }
        }
        const TNodeLink& link = links_[closing];
        if (!startJoin || link.FromNodeId != start) return;
        const std::int32_t end = link.ToNodeId;
        if (network_.GetNode(end).NodeType != TNodeType::JoinPoint) return;
        if (entries_[static_cast<std::size_t>(end)].Distance == kFar) return;
        record({link.PipeId}, end, start);
    }

    void record(std::vector<std::int32_t> pipes, std::int32_t from, std::int32_t start) {
        if (table_.size() >= 1000) return;
        for (std::int32_t node = from; node != start; node = entries_[static_cast<std::size_t>(node)].Previous) {
            pipes.push_back(entries_[static_cast<std::size_t>(node)].PreviousPipe);
        }
        table_.push_back(std::move(pipes));
        removeLastIfDuplicateOrDependent();
    }

    void removeLastIfDuplicateOrDependent() {
        if (table_.size() < 2) return;
        const std::multiset<std::int32_t> last(table_.back().begin(), table_.back().end());
        for (std::size_t earlier = 0; earlier + 1 < table_.size(); ++earlier) {
            if (std::multiset<std::int32_t>(table_[earlier].begin(), table_[earlier].end()) == last) {
                table_.pop_back();
                break;
            }
        }
        if (table_.size() < 2) return;
        for (const std::int32_t pipe : table_.back()) {
            const bool held = std::any_of(table_.begin(), table_.end() - 1, [pipe](const std::vector<std::int32_t>& loop) {
                return std::find(loop.begin(), loop.end(), pipe) != loop.end();
            });
            if (!held) return;
        }
        table_.pop_back();
    }

    const TNetwork& network_;
    std::vector<TNodeLink> links_;
    std::vector<TEntry> entries_;
    TLoopTable table_;
};

}  // namespace

TLoopTable LoopsByNewPipeRule(const TNetwork& network) { return TLegacySearch(network).Run(); }

std::int32_t IndependentLoopsNeeded(const TNetwork& network) {
    std::vector<std::int32_t> parent(1001);
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&parent](std::int32_t v) {
        while (parent[static_cast<std::size_t>(v)] != v) v = parent[static_cast<std::size_t>(v)];
        return v;
    };
    const auto vertex = [&network](std::int32_t nodeId) { return isFixed(network, nodeId) ? 0 : nodeId; };
    std::int32_t chords = 0;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const std::int32_t a = root(vertex(link.FromNodeId));
        const std::int32_t b = root(vertex(link.ToNodeId));
        if (a == b) ++chords;
        else parent[static_cast<std::size_t>(a)] = b;
    }
    return chords;
}
