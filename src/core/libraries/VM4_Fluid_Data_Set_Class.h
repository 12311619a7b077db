#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "model/VM4_Fluid_Class.h"

class IUserMessages;

VELMORA_DECLARE_ERROR(EFluidDataSetClass);

// The fluid database in memory: a fixed number of fluid records, slots numbered
// 1..Capacity, of which 1..Count are in use. Each slot remembers the file its
// fluid belongs to, the standard file (shipped with the program) or the user file.
class TFluidDataSet {
public:
    static constexpr std::uint8_t kStandardFile = 0;
    static constexpr std::uint8_t kUserFile = 1;

    struct TEntry {
        TFluid Fluid;
        std::uint8_t Origin = kStandardFile;
    };

    explicit TFluidDataSet(int capacity);

    int Capacity() const { return capacity_; }
    int Count() const { return count_; }

    // Every slot back to water of the standard file; Count 0.
    void ClearFluidDataArray();
    void ClearFluidDataRec(int slot);

    // Slot accessors take 1..Capacity and raise EFluidDataSetClass otherwise.
    const TEntry& GetFluidDataRec(int slot) const;
    void ReplaceFluidDataRec(int slot, const TFluid& fluid, std::uint8_t origin);
    void CopyFluidDataRec(int slot, const TFluid& fluid, std::uint8_t origin);

    // Copies into slot Count + 1; returns its number.
    int AddFluidDataRec(const TFluid& fluid, std::uint8_t origin);
    // Moves the later fluids down one slot; takes 1..Count.
    void RemoveFluidDataRec(int slot);

    // The last slot whose fluid has exactly this name (case matters), or -1.
    int FindEntryNameId(const std::string& name) const;

    // Orders the fluids by name, then temperature, ignoring case; descending is
    // the ascending order reversed.
    void SortFluidDataSet(bool ascending);

    // One fluid per line after the header: name~|~formula~|~K~|~bar g~|~kg/m³~|~cP~|~
    // kPa a~|~gas~|~origin, either decimal mark. The standard file fills the set
    // from slot 1, the user file appends. A line that does not read raises
    // "Code -01: Error on line number n" (n the slot being filled); a further
    // fluid after a full set shows "Code -02..." through `messages` and stops.
    // Either way the Count stays as it was before the file; returns false when
    // the file was cut short.
    bool LoadFromText_FluidDataSet(std::istream& in, IUserMessages& messages);
    bool LoadUser_FluidDataSet_FromText(std::istream& in, IUserMessages& messages);

    // Writes the fluids of the standard file, or of the user file, one per line
    // with "." as the decimal mark; raises "Code -03: Could not save file."
    // ("Code -03a" for the user file) when the stream fails.
    void SaveToText_FluidDataSet(std::ostream& out) const;
    void SaveUser_FluidDataSet_ToText(std::ostream& out) const;

private:
    struct TLoadMessages;

    std::size_t checkedSlot(int slot, const char* method) const;
    TEntry& entry(int slot, const char* method);
    bool loadFluids(std::istream& in, IUserMessages& messages, const TLoadMessages& texts);
    void saveFluidsOfOrigin(std::ostream& out, std::uint8_t origin, const char* failure) const;

    int capacity_;
    int count_ = 0;
    // Index 0 is never used so that slot numbers are the indices.
    std::vector<TEntry> entries_;
    std::vector<TEntry> shadow_;
};
