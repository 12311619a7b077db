#include "model/VM4_Fitting_Set_Class.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <istream>
#include <ostream>
#include <string>
#include <utility>

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_StringGrid.h"
#include "foundations/VM4_TextRecord.h"
#include "foundations/VM4_UserMessages.h"

namespace {

const char* const kCreateFailed = "TFittingSet.Create Failed: Capacity may not be valid";
const char* const kAddFittingFailed = "TFittingSet.AddFitting Failed: May have reached Max number of Fittings allowed";
const char* const kRemoveFittingFailed =
    "TFittingSet.RemoveFitting Failed: Specified FittingId may not be valid (or is not a used Fitting)";
const char* const kCopyFittingSetFailed =
    "TFittingSet.CopyFittingSet Failed: May have reached Max number of Fittings allowed";
const char* const kInvalidIndexReason = " Failed: Specified FittingId may not be valid";

// Fitting database files: the standard file's codes, then the user file's.
const char* const kStandardLineError = "Code -01: Error on line number ";
const char* const kUserLineError = "Code -01u: Error on line number ";
const char* const kStandardTooLarge = "Code -02: File too large - Read past max number of fittings.";
const char* const kUserTooLarge = "Code -02u: File too large - Read past max number of fittings.";
const char* const kStandardSaveFailed = "Code -03: Could not save file.";
const char* const kUserSaveFailed = "Code -03u: Could not save file.";

constexpr std::size_t kQuantityRecordSize = 4;
constexpr std::size_t kCountRecordSize = 4;

using TSortFields = std::array<int, 3>;

// The three sized fields that order the list when one of its columns is clicked.
TSortFields sortFieldsForColumn(int column) {
    switch (column) {
        case 0: return {TFitting::FieldImageIndex, TFitting::FieldSizeIndex, TFitting::FieldType};
        case 3: return {TFitting::FieldType, TFitting::FieldSizeIndex, TFitting::FieldDescription};
        case 4:
        case 5: return {TFitting::FieldSizeIndex, TFitting::FieldType, TFitting::FieldDescription};
        case 6: return {TFitting::FieldDescription, TFitting::FieldSizeIndex, TFitting::FieldType};
        case 7: return {TFitting::FieldKValue, TFitting::FieldDescription, TFitting::FieldType};
        default: return {TFitting::FieldSizeIndex, TFitting::FieldImageIndex, TFitting::FieldDescription};
    }
}

unsigned char asciiLower(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Case-insensitive for ASCII letters whatever the C locale; other bytes compare
// by value, so that the blanks that pad right-aligned numbers sort before every digit.
bool lessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return asciiLower(x) < asciiLower(y); });
}

bool isUserFile(std::uint8_t fileType) { return fileType == TFittingSet::kUserFile; }

std::string lineErrorMessage(std::uint8_t fileType, int index) {
    return (isUserFile(fileType) ? kUserLineError : kStandardLineError) + std::to_string(index);
}

bool isBlankLine(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

TFittingSet::TFittingSet(int capacity) : capacity_(capacity) {
    if (capacity < 0) throw EFittingSetClass(kCreateFailed);
    items_.resize(static_cast<std::size_t>(capacity) + 1);
    scratch_.resize(items_.size());
    Clear();
}

void TFittingSet::Clear() {
    for (TEntry& item : items_) item = TEntry{};
    count_ = 0;
}

TFittingSet::TEntry& TFittingSet::entry(int index, const char* method) {
    if (index < 1 || index > capacity_) throw EFittingSetClass(std::string(method) + kInvalidIndexReason);
    return items_[static_cast<std::size_t>(index)];
}

const TFittingSet::TEntry& TFittingSet::entry(int index, const char* method) const {
    if (index < 1 || index > capacity_) throw EFittingSetClass(std::string(method) + kInvalidIndexReason);
    return items_[static_cast<std::size_t>(index)];
}

int TFittingSet::AddFitting(const TFitting& fitting, std::int32_t quantity) {
    if (count_ >= capacity_) throw EFittingSetClass(kAddFittingFailed);
    TEntry& added = items_[static_cast<std::size_t>(count_) + 1];
    added.Fitting.CopyFitting(fitting);
    added.Quantity = quantity;
    added.FileType = kUserFile;
    return ++count_;
}

void TFittingSet::RemoveFitting(int index) {
    // Only entries in use: a stale entry past Count must not lower the Count.
    if (index < 1 || index > count_ || items_[static_cast<std::size_t>(index)].Fitting.IsCleared()) {
        throw EFittingSetClass(kRemoveFittingFailed);
    }
    for (int i = index; i < capacity_; ++i) {
        items_[static_cast<std::size_t>(i)] = items_[static_cast<std::size_t>(i) + 1];
    }
    items_[static_cast<std::size_t>(capacity_)].Fitting.Clear();
    --count_;
}

void TFittingSet::ReplaceFitting(int index, const TFitting& fitting) {
    entry(index, "TFittingSet.ReplaceFitting").Fitting.CopyFitting(fitting);
}

void TFittingSet::CopyFittingSet(const TFittingSet& source) {
    if (source.count_ > capacity_) throw EFittingSetClass(kCopyFittingSetFailed);
    if (&source == this) return;
    for (int i = 1; i <= source.count_; ++i) {
        items_[static_cast<std::size_t>(i)] = source.items_[static_cast<std::size_t>(i)];
    }
    count_ = source.count_;
}

const TFitting& TFittingSet::GetFitting(int index) const { return entry(index, "TFittingSet.GetFitting").Fitting; }

std::int32_t TFittingSet::GetQuantity(int index) const { return entry(index, "TFittingSet.GetQuantity").Quantity; }

void TFittingSet::UpdateFittingQuantity(int index, std::int32_t quantity) {
    entry(index, "TFittingSet.UpdateFittingQuantity").Quantity = quantity;
}

std::uint8_t TFittingSet::GetFittingFileType(int index) const {
    return entry(index, "TFittingSet.GetFittingFileType").FileType;
}

void TFittingSet::SetFittingFileType(int index, std::uint8_t fileType) {
    entry(index, "TFittingSet.SetFittingFileType").FileType = fileType;
}

void TFittingSet::DisplayQuantityOnStringGrid(int index, IStringGrid& grid, int row, int column) const {
    grid.SetCell(column, row, std::to_string(entry(index, "TFittingSet.DisplayQuantityOnStringGrid").Quantity));
}

double TFittingSet::CalculateTotal_KValue() const {
    // K_total = sum of Quantity_i x K_i
    double total = 0.0;
    for (int i = 1; i <= count_; ++i) {
        const TEntry& item = items_[static_cast<std::size_t>(i)];
        total += item.Quantity * item.Fitting.KValue;
    }
    return total;
}

std::int32_t TFittingSet::GetFittingCountIncludingQuantities() const {
    std::int32_t total = 0;
    for (int i = 1; i <= count_; ++i) total += items_[static_cast<std::size_t>(i)].Quantity;
    return total;
}

int TFittingSet::GetFittingSetSymbolType(bool showBends, bool showValves) const {
    bool hasBend = false;
    bool hasValve = false;
    for (int i = 1; i <= count_; ++i) {
        if (items_[static_cast<std::size_t>(i)].Fitting.HasValveSymbol()) {
            hasValve = true;
        } else {
            hasBend = true;
        }
    }
    return (hasBend && showBends ? 1 : 0) + (hasValve && showValves ? 2 : 0);
}

void TFittingSet::SortFittingSet(int column, bool ascending) {
    const TSortFields fields = sortFieldsForColumn(column);
    std::vector<std::pair<std::string, int>> keys;
    keys.reserve(static_cast<std::size_t>(count_));
    for (int i = 1; i <= count_; ++i) {
        scratch_[static_cast<std::size_t>(i)] = items_[static_cast<std::size_t>(i)];
        keys.emplace_back(items_[static_cast<std::size_t>(i)].Fitting.GetSortString(fields[0], fields[1], fields[2], i),
                          i);
    }
    // The index after the tab makes every key distinct, so the order is fully determined.
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return lessIgnoringCase(a.first, b.first); });
    if (!ascending) std::reverse(keys.begin(), keys.end());
    for (int i = 1; i <= count_; ++i) {
        items_[static_cast<std::size_t>(i)] = scratch_[static_cast<std::size_t>(keys[static_cast<std::size_t>(i) - 1].second)];
    }
}

std::size_t TFittingSet::RecordSize() const {
    return kCountRecordSize + static_cast<std::size_t>(count_) * (TFitting::kRecordSize + kQuantityRecordSize);
}

void TFittingSet::WriteRecord(TByteWriter& writer) const {
    writer.WriteInt32(count_);
    for (int i = 1; i <= count_; ++i) {
        items_[static_cast<std::size_t>(i)].Fitting.WriteRecord(writer);
        writer.WriteInt32(items_[static_cast<std::size_t>(i)].Quantity);
    }
}

std::int32_t TFittingSet::readCount(TByteReader& reader, int capacity) {
    TByteReader lookahead = reader;
    const std::int32_t count = lookahead.ReadInt32();
    if (count < 0 || count > capacity) {
        reader.Fail("fitting count " + std::to_string(count) + " outside 0.." + std::to_string(capacity));
    }
    reader = lookahead;
    return count;
}

void TFittingSet::ReadRecord(TByteReader& reader) {
    const std::int32_t count = readCount(reader, capacity_);
    std::vector<TEntry> loaded(static_cast<std::size_t>(count));
    for (TEntry& item : loaded) {
        item.Fitting.ReadRecord(reader);
        TByteReader lookahead = reader;
        item.Quantity = lookahead.ReadInt32();
        if (item.Quantity < 0) reader.Fail("negative fitting quantity " + std::to_string(item.Quantity));
        reader = lookahead;
    }
    Clear();
    std::copy(loaded.begin(), loaded.end(), items_.begin() + 1);
    count_ = count;
}

void TFittingSet::saveEntriesOfOrigin(std::ostream& out, std::uint8_t fileType) const {
    for (int i = 1; i <= count_; ++i) {
        const TEntry& item = items_[static_cast<std::size_t>(i)];
        if (item.FileType != fileType) continue;
        item.Fitting.SaveToText(out);
        if (!out) throw EFittingSetClass(isUserFile(fileType) ? kUserSaveFailed : kStandardSaveFailed);
    }
}

void TFittingSet::SaveToTextWithoutQuantity(std::ostream& out) const {
    saveEntriesOfOrigin(out, kStandardFile);
}

void TFittingSet::SaveUserFittings_ToTextWithoutQuantity(std::ostream& out) const {
    saveEntriesOfOrigin(out, kUserFile);
}

bool TFittingSet::loadEntries(std::istream& in, int firstIndex, std::uint8_t fileType, IUserMessages& messages) {
    int index = firstIndex;
    int lineNumber = 1;  // the header
    std::string line;
    while (ReadRecordLine(in, line)) {
        ++lineNumber;
        // Hand-edited files often end with an empty line; it holds no record.
        if (isBlankLine(line)) continue;
        if (index > capacity_) {
            messages.ShowInformation(isUserFile(fileType) ? kUserTooLarge : kStandardTooLarge);
            return false;
        }
        TEntry& item = items_[static_cast<std::size_t>(index)];
        try {
            item.Fitting.LoadFromTextLine(line);
        } catch (const EFittingClass&) {
            throw EFittingSetClass(lineErrorMessage(fileType, lineNumber));
        }
        // A negative K would make every pipe with this fitting gain head.
        if (!(std::isfinite(item.Fitting.KValue) && item.Fitting.KValue >= 0.0)) {
            item.Fitting.Clear();
            throw EFittingSetClass(lineErrorMessage(fileType, lineNumber));
        }
        item.Quantity = 0;
        item.FileType = fileType;
        ++index;
    }
    if (in.bad()) throw EFittingSetClass(lineErrorMessage(fileType, lineNumber + 1));
    count_ = index - 1;
    return true;
}

bool TFittingSet::LoadFromTextWithoutQuantity(std::istream& in, IUserMessages& messages) {
    return loadEntries(in, 1, kStandardFile, messages);
}

bool TFittingSet::LoadUserFittings_FromTextWithoutQuantity(std::istream& in, IUserMessages& messages) {
    return loadEntries(in, count_ + 1, kUserFile, messages);
}
