#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "model/VM4_Pipe_Class.h"

class IUserMessages;

VELMORA_DECLARE_ERROR(EPipeDiameterSetClass);

// One pipe diameter table in memory: a fixed number of size records (the
// diameter fields of TPipe), slots numbered 1..Capacity, of which 1..Count are in
// use. Each slot remembers the file its size belongs to: the table's standard
// file, or its user file holding the sizes the user added.
class TPipeDiameterSet {
public:
    static constexpr std::uint8_t kStandardFile = 0;
    static constexpr std::uint8_t kUserFile = 1;

    explicit TPipeDiameterSet(int capacity);

    int Capacity() const { return capacity_; }
    int Count() const { return count_; }

    // Every slot cleared; Count 0.
    void Clear();

    // Slot accessors take 1..Capacity and raise EPipeDiameterSetClass otherwise.
    const TPipe& GetPipeDiameterData(int slot) const;
    void ReplacePipeDiameterData(int slot, const TPipe& size);
    std::uint8_t GetPipeDiameterFileType(int slot) const;
    void SetPipeFileType(int slot, std::uint8_t fileType);

    // Copies into slot Count + 1 as a user size; returns its number.
    int AddPipeDiameterData(const TPipe& size);
    // Moves the later sizes down one slot; takes 1..Count.
    void RemovePipeDiameterData(int slot);

    // Size lines after the header, each read by TPipe (either decimal mark),
    // every record naming `tableFileName` as its table. The standard file fills
    // the set from slot 1, the user file appends. A line that does not read
    // raises "Code -01: Error on line number n" (n the slot being filled); a
    // further size after a full set shows "Code -02..." through `messages` and
    // stops. Either way the Count stays as it was before the file; returns false
    // when the file was cut short.
    bool LoadFromText_DiameterData(std::istream& in, const std::string& tableFileName, IUserMessages& messages);
    bool LoadUserPipes_DiameterData_FromText(std::istream& in, const std::string& tableFileName,
                                             IUserMessages& messages);

    // Writes the sizes of the standard file, or of the user file, in slot order;
    // raises "Code -03: Could not save file." ("Code -03a" for the user file)
    // when the stream fails.
    void SaveToText_DiameterData(std::ostream& out) const;
    void SaveUserPipes_DiameterData_ToText(std::ostream& out) const;

private:
    struct TEntry {
        TPipe Size;
        std::uint8_t FileType = kStandardFile;
    };

    std::size_t checkedSlot(int slot, const char* method) const;
    bool loadSizes(std::istream& in, const std::string& tableFileName, std::uint8_t fileType,
                   IUserMessages& messages, const char* tooLarge);
    void saveSizesOfOrigin(std::ostream& out, std::uint8_t fileType, const char* failure) const;

    int capacity_;
    int count_ = 0;
    // Index 0 is never used so that slot numbers are the indices.
    std::vector<TEntry> entries_;
};
