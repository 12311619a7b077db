#include "model/VM4_Node_Set_Class.h"

#include <string>

#include "foundations/VM4_BinaryStream.h"

namespace {

const char* const kAddNodeFailed = "TNodeSet.AddNode Failed: May have reached Max number of nodes allowed";
const char* const kRemoveNodeFailed =
    "TNodeSet.RemoveNode Failed: Specified NodeId may not be valid (or is not a used Node)";
// Reading a slot that does not exist would touch memory outside the pool.
const char* const kGetNodeFailed = "TNodeSet.GetNode Failed: Specified NodeId may not be valid";

constexpr std::size_t kSlotCount = TNodeSet::MaxNodes + 1;

}  // namespace

TNodeSet::TNodeSet() : nodes_(kSlotCount), links_(kSlotCount, EndOfChain) { Clear(); }

void TNodeSet::Clear() {
    for (std::int32_t id = 1; id <= MaxNodes; ++id) {
        nodes_[static_cast<std::size_t>(id)].Clear();
        links_[static_cast<std::size_t>(id)] = id < MaxNodes ? id + 1 : EndOfChain;
    }
    freeHead_ = 1;
    count_ = 0;
}

std::int32_t TNodeSet::AddNode(const TNode& node) {
    if (freeHead_ == EndOfChain) throw ENodeClass(kAddNodeFailed);
    const std::int32_t id = freeHead_;
    const auto slot = static_cast<std::size_t>(id);
    freeHead_ = links_[slot];
    nodes_[slot].Copy(node);
    links_[slot] = UsedSlot;
    ++count_;
    return id;
}

void TNodeSet::RemoveNode(std::int32_t nodeId) {
    if (!IsNodeUsed(nodeId)) throw ENodeClass(kRemoveNodeFailed);
    const auto slot = static_cast<std::size_t>(nodeId);
    nodes_[slot].Clear();
    links_[slot] = freeHead_;
    freeHead_ = nodeId;
    --count_;
}

TNode& TNodeSet::GetNode(std::int32_t nodeId) {
    if (!isValidId(nodeId)) throw ENodeClass(kGetNodeFailed);
    return nodes_[static_cast<std::size_t>(nodeId)];
}

const TNode& TNodeSet::GetNode(std::int32_t nodeId) const {
    if (!isValidId(nodeId)) throw ENodeClass(kGetNodeFailed);
    return nodes_[static_cast<std::size_t>(nodeId)];
}

bool TNodeSet::IsNodeUsed(std::int32_t nodeId) const {
    return isValidId(nodeId) && links_[static_cast<std::size_t>(nodeId)] == UsedSlot;
}

std::int32_t TNodeSet::getNextNodeId(std::int32_t nodeId) const {
    for (std::int32_t id = nodeId < 0 ? 1 : nodeId + 1; id <= MaxNodes; ++id) {
        if (IsNodeUsed(id)) return id;
    }
    return -1;
}

std::int32_t TNodeSet::getPreviousNodeId(std::int32_t nodeId) const {
    for (std::int32_t id = nodeId > MaxNodes ? MaxNodes : nodeId - 1; id >= 1; --id) {
        if (IsNodeUsed(id)) return id;
    }
    return -1;
}

std::int32_t TNodeSet::getHighestNodeId() const { return getPreviousNodeId(MaxNodes + 1); }

std::int32_t TNodeSet::ExistsNodeWithSamePosition(std::int32_t x, std::int32_t y) const {
    for (std::int32_t id = getHighestNodeId(); id != -1; id = getPreviousNodeId(id)) {
        const TNode& node = nodes_[static_cast<std::size_t>(id)];
        if (node.X == x && node.Y == y) return id;
    }
    return 0;
}

void TNodeSet::WriteRecord(TByteWriter& writer) const {
    writer.WriteInt32(count_);
    for (std::int32_t id = getNextNodeId(0); id != -1; id = getNextNodeId(id)) {
        writer.WriteInt32(id);
        nodes_[static_cast<std::size_t>(id)].WriteRecord(writer);
        writer.WriteInt32(UsedSlot);
    }
}

void TNodeSet::ReadRecord(TByteReader& reader) {
    Clear();
    const std::int32_t savedCount = readSavedCount(reader);
    for (std::int32_t entry = 0; entry < savedCount; ++entry) {
        const std::int32_t id = readSavedId(reader);
        nodes_[static_cast<std::size_t>(id)].ReadRecord(reader);
        reader.ReadInt32();  // the saved link word; a loaded slot is in use whatever it says
        unlinkFromFreeChain(id);
        links_[static_cast<std::size_t>(id)] = UsedSlot;
        ++count_;
    }
}

std::int32_t TNodeSet::readSavedCount(TByteReader& reader) const {
    const std::size_t countOffset = reader.Offset();
    const std::int32_t savedCount = reader.ReadInt32();
    if (savedCount < 0 || savedCount > MaxNodes) {
        throw EStreamFormatError("node count " + std::to_string(savedCount) + " is not 0.." +
                                 std::to_string(MaxNodes) + " at byte " + std::to_string(countOffset));
    }
    return savedCount;
}

// A second record under the same id would be counted twice and break the pool.
std::int32_t TNodeSet::readSavedId(TByteReader& reader) const {
    const std::size_t idOffset = reader.Offset();
    const std::int32_t id = reader.ReadInt32();
    if (!isValidId(id)) {
        throw EStreamFormatError("node id " + std::to_string(id) + " is not 1.." + std::to_string(MaxNodes) +
                                 " at byte " + std::to_string(idOffset));
    }
    if (IsNodeUsed(id)) {
        throw EStreamFormatError("node id " + std::to_string(id) + " is given twice at byte " +
                                 std::to_string(idOffset));
    }
    return id;
}

// Whatever pointed at the slot (the chain head or the free slot before it) now
// points where the slot pointed, so the remaining free ids keep their order.
void TNodeSet::unlinkFromFreeChain(std::int32_t nodeId) {
    const std::int32_t next = links_[static_cast<std::size_t>(nodeId)];
    if (freeHead_ == nodeId) freeHead_ = next;
    for (std::int32_t id = 1; id <= MaxNodes; ++id) {
        std::int32_t& link = links_[static_cast<std::size_t>(id)];
        if (link == nodeId) link = next;
    }
}
