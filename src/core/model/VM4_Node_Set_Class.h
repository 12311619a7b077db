#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_Node_Class.h"

// The fixed pool of nodes. Slot numbers 1..MaxNodes are the node ids. Free slots
// form a chain through their link words; the id freed last is handed out first,
// and after Clear ids are handed out in ascending order. All slots are allocated
// once, at construction.
class TNodeSet {
public:
    static constexpr std::int32_t MaxNodes = 1000;
    // Link word of a used slot, and the end of the free chain.
    static constexpr std::int32_t UsedSlot = 0;
    static constexpr std::int32_t EndOfChain = -1;

    TNodeSet();

    // Clears every node and chains all slots 1 -> 2 -> ... -> MaxNodes -> end.
    void Clear();

    // Copies `node` into the slot at the head of the free chain (TNode::Copy, so the
    // slot keeps its own name) and returns its id. Raises ENodeClass when full.
    std::int32_t AddNode(const TNode& node);

    // Clears a used node and puts its slot at the head of the free chain.
    // Raises ENodeClass for an id outside 1..MaxNodes or a free slot.
    void RemoveNode(std::int32_t nodeId);

    // The slot's node, used or not. Raises ENodeClass for an id outside 1..MaxNodes.
    TNode& GetNode(std::int32_t nodeId);
    const TNode& GetNode(std::int32_t nodeId) const;

    bool IsNodeUsed(std::int32_t nodeId) const;
    std::int32_t GetNodeCount() const { return count_; }

    // Iteration in id order: start getNextNodeId from 0; -1 ends it.
    std::int32_t getNextNodeId(std::int32_t nodeId) const;
    std::int32_t getPreviousNodeId(std::int32_t nodeId) const;
    // -1 when the set is empty.
    std::int32_t getHighestNodeId() const;

    // The highest used id whose node is exactly at (x, y); 0 when none.
    std::int32_t ExistsNodeWithSamePosition(std::int32_t x, std::int32_t y) const;

    // The node block of network files: the count, then per used slot in ascending
    // id order its id, its node record and its link word (0).
    void WriteRecord(TByteWriter& writer) const;
    // Clears the set, then puts every saved node back under its own id; the free ids
    // stay chained in ascending order. Rejects counts and ids that do not fit the pool
    // and ids given twice.
    void ReadRecord(TByteReader& reader);

    // Scratch node for callers that need a working copy.
    TNode SpareNode;

private:
    static bool isValidId(std::int32_t nodeId) { return nodeId >= 1 && nodeId <= MaxNodes; }
    void unlinkFromFreeChain(std::int32_t nodeId);
    std::int32_t readSavedCount(TByteReader& reader) const;
    std::int32_t readSavedId(TByteReader& reader) const;

    // Index 0 is unused so that ids index the slots directly.
    std::vector<TNode> nodes_;
    std::vector<std::int32_t> links_;
    std::int32_t freeHead_ = 1;
    std::int32_t count_ = 0;
};
