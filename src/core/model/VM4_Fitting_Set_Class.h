#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "model/VM4_Fitting_Class.h"

class IStringGrid;
class IUserMessages;
class TByteReader;
class TByteWriter;

VELMORA_DECLARE_ERROR(EFittingSetClass);

// An ordered list of fitting types, each with how many of it there are.
// A pipe owns a set of capacity 5; the fitting database uses a larger one.
// Entries are numbered 1..Count; all Capacity entries are allocated at creation.
class TFittingSet {
public:
    static constexpr int kPipeCapacity = 5;

    // Where an entry comes from in the fitting database.
    static constexpr std::uint8_t kStandardFile = 0;
    static constexpr std::uint8_t kUserFile = 1;

    explicit TFittingSet(int capacity);

    int Capacity() const { return capacity_; }
    int Count() const { return count_; }

    // Every entry cleared, quantity 0, user origin; Count 0.
    void Clear();
    // Copies into entry Count + 1 as a user entry; returns the new Count.
    int AddFitting(const TFitting& fitting, std::int32_t quantity);
    // Moves the later entries down; the last entry's fitting is cleared.
    void RemoveFitting(int index);
    void ReplaceFitting(int index, const TFitting& fitting);
    // Count and entries 1..Count of the source.
    void CopyFittingSet(const TFittingSet& source);

    // Entry accessors take 1..Capacity and raise EFittingSetClass for any other index.
    const TFitting& GetFitting(int index) const;
    std::int32_t GetQuantity(int index) const;
    void UpdateFittingQuantity(int index, std::int32_t quantity);
    std::uint8_t GetFittingFileType(int index) const;
    void SetFittingFileType(int index, std::uint8_t fileType);
    void DisplayQuantityOnStringGrid(int index, IStringGrid& grid, int row, int column) const;

    // Sum of Quantity x K over the entries in use.
    double CalculateTotal_KValue() const;
    // Sum of the quantities.
    std::int32_t GetFittingCountIncludingQuantities() const;
    // 1 when a bend-type symbol is present and bends are shown, plus 2 when a
    // valve symbol is present and valves are shown.
    int GetFittingSetSymbolType(bool showBends, bool showValves) const;

    // Orders entries 1..Count by the fields belonging to a clicked list column.
    void SortFittingSet(int column, bool ascending);

    // Count, then per entry the fitting record and its quantity.
    std::size_t RecordSize() const;
    void WriteRecord(TByteWriter& writer) const;
    // Rejects a count outside 0..Capacity before reading any entry.
    void ReadRecord(TByteReader& reader);

    // Fitting database files: one text record per line, quantities not stored.
    // Writing raises "Code -03..." when the stream fails.
    void SaveToTextWithoutQuantity(std::ostream& out) const;
    void SaveUserFittings_ToTextWithoutQuantity(std::ostream& out) const;
    // Reading fills entries from 1 (standard file) or after the current Count
    // (user file) until the end of the stream; quantity 0. A bad line raises
    // "Code -01: Error on line number n" (n the entry being filled). A record
    // beyond the capacity shows "Code -02..." through `messages`, stops reading
    // and keeps the Count from before the file; returns false then.
    bool LoadFromTextWithoutQuantity(std::istream& in, IUserMessages& messages);
    bool LoadUserFittings_FromTextWithoutQuantity(std::istream& in, IUserMessages& messages);

private:
    struct TEntry {
        TFitting Fitting;
        std::int32_t Quantity = 0;
        std::uint8_t FileType = kUserFile;
    };

    TEntry& entry(int index, const char* method);
    const TEntry& entry(int index, const char* method) const;
    void saveEntriesOfOrigin(std::ostream& out, std::uint8_t fileType) const;
    bool loadEntries(std::istream& in, int firstIndex, std::uint8_t fileType, IUserMessages& messages);
    static std::int32_t readCount(TByteReader& reader, int capacity);

    int capacity_;
    int count_ = 0;
    // Index 0 is never used so that entry numbers are the indices.
    std::vector<TEntry> items_;
    std::vector<TEntry> scratch_;
};
