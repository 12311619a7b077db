#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TByteReader;
class TByteWriter;

// A free label placed on the drawing.
class TFreeText {
public:
    // Text is kept in full in memory; only this many characters are saved.
    static constexpr std::size_t TextCapacity = 250;
    static constexpr std::size_t RecordSize = 272;

    // Style bits; they combine (3 is bold italic, 5 bold underlined).
    static constexpr std::uint8_t StyleBold = 1;
    static constexpr std::uint8_t StyleItalic = 2;
    static constexpr std::uint8_t StyleUnderline = 4;

    static constexpr std::int32_t DefaultFontSize = 7;

    // A new label has the defaults of Clear.
    TFreeText();

    // No text, at (0, 0), black, 7 points, normal style, not rotated, not selected.
    void Clear();

    // Every saved field; the selection state stays this label's own.
    void CopyFreeText(const TFreeText& source);

    // The fixed 272-byte record of network files.
    void WriteRecord(TByteWriter& writer) const;
    void ReadRecord(TByteReader& reader);

    std::vector<std::string> Text;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Colour = 0;  // blue*65536 + green*256 + red
    std::int32_t FontSize = DefaultFontSize;  // points
    std::uint8_t Style = 0;
    std::int32_t Angle = 0;  // degrees, 0 to 359

    // Run-time selection state of the editor; never saved.
    bool Selected = false;
    std::int32_t SelectStartX = 0;
    std::int32_t SelectStartY = 0;
};
