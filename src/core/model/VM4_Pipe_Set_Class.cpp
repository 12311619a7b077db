#include "model/VM4_Pipe_Set_Class.h"

#include <string>

#include "foundations/VM4_BinaryStream.h"

namespace {

const char* const kAddPipeFailed = "TPipeSet.AddPipe Failed: May have reached Max number of pipes allowed";
const char* const kRemovePipeFailed =
    "TPipeSet.RemovePipe Failed: Specified PipeId may not be valid (or is not a used Pipe)";
const char* const kGetPipeFailed = "TPipeSet.GetPipe Failed: Specified PipeId may not be valid";

bool isValidId(int id) { return id >= 1 && id <= TPipeSet::kCapacity; }

}  // namespace

TPipeSet::TPipeSet()
    : pipes_(static_cast<std::size_t>(kCapacity) + 1), links_(static_cast<std::size_t>(kCapacity) + 1, kEndOfChain) {
    Clear();
}

void TPipeSet::Clear() {
    for (int id = 1; id <= kCapacity; ++id) {
        slot(id).Clear();
        link(id) = id < kCapacity ? id + 1 : kEndOfChain;
    }
    freeHead_ = 1;
    count_ = 0;
}

int TPipeSet::AddPipe(const TPipe& pipe) {
    if (freeHead_ == kEndOfChain) throw EPipeClass(kAddPipeFailed);
    const int id = freeHead_;
    slot(id).Copy(pipe);
    freeHead_ = link(id);
    link(id) = kUsed;
    ++count_;
    return id;
}

void TPipeSet::RemovePipe(int id) {
    if (!IsPipeUsed(id)) throw EPipeClass(kRemovePipeFailed);
    slot(id).Clear();
    link(id) = freeHead_;
    freeHead_ = id;
    --count_;
}

TPipe& TPipeSet::GetPipe(int id) {
    if (!isValidId(id)) throw EPipeClass(kGetPipeFailed);
    return slot(id);
}

const TPipe& TPipeSet::GetPipe(int id) const {
    if (!isValidId(id)) throw EPipeClass(kGetPipeFailed);
    return pipes_[static_cast<std::size_t>(id)];
}

bool TPipeSet::IsPipeUsed(int id) const { return isValidId(id) && link(id) == kUsed; }

int TPipeSet::getNextPipeId(int id) const {
    for (int next = id < 0 ? 1 : id + 1; next <= kCapacity; ++next) {
        if (link(next) == kUsed) return next;
    }
    return -1;
}

void TPipeSet::WriteRecord(TByteWriter& writer) const {
    writer.WriteInt32(count_);
    for (int id = getNextPipeId(0); id != -1; id = getNextPipeId(id)) {
        writer.WriteInt32(id);
        GetPipe(id).WriteRecord(writer);
        writer.WriteInt32(kUsed);
    }
}

void TPipeSet::ReadRecord(TByteReader& reader) {
    Clear();
    try {
        readPipes(reader);
    } catch (...) {
        Clear();
        throw;
    }
}

void TPipeSet::readPipes(TByteReader& reader) {
    TByteReader lookahead = reader;
    const std::int32_t count = lookahead.ReadInt32();
    if (count < 0 || count > kCapacity) {
        reader.Fail("pipe count " + std::to_string(count) + " outside 0.." + std::to_string(kCapacity));
    }
    reader = lookahead;
    for (std::int32_t i = 0; i < count; ++i) {
        const int id = readPipeId(reader);
        slot(id).ReadRecord(reader);
        // The saved link word is always "used"; the slot is marked used below whatever it holds.
        reader.ReadInt32();
        unlinkFreeSlot(id);
        link(id) = kUsed;
        ++count_;
    }
}

int TPipeSet::readPipeId(TByteReader& reader) const {
    TByteReader lookahead = reader;
    const std::int32_t id = lookahead.ReadInt32();
    if (!isValidId(id)) {
        reader.Fail("pipe id " + std::to_string(id) + " outside 1.." + std::to_string(kCapacity));
    }
    if (link(id) == kUsed) reader.Fail("pipe id " + std::to_string(id) + " appears twice");
    reader = lookahead;
    return id;
}

// The slots (or the chain head) that pointed at `id` take its successor.
void TPipeSet::unlinkFreeSlot(int id) {
    const std::int32_t successor = link(id);
    if (freeHead_ == id) freeHead_ = successor;
    for (int other = 1; other <= kCapacity; ++other) {
        if (link(other) == id) link(other) = successor;
    }
}
