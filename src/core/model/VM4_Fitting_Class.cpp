#include "model/VM4_Fitting_Class.h"

#include <string>
#include <vector>

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_EntryValidation.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_StringGrid.h"
#include "foundations/VM4_TextRecord.h"
#include "foundations/VM4_Units.h"

namespace {

const char* const kLoadFromTextFailed = "TFitting.LoadFromText Failed: String format may not be correct";

constexpr std::size_t kTextFieldCount = 7;
constexpr int kKValueDecimals = 2;
constexpr std::size_t kIndexSortWidth = 4;
constexpr std::size_t kSizeSortWidth = 16;
constexpr std::size_t kKValueSortWidth = 16;

std::string trimmedBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::int32_t integerFieldOrThrow(const std::string& field) {
    const auto parsed = ParseIntegerText(trimmedBlanks(field), true, true);
    if (!parsed.Valid) throw EFittingClass(kLoadFromTextFailed);
    return parsed.Value;
}

// Files carry "." but hand-edited ones may carry ","; both read.
double decimalFieldOrThrow(const std::string& field) {
    const auto parsed = ParseDecimalText(trimmedBlanks(field), true, true);
    if (!parsed.Valid) throw EFittingClass(kLoadFromTextFailed);
    return parsed.Value;
}

}  // namespace

void TFitting::Clear() { SetFittingData(-1, kClearedImageIndex, "", "", "", "", 0.0); }

void TFitting::SetFittingData(std::int32_t sizeIndex, std::int32_t imageIndex, const std::string& type,
                              const std::string& metricSize, const std::string& imperialSize,
                              const std::string& description, double kValue) {
    SizeIndex = sizeIndex;
    ImageIndex = imageIndex;
    Type = CutToCapacity(type, kTypeCapacity);
    MetricSize = CutToCapacity(metricSize, kMetricSizeCapacity);
    ImperialSize = CutToCapacity(imperialSize, kImperialSizeCapacity);
    Description = CutToCapacity(description, kDescriptionCapacity);
    KValue = kValue;
}

std::string TFitting::GetSizedField(int column) const {
    switch (column) {
        case FieldImageIndex: return PadLeft(std::to_string(ImageIndex), kIndexSortWidth);
        case FieldSizeIndex: return PadLeft(std::to_string(SizeIndex), kIndexSortWidth);
        case FieldType: return PadRight(Type, kTypeCapacity);
        case FieldMetricSize: return PadLeft(MetricSize, kSizeSortWidth);
        case FieldImperialSize: return PadLeft(ImperialSize, kSizeSortWidth);
        case FieldDescription: return PadRight(Description, kDescriptionCapacity);
        case FieldKValue: return PadLeft(formatFixed(kKValueDecimals, KValue), kKValueSortWidth);
        default: return "";
    }
}

std::string TFitting::GetSortString(int columnA, int columnB, int columnC, int index) const {
    return GetSizedField(columnA) + GetSizedField(columnB) + GetSizedField(columnC) + '\t' + std::to_string(index);
}

void TFitting::DisplayOnStringGrid(IStringGrid& grid, int column, int row) const {
    grid.SetCell(column, row, std::to_string(SizeIndex));
    grid.SetCell(column + 1, row, std::to_string(ImageIndex));
    grid.SetCell(column + 2, row, Type);
    grid.SetCell(column + 3, row, MetricSize);
    grid.SetCell(column + 4, row, ImperialSize);
    grid.SetCell(column + 5, row, Description);
    grid.SetCell(column + 6, row, formatFixed(kKValueDecimals, KValue));
}

void TFitting::WriteRecord(TByteWriter& writer) const {
    writer.WriteInt32(SizeIndex);
    writer.WriteInt32(ImageIndex);
    writer.WriteShortString(Type, kTypeCapacity);
    writer.WriteShortString(MetricSize, kMetricSizeCapacity);
    writer.WriteShortString(ImperialSize, kImperialSizeCapacity);
    writer.WriteShortString(Description, kDescriptionCapacity);
    writer.WriteDouble(KValue);
}

void TFitting::ReadRecord(TByteReader& reader) {
    TFitting loaded;
    loaded.SizeIndex = reader.ReadInt32();
    loaded.ImageIndex = reader.ReadInt32();
    loaded.Type = reader.ReadShortString(kTypeCapacity);
    loaded.MetricSize = reader.ReadShortString(kMetricSizeCapacity);
    loaded.ImperialSize = reader.ReadShortString(kImperialSizeCapacity);
    loaded.Description = reader.ReadShortString(kDescriptionCapacity);
    loaded.KValue = reader.ReadDouble();
    *this = loaded;
}

void TFitting::SaveToText(std::ostream& out) const {
    WriteRecordLine(out, JoinRecordFields({std::to_string(SizeIndex), std::to_string(ImageIndex), Type, MetricSize,
                                           ImperialSize, Description, FormatFileDecimal(KValue, kKValueDecimals)}));
}

void TFitting::LoadFromText(std::istream& in) {
    std::string line;
    if (!ReadRecordLine(in, line)) throw EFittingClass(kLoadFromTextFailed);
    LoadFromTextLine(line);
}

void TFitting::LoadFromTextLine(const std::string& line) {
    const std::vector<std::string> fields = SplitRecordFields(line);
    if (fields.size() != kTextFieldCount) throw EFittingClass(kLoadFromTextFailed);
    // Every number is read before anything is stored, so a bad line changes nothing.
    const std::int32_t sizeIndex = integerFieldOrThrow(fields[0]);
    const std::int32_t imageIndex = integerFieldOrThrow(fields[1]);
    const double kValue = decimalFieldOrThrow(fields[6]);
    SetFittingData(sizeIndex, imageIndex, fields[2], fields[3], fields[4], fields[5], kValue);
}
