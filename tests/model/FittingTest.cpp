#include "model/VM4_Fitting_Class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "common/RecordingGrid.h"
#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_DecimalMark.h"

namespace {

TFitting entranceFitting() {
    TFitting fitting;
    fitting.SetFittingData(25, 8, "EntRnd", "10 mm", "0.5\"", "Pipe entrance rounded intake", 0.43);
    return fitting;
}

void expectSameFitting(const TFitting& actual, const TFitting& expected) {
    EXPECT_EQ(actual.SizeIndex, expected.SizeIndex);
    EXPECT_EQ(actual.ImageIndex, expected.ImageIndex);
    EXPECT_EQ(actual.Type, expected.Type);
    EXPECT_EQ(actual.MetricSize, expected.MetricSize);
    EXPECT_EQ(actual.ImperialSize, expected.ImperialSize);
    EXPECT_EQ(actual.Description, expected.Description);
    EXPECT_EQ(actual.KValue, expected.KValue);
}

TEST(Fitting, ClearedFittingIsAFreeEntry) {
    TFitting fitting = entranceFitting();
    fitting.Clear();
    EXPECT_EQ(fitting.ImageIndex, -1);
    EXPECT_EQ(fitting.SizeIndex, -1);
    EXPECT_EQ(fitting.Type, "");
    EXPECT_EQ(fitting.MetricSize, "");
    EXPECT_EQ(fitting.ImperialSize, "");
    EXPECT_EQ(fitting.Description, "");
    EXPECT_EQ(fitting.KValue, 0.0);
    EXPECT_TRUE(fitting.IsCleared());
    EXPECT_FALSE(entranceFitting().IsCleared());
}

TEST(Fitting, SetFittingDataCutsTexts) {
    TFitting fitting;
    fitting.SetFittingData(1, 2, std::string(45, 't'), std::string(20, 'm'), std::string(20, 'i'),
                           std::string(90, 'd'), 1.5);
    EXPECT_EQ(fitting.Type, std::string(40, 't'));
    EXPECT_EQ(fitting.MetricSize, std::string(16, 'm'));
    EXPECT_EQ(fitting.ImperialSize, std::string(16, 'i'));
    EXPECT_EQ(fitting.Description, std::string(80, 'd'));
}

struct SymbolCase {
    std::int32_t imageIndex;
    bool valve;
};

class FittingSymbolTest : public ::testing::TestWithParam<SymbolCase> {};

TEST_P(FittingSymbolTest, Symbols7To20AreValves) {
    TFitting fitting;
    fitting.ImageIndex = GetParam().imageIndex;
    EXPECT_EQ(fitting.HasValveSymbol(), GetParam().valve);
}

INSTANTIATE_TEST_SUITE_P(Symbols, FittingSymbolTest,
                         ::testing::Values(SymbolCase{0, false}, SymbolCase{6, false}, SymbolCase{7, true},
                                           SymbolCase{20, true}, SymbolCase{21, false}, SymbolCase{-1, false}));

struct SizedFieldCase {
    int column;
    std::string text;
};

class FittingSizedFieldTest : public ::testing::TestWithParam<SizedFieldCase> {};

TEST_P(FittingSizedFieldTest, FixedWidthTextForSorting) {
    TScopedDecimalMark mark('.');
    EXPECT_EQ(entranceFitting().GetSizedField(GetParam().column), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, FittingSizedFieldTest,
    ::testing::Values(SizedFieldCase{0, "   8"}, SizedFieldCase{1, "  25"},
                      SizedFieldCase{2, "EntRnd" + std::string(34, ' ')},
                      SizedFieldCase{3, std::string(11, ' ') + "10 mm"},
                      SizedFieldCase{4, std::string(12, ' ') + "0.5\""},
                      SizedFieldCase{5, "Pipe entrance rounded intake" + std::string(52, ' ')},
                      SizedFieldCase{6, std::string(12, ' ') + "0.43"}, SizedFieldCase{7, ""},
                      SizedFieldCase{-1, ""}));

TEST(Fitting, SizedFieldLongerThanItsWidthIsNotCut) {
    TFitting fitting = entranceFitting();
    fitting.SizeIndex = 123456;
    EXPECT_EQ(fitting.GetSizedField(TFitting::FieldSizeIndex), "123456");
}

TEST(Fitting, SortStringJoinsThreeFieldsThenTabAndIndex) {
    TScopedDecimalMark mark('.');
    const TFitting fitting = entranceFitting();
    EXPECT_EQ(fitting.GetSortString(6, 1, 0, 12), std::string(12, ' ') + "0.43" + "  25" + "   8" + "\t12");
}

TEST(Fitting, GridRowHoldsSevenFieldsFromTheColumn) {
    TScopedDecimalMark mark(',');
    TRecordingGrid grid;
    entranceFitting().DisplayOnStringGrid(grid, 1, 4);
    EXPECT_EQ(grid.Cell(1, 4), "25");
    EXPECT_EQ(grid.Cell(2, 4), "8");
    EXPECT_EQ(grid.Cell(3, 4), "EntRnd");
    EXPECT_EQ(grid.Cell(4, 4), "10 mm");
    EXPECT_EQ(grid.Cell(5, 4), "0.5\"");
    EXPECT_EQ(grid.Cell(6, 4), "Pipe entrance rounded intake");
    EXPECT_EQ(grid.Cell(7, 4), "0,43");
    EXPECT_EQ(grid.CellCount(), 7u);
}

TEST(Fitting, RecordIs172BytesInLayoutOrder) {
    TByteWriter writer;
    entranceFitting().WriteRecord(writer);
    ASSERT_EQ(writer.Size(), TFitting::kRecordSize);
    ASSERT_EQ(writer.Size(), 172u);
    const std::string& bytes = writer.Bytes();
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x19\0\0\0\x08\0\0\0", 8));
    EXPECT_EQ(bytes.substr(8, 7), "\x06" "EntRnd");
    EXPECT_EQ(bytes.substr(49, 6), "\x05" "10 mm");
    EXPECT_EQ(bytes.substr(66, 5), "\x04" "0.5\"");
    EXPECT_EQ(bytes[83], '\x1c');
    double kValue = 0.0;
    std::memcpy(&kValue, bytes.data() + 164, sizeof kValue);
    EXPECT_EQ(kValue, 0.43);
}

TEST(Fitting, RecordRoundTrips) {
    TByteWriter writer;
    entranceFitting().WriteRecord(writer);
    TFitting loaded;
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    expectSameFitting(loaded, entranceFitting());
}

TEST(Fitting, TruncatedRecordRaisesAndKeepsFitting) {
    TByteWriter writer;
    entranceFitting().WriteRecord(writer);
    TFitting loaded;
    TByteReader reader(writer.Bytes().data(), 100);
    EXPECT_THROW(loaded.ReadRecord(reader), EStreamFormatError);
    EXPECT_TRUE(loaded.IsCleared());
}

TEST(Fitting, TextRecordUsesPointWhateverTheSystemMark) {
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark scoped(mark);
        std::ostringstream out;
        entranceFitting().SaveToText(out);
        EXPECT_EQ(out.str(), "25~|~8~|~EntRnd~|~10 mm~|~0.5\"~|~Pipe entrance rounded intake~|~0.43\r\n")
            << "decimal mark " << mark;
    }
}

TEST(Fitting, TextRecordReadsBackOnEitherSystemMark) {
    std::ostringstream out;
    {
        TScopedDecimalMark comma(',');
        entranceFitting().SaveToText(out);
    }
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark scoped(mark);
        std::istringstream in(out.str());
        TFitting loaded;
        loaded.LoadFromText(in);
        expectSameFitting(loaded, entranceFitting());
    }
}

struct GoodLineCase {
    const char* line;
    double kValue;
};

class FittingGoodTextLineTest : public ::testing::TestWithParam<GoodLineCase> {};

TEST_P(FittingGoodTextLineTest, EitherDecimalMarkReads) {
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark scoped(mark);
        TFitting fitting;
        fitting.LoadFromTextLine(GetParam().line);
        EXPECT_EQ(fitting.KValue, GetParam().kValue) << "system mark " << mark;
        EXPECT_EQ(fitting.SizeIndex, 50);
        EXPECT_EQ(fitting.ImageIndex, 12);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, FittingGoodTextLineTest,
                         ::testing::Values(GoodLineCase{"50~|~12~|~Gate~|~50 mm~|~2\"~|~Gate valve~|~0.15", 0.15},
                                           GoodLineCase{"50~|~12~|~Gate~|~50 mm~|~2\"~|~Gate valve~|~0,15", 0.15},
                                           GoodLineCase{"50~|~12~|~Gate~|~~|~~|~~|~10", 10.0},
                                           GoodLineCase{" 50 ~|~12~|~Gate~|~~|~~|~~|~ 3.5 ", 3.5}));

TEST(Fitting, TextsLongerThanTheirFieldsAreCutOnReading) {
    TFitting fitting;
    fitting.LoadFromTextLine("1~|~2~|~" + std::string(50, 't') + "~|~m~|~i~|~" + std::string(99, 'd') + "~|~1");
    EXPECT_EQ(fitting.Type, std::string(40, 't'));
    EXPECT_EQ(fitting.Description, std::string(80, 'd'));
}

class FittingBadTextLineTest : public ::testing::TestWithParam<const char*> {};

TEST_P(FittingBadTextLineTest, RaisesAndKeepsTheFitting) {
    TFitting fitting = entranceFitting();
    try {
        fitting.LoadFromTextLine(GetParam());
        FAIL() << "line must be refused";
    } catch (const EFittingClass& error) {
        EXPECT_STREQ(error.what(), "TFitting.LoadFromText Failed: String format may not be correct");
    }
    expectSameFitting(fitting, entranceFitting());
}

INSTANTIATE_TEST_SUITE_P(Lines, FittingBadTextLineTest,
                         ::testing::Values("50~|~12~|~Gate~|~50 mm~|~2\"~|~0.15",
                                           "50~|~12~|~Gate~|~50 mm~|~2\"~|~Gate valve~|~0.15~|~extra", "",
                                           "x~|~12~|~Gate~|~~|~~|~~|~0.15", "50~|~1.5~|~Gate~|~~|~~|~~|~0.15",
                                           "50~|~12~|~Gate~|~~|~~|~~|~abc", "50~|~12~|~Gate~|~~|~~|~~|~",
                                           "50~|~12~|~Gate~|~~|~~|~~|~1.2.3"));

TEST(Fitting, LoadFromTextWithoutALineRaises) {
    std::istringstream in("");
    TFitting fitting;
    EXPECT_THROW(fitting.LoadFromText(in), EFittingClass);
}

}  // namespace
