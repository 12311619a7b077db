#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_Pipe_Class.h"

class TByteReader;
class TByteWriter;

// The fixed pool of pipes. Slot numbers 1..kCapacity are the pipe ids; every
// slot owns its pipe from creation on. Free slots form a chain through their
// link words, and the id freed last is handed out first. Ids survive saving
// and loading.
class TPipeSet {
public:
    static constexpr int kCapacity = 1000;

    TPipeSet();

    // Every slot cleared and free, chained 1 -> 2 -> ... -> kCapacity.
    void Clear();
    // Copies the pipe into the head free slot (TPipe::Copy, so the slot keeps
    // its own drawing positions) and returns its id. Raises EPipeClass when full.
    int AddPipe(const TPipe& pipe);
    // Clears the slot and makes its id the next to be handed out. Raises
    // EPipeClass for an id outside 1..kCapacity or a free slot.
    void RemovePipe(int id);
    // The slot's pipe, used or not. Raises EPipeClass for an id outside 1..kCapacity.
    TPipe& GetPipe(int id);
    const TPipe& GetPipe(int id) const;

    int GetPipeCount() const { return count_; }
    bool IsPipeUsed(int id) const;
    // The smallest used id above `id`, -1 when none; iterate from 0.
    int getNextPipeId(int id) const;

    // Count, then per used slot in ascending id order: id, pipe record, link word (0).
    void WriteRecord(TByteWriter& writer) const;
    // Loads every saved pipe into the slot of its id and takes that id out of
    // the free chain, so the remaining free ids stay chained in ascending order.
    // Rejects a count outside 0..kCapacity, an id outside 1..kCapacity and a
    // repeated id, naming the byte offset; after any failure the set is cleared.
    void ReadRecord(TByteReader& reader);

private:
    static constexpr std::int32_t kUsed = 0;
    static constexpr std::int32_t kEndOfChain = -1;

    void readPipes(TByteReader& reader);
    int readPipeId(TByteReader& reader) const;
    void unlinkFreeSlot(int id);
    TPipe& slot(int id) { return pipes_[static_cast<std::size_t>(id)]; }
    std::int32_t& link(int id) { return links_[static_cast<std::size_t>(id)]; }
    std::int32_t link(int id) const { return links_[static_cast<std::size_t>(id)]; }

    // Index 0 is never used so that ids are the indices.
    std::vector<TPipe> pipes_;
    // kUsed for a used slot, otherwise the next free slot or kEndOfChain.
    std::vector<std::int32_t> links_;
    // The next id to hand out; kEndOfChain when the pool is full.
    std::int32_t freeHead_ = kEndOfChain;
    int count_ = 0;
};
