#include "libraries/VM4_Pipe_Diameter_Set_Class.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "foundations/VM4_TextRecord.h"
#include "foundations/VM4_UserMessages.h"
#include "libraries/VM4_LibraryFiles.h"
#include "libraries/VM4_PipeSizeClass.h"

namespace {

const char* const kAddFailed = "TPipeDiameterSet.AddPipeDiameterData Failed: May have reached Max number of Pipes allowed";
const char* const kRemoveFailed = "TPipeDiameterSet.RemovePipeDiameterData Failed: Specified Id may not be valid";
const char* const kInvalidSlot = " Failed: Specified Id may not be valid";
const char* const kLineError = "Code -01: Error on line number ";

// A row no pipe can have: the wall as thick as the radius leaves no bore, and a
// negative size or roughness would reach every pipe drawn with it. The
// placeholder row that names a new user material holds no size at all.
bool isPhysicalPipeSize(const TPipe& size) {
    if (size.SizeClass == kPlaceholderSizeClass) return true;
    const double outer_m = size.OuterDiameter_m;
    const double wall_m = size.WallThickness_m;
    return std::isfinite(outer_m) && std::isfinite(wall_m) && std::isfinite(size.InnerRoughness_m) &&
           std::isfinite(size.WeightPerLength_kg_m) && outer_m > 0.0 && wall_m >= 0.0 && 2.0 * wall_m < outer_m &&
           size.InnerRoughness_m >= 0.0 && size.WeightPerLength_kg_m >= 0.0;
}
const char* const kStandardTooLarge = "Code -02: File too large - Read past max number of pipe entries.";
const char* const kUserTooLarge = "Code -02a: File too large - Read past max number of pipe entries.";
const char* const kStandardSaveFailed = "Code -03: Could not save file.";
const char* const kUserSaveFailed = "Code -03a: Could not save file.";

}  // namespace

TPipeDiameterSet::TPipeDiameterSet(int capacity)
    : capacity_(std::max(capacity, 0)), entries_(static_cast<std::size_t>(capacity_) + 1) {}

void TPipeDiameterSet::Clear() {
    for (TEntry& each : entries_) each = TEntry{};
    count_ = 0;
}

std::size_t TPipeDiameterSet::checkedSlot(int slot, const char* method) const {
    if (slot < 1 || slot > capacity_) throw EPipeDiameterSetClass(std::string(method) + kInvalidSlot);
    return static_cast<std::size_t>(slot);
}

const TPipe& TPipeDiameterSet::GetPipeDiameterData(int slot) const {
    return entries_[checkedSlot(slot, "TPipeDiameterSet.GetPipeDiameterData")].Size;
}

void TPipeDiameterSet::ReplacePipeDiameterData(int slot, const TPipe& size) {
    entries_[checkedSlot(slot, "TPipeDiameterSet.ReplacePipeDiameterData")].Size = size;
}

std::uint8_t TPipeDiameterSet::GetPipeDiameterFileType(int slot) const {
    return entries_[checkedSlot(slot, "TPipeDiameterSet.GetPipeDiameterFileType")].FileType;
}

void TPipeDiameterSet::SetPipeFileType(int slot, std::uint8_t fileType) {
    entries_[checkedSlot(slot, "TPipeDiameterSet.SetPipeFileType")].FileType = fileType;
}

int TPipeDiameterSet::AddPipeDiameterData(const TPipe& size) {
    if (count_ >= capacity_) throw EPipeDiameterSetClass(kAddFailed);
    ++count_;
    entries_[static_cast<std::size_t>(count_)] = TEntry{size, kUserFile};
    return count_;
}

void TPipeDiameterSet::RemovePipeDiameterData(int slot) {
    // Only slots in use: removing beyond Count would hide the last size.
    if (slot < 1 || slot > count_) throw EPipeDiameterSetClass(kRemoveFailed);
    const auto first = entries_.begin() + slot;
    std::move(first + 1, entries_.end(), first);
    entries_.back() = TEntry{};
    --count_;
}

bool TPipeDiameterSet::LoadFromText_DiameterData(std::istream& in, const std::string& tableFileName,
                                                 IUserMessages& messages) {
    Clear();
    return loadSizes(in, tableFileName, kStandardFile, messages, kStandardTooLarge);
}

bool TPipeDiameterSet::LoadUserPipes_DiameterData_FromText(std::istream& in, const std::string& tableFileName,
                                                           IUserMessages& messages) {
    return loadSizes(in, tableFileName, kUserFile, messages, kUserTooLarge);
}

bool TPipeDiameterSet::loadSizes(std::istream& in, const std::string& tableFileName, std::uint8_t fileType,
                                 IUserMessages& messages, const char* tooLarge) {
    const int countBefore = count_;
    const auto forgetThisFile = [this, countBefore](int lastFilled) {
        for (int slot = countBefore + 1; slot <= lastFilled; ++slot) entries_[static_cast<std::size_t>(slot)] = TEntry{};
    };
    std::string line;
    int lineNumber = 1;  // the header
    int slot = countBefore + 1;
    for (;; ++slot) {
        if (!ReadNextRecordLine(in, line, lineNumber)) {
            if (!in.bad()) break;
            forgetThisFile(slot - 1);
            throw EPipeDiameterSetClass(kLineError + std::to_string(lineNumber + 1));
        }
        if (slot > capacity_) {
            forgetThisFile(capacity_);
            messages.ShowInformation(tooLarge);
            return false;
        }
        TEntry& entry = entries_[static_cast<std::size_t>(slot)];
        try {
            entry.Size.LoadDiameterDataFromTextLine(line, tableFileName);
        } catch (const EPipeClass&) {
            forgetThisFile(slot);
            throw EPipeDiameterSetClass(kLineError + std::to_string(lineNumber));
        }
        if (!isPhysicalPipeSize(entry.Size)) {
            forgetThisFile(slot);
            throw EPipeDiameterSetClass(kLineError + std::to_string(lineNumber));
        }
        entry.FileType = fileType;
    }
    count_ = slot - 1;
    return true;
}

void TPipeDiameterSet::SaveToText_DiameterData(std::ostream& out) const {
    saveSizesOfOrigin(out, kStandardFile, kStandardSaveFailed);
}

void TPipeDiameterSet::SaveUserPipes_DiameterData_ToText(std::ostream& out) const {
    saveSizesOfOrigin(out, kUserFile, kUserSaveFailed);
}

void TPipeDiameterSet::saveSizesOfOrigin(std::ostream& out, std::uint8_t fileType, const char* failure) const {
    for (int slot = 1; slot <= count_ && out; ++slot) {
        const TEntry& each = entries_[static_cast<std::size_t>(slot)];
        if (each.FileType == fileType) each.Size.SaveDiameterDataToText(out);
    }
    if (!out) throw EPipeDiameterSetClass(failure);
}
