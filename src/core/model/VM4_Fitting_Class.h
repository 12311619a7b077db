#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "foundations/VM4_Errors.h"

class IStringGrid;
class TByteReader;
class TByteWriter;

VELMORA_DECLARE_ERROR(EFittingClass);

// One fitting type (bend, valve, tee, entrance ...) with the loss coefficient K
// of its size: loss = K v^2 / 2g. A pipe carries up to five of them in its
// TFittingSet; the fitting database holds many more of the same record.
class TFitting {
public:
    static constexpr std::size_t kTypeCapacity = 40;
    static constexpr std::size_t kMetricSizeCapacity = 16;
    static constexpr std::size_t kImperialSizeCapacity = 16;
    static constexpr std::size_t kDescriptionCapacity = 80;
    // SizeIndex 4, ImageIndex 4, Type 41, MetricSize 17, ImperialSize 17, Description 81, KValue 8.
    static constexpr std::size_t kRecordSize = 172;

    // Symbols 7..20 are valves; every other symbol is drawn as a bend.
    static constexpr std::int32_t kFirstValveSymbol = 7;
    static constexpr std::int32_t kLastValveSymbol = 20;
    static constexpr std::int32_t kClearedImageIndex = -1;

    // Columns of GetSizedField, in the order of the text record.
    enum TFieldColumn : int {
        FieldImageIndex = 0,
        FieldSizeIndex = 1,
        FieldType = 2,
        FieldMetricSize = 3,
        FieldImperialSize = 4,
        FieldDescription = 5,
        FieldKValue = 6
    };

    // Symbol picture index; kClearedImageIndex marks a free entry.
    std::int32_t ImageIndex = kClearedImageIndex;
    // Size class (mm) the K value applies to.
    std::int32_t SizeIndex = -1;
    std::string Type;
    std::string MetricSize;
    std::string ImperialSize;
    std::string Description;
    double KValue = 0.0;

    TFitting() = default;

    void Clear();
    void CopyFitting(const TFitting& source) { *this = source; }
    // Texts longer than their field are cut.
    void SetFittingData(std::int32_t sizeIndex, std::int32_t imageIndex, const std::string& type,
                        const std::string& metricSize, const std::string& imperialSize,
                        const std::string& description, double kValue);

    bool IsCleared() const { return ImageIndex < 0; }
    bool HasValveSymbol() const { return ImageIndex >= kFirstValveSymbol && ImageIndex <= kLastValveSymbol; }

    // The field as fixed-width text, so that text order is field order:
    // numbers right-aligned (4 characters, K in 16 with 2 decimals), texts in
    // their full width. Longer values are not cut; unknown columns give "".
    std::string GetSizedField(int column) const;
    // Three sized fields, a tab and `index`.
    std::string GetSortString(int columnA, int columnB, int columnC, int index) const;

    // SizeIndex, ImageIndex, Type, MetricSize, ImperialSize, Description and K
    // (2 decimals) in seven cells from `column`.
    void DisplayOnStringGrid(IStringGrid& grid, int column, int row) const;

    void WriteRecord(TByteWriter& writer) const;
    void ReadRecord(TByteReader& reader);

    // SizeIndex~|~ImageIndex~|~Type~|~MetricSize~|~ImperialSize~|~Description~|~K,
    // K with 2 decimals and "." whatever the system's decimal mark.
    void SaveToText(std::ostream& out) const;
    // Reads the next line; K may use "." or ",". A line without seven fields
    // or with a number that does not read, or no line at all, raises
    // EFittingClass and leaves the fitting unchanged.
    void LoadFromText(std::istream& in);
    // The same for a line already read.
    void LoadFromTextLine(const std::string& line);
};
