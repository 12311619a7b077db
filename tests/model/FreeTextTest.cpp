#include "model/VM4_FreeText_Class.h"

#include <gtest/gtest.h>

#include <cstring>

#include "foundations/VM4_BinaryStream.h"

namespace {

std::string recordOf(const TFreeText& text) {
    TByteWriter writer;
    text.WriteRecord(writer);
    return writer.Bytes();
}

TFreeText distinctText() {
    TFreeText text;
    text.Text = {"Cooling water", "to unit 3"};
    text.X = 310;
    text.Y = -20;
    text.Colour = 16711680;
    text.FontSize = 14;
    text.Style = TFreeText::StyleBold | TFreeText::StyleUnderline;
    text.Angle = 270;
    text.Selected = true;
    text.SelectStartX = 300;
    text.SelectStartY = -10;
    return text;
}

std::int32_t int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

}  // namespace

void expectDefaults(const TFreeText& t) {
    EXPECT_TRUE(t.Text.empty());
    EXPECT_EQ(t.X, 0);
    EXPECT_EQ(t.Y, 0);
    EXPECT_EQ(t.Colour, 0);
    EXPECT_EQ(t.FontSize, 7);
    EXPECT_EQ(t.Style, 0);
    EXPECT_EQ(t.Angle, 0);
    EXPECT_FALSE(t.Selected);
    EXPECT_EQ(t.SelectStartX, 0);
    EXPECT_EQ(t.SelectStartY, 0);
}

TEST(FreeText, NewAndClearedLabelsHaveTheDefaults) {
    expectDefaults(TFreeText());
    TFreeText cleared = distinctText();
    cleared.Clear();
    expectDefaults(cleared);
}

TEST(FreeText, CopyTakesEverySavedFieldButNotTheSelection) {
    TFreeText target;
    target.CopyFreeText(distinctText());
    EXPECT_EQ(recordOf(target), recordOf(distinctText()));
    EXPECT_FALSE(target.Selected);
    EXPECT_EQ(target.SelectStartX, 0);
}

TEST(FreeTextRecord, HoldsEveryFieldAtItsOffset) {
    const std::string bytes = recordOf(distinctText());
    ASSERT_EQ(bytes.size(), TFreeText::RecordSize);
    EXPECT_EQ(bytes.substr(0, 27), std::string("\x1A" "Cooling water\r\nto unit 3\r\n"));
    EXPECT_EQ(bytes[27], '\0');
    EXPECT_EQ(int32At(bytes, 251), 310);
    EXPECT_EQ(int32At(bytes, 255), -20);
    EXPECT_EQ(int32At(bytes, 259), 16711680);
    EXPECT_EQ(int32At(bytes, 263), 14);
    EXPECT_EQ(bytes[267], '\x05');
    EXPECT_EQ(int32At(bytes, 268), 270);
}

TEST(FreeTextRecord, RoundTripRestoresTheSavedFields) {
    const std::string bytes = recordOf(distinctText());
    TByteReader reader(bytes);
    TFreeText loaded;
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(loaded.Text, (std::vector<std::string>{"Cooling water", "to unit 3"}));
    EXPECT_EQ(recordOf(loaded), bytes);
    EXPECT_FALSE(loaded.Selected);
}

TEST(FreeTextRecord, OnlyTheFirstTwoHundredFiftyCharactersSurvive) {
    std::string longLine;
    for (int i = 0; i < 30; ++i) longLine += "0123456789";
    TFreeText text;
    text.Text = {longLine};
    const std::string bytes = recordOf(text);
    TByteReader reader(bytes);
    TFreeText loaded;
    loaded.ReadRecord(reader);
    EXPECT_EQ(loaded.Text, (std::vector<std::string>{longLine.substr(0, 250)}));
}
