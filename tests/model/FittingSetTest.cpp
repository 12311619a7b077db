#include "model/VM4_Fitting_Set_Class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "common/FuzzyCompare.h"
#include "common/RecordingGrid.h"
#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_UserMessages.h"

namespace {

const char* const kRemoveFailed =
    "TFittingSet.RemoveFitting Failed: Specified FittingId may not be valid (or is not a used Fitting)";

TFitting makeFitting(std::int32_t imageIndex, const std::string& type, double kValue, std::int32_t sizeIndex = 50) {
    TFitting fitting;
    fitting.SetFittingData(sizeIndex, imageIndex, type, "", "", type + " description", kValue);
    return fitting;
}

// Fittings by type name in entry order, to compare orders at a glance.
std::vector<std::string> typesInOrder(const TFittingSet& set) {
    std::vector<std::string> types;
    for (int i = 1; i <= set.Count(); ++i) types.push_back(set.GetFitting(i).Type);
    return types;
}

class TScriptedMessages : public IUserMessages {
public:
    void ShowInformation(const std::string& text) override { shown.push_back(text); }
    bool Confirm(const std::string&) override { return true; }
    void ShowStatus(const std::string&) override {}
    void ProcessMessages() override {}

    std::vector<std::string> shown;
};

// A pipe's set: two elbows (K 0.43) x 3 and one valve (K 5.1) x 1, the valve a standard entry.
class PipeFittingSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        set.AddFitting(makeFitting(1, "Elbow", 0.43), 3);
        set.AddFitting(makeFitting(12, "Valve", 5.1), 1);
        set.SetFittingFileType(2, TFittingSet::kStandardFile);
        set.AddFitting(makeFitting(2, "Tee", 0.9), 2);
    }

    TFittingSet set{TFittingSet::kPipeCapacity};
};

TEST_F(PipeFittingSetTest, AddedEntriesAreUserEntriesNumberedFromOne) {
    EXPECT_EQ(set.Capacity(), 5);
    EXPECT_EQ(set.Count(), 3);
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"Elbow", "Valve", "Tee"}));
    EXPECT_EQ(set.GetQuantity(1), 3);
    EXPECT_EQ(set.GetFittingFileType(1), TFittingSet::kUserFile);
    EXPECT_EQ(set.AddFitting(makeFitting(3, "Bend", 0.2), 1), 4);
}

TEST_F(PipeFittingSetTest, TotalKAndCountIncludeQuantities) {
    set.RemoveFitting(3);
    // 3 x 0.43 + 1 x 5.1 = 6.39
    EXPECT_REL_NEAR(set.CalculateTotal_KValue(), 6.39, 1e-12);
    EXPECT_EQ(set.GetFittingCountIncludingQuantities(), 4);
}

TEST_F(PipeFittingSetTest, SixthFittingTypeIsRefusedAndNothingChanges) {
    set.AddFitting(makeFitting(3, "Bend", 0.2), 1);
    set.AddFitting(makeFitting(4, "Reducer", 0.3), 1);
    try {
        set.AddFitting(makeFitting(5, "Sixth", 9.9), 1);
        FAIL() << "a sixth fitting type must be refused";
    } catch (const EFittingSetClass& error) {
        EXPECT_STREQ(error.what(), "TFittingSet.AddFitting Failed: May have reached Max number of Fittings allowed");
    }
    EXPECT_EQ(set.Count(), 5);
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"Elbow", "Valve", "Tee", "Bend", "Reducer"}));
}

TEST_F(PipeFittingSetTest, RemovingAMiddleEntryMovesLaterEntriesDownWithQuantityAndOrigin) {
    set.RemoveFitting(2);
    EXPECT_EQ(set.Count(), 2);
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"Elbow", "Tee"}));
    EXPECT_EQ(set.GetQuantity(2), 2);
    EXPECT_EQ(set.GetFittingFileType(2), TFittingSet::kUserFile);
    EXPECT_TRUE(set.GetFitting(5).IsCleared());
    // the valve's standard origin went with it
    set.RemoveFitting(1);
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"Tee"}));
}

TEST_F(PipeFittingSetTest, RemovingAnUnusedEntryIsRefusedAndNothingChanges) {
    for (const int index : {0, -1, 4, 5, 6}) {
        try {
            set.RemoveFitting(index);
            FAIL() << "index " << index << " must be refused";
        } catch (const EFittingSetClass& error) {
            EXPECT_STREQ(error.what(), kRemoveFailed);
        }
        EXPECT_EQ(set.Count(), 3);
    }
}

TEST_F(PipeFittingSetTest, RemovingAnEntryWithAClearedFittingIsRefused) {
    TFitting cleared;
    set.ReplaceFitting(2, cleared);
    EXPECT_THROW(set.RemoveFitting(2), EFittingSetClass);
    EXPECT_EQ(set.Count(), 3);
}

TEST_F(PipeFittingSetTest, EntryAccessorsRefuseIndicesOutsideTheSet) {
    EXPECT_THROW(set.GetFitting(0), EFittingSetClass);
    EXPECT_THROW(set.GetQuantity(6), EFittingSetClass);
    EXPECT_THROW(set.UpdateFittingQuantity(-1, 2), EFittingSetClass);
    try {
        set.ReplaceFitting(6, makeFitting(1, "x", 1.0));
        FAIL() << "entry 6 does not exist";
    } catch (const EFittingSetClass& error) {
        EXPECT_STREQ(error.what(), "TFittingSet.ReplaceFitting Failed: Specified FittingId may not be valid");
    }
}

TEST_F(PipeFittingSetTest, QuantityIsShownOnTheGrid) {
    TRecordingGrid grid;
    set.UpdateFittingQuantity(1, 7);
    set.DisplayQuantityOnStringGrid(1, grid, 3, 2);
    EXPECT_EQ(grid.Cell(2, 3), "7");
}

TEST_F(PipeFittingSetTest, CopyFittingSetTakesCountEntriesQuantitiesAndOrigins) {
    TFittingSet copy(TFittingSet::kPipeCapacity);
    copy.AddFitting(makeFitting(1, "Old", 1.0), 1);
    copy.CopyFittingSet(set);
    EXPECT_EQ(typesInOrder(copy), typesInOrder(set));
    EXPECT_EQ(copy.GetQuantity(3), 2);
    EXPECT_EQ(copy.GetFittingFileType(2), TFittingSet::kStandardFile);
}

TEST_F(PipeFittingSetTest, CopyIntoASmallerSetIsRefused) {
    TFittingSet small(2);
    try {
        small.CopyFittingSet(set);
        FAIL() << "three entries cannot fit into two";
    } catch (const EFittingSetClass& error) {
        EXPECT_STREQ(error.what(), "TFittingSet.CopyFittingSet Failed: May have reached Max number of Fittings allowed");
    }
    EXPECT_EQ(small.Count(), 0);
}

TEST_F(PipeFittingSetTest, ClearEmptiesEveryEntry) {
    set.Clear();
    EXPECT_EQ(set.Count(), 0);
    for (int i = 1; i <= set.Capacity(); ++i) {
        EXPECT_TRUE(set.GetFitting(i).IsCleared());
        EXPECT_EQ(set.GetQuantity(i), 0);
        EXPECT_EQ(set.GetFittingFileType(i), TFittingSet::kUserFile);
    }
}

struct SymbolTypeCase {
    std::vector<std::int32_t> imageIndices;
    bool showBends;
    bool showValves;
    int symbolType;
};

class FittingSetSymbolTypeTest : public ::testing::TestWithParam<SymbolTypeCase> {};

TEST_P(FittingSetSymbolTypeTest, BendsCountOneValvesTwo) {
    const SymbolTypeCase& c = GetParam();
    TFittingSet set(TFittingSet::kPipeCapacity);
    for (const std::int32_t imageIndex : c.imageIndices) set.AddFitting(makeFitting(imageIndex, "f", 1.0), 1);
    EXPECT_EQ(set.GetFittingSetSymbolType(c.showBends, c.showValves), c.symbolType);
}

INSTANTIATE_TEST_SUITE_P(Sets, FittingSetSymbolTypeTest,
                         ::testing::Values(SymbolTypeCase{{7, 20}, true, true, 2},
                                           SymbolTypeCase{{7, 20}, true, false, 0},
                                           SymbolTypeCase{{0, 21}, true, true, 1},
                                           SymbolTypeCase{{6}, false, true, 0},
                                           SymbolTypeCase{{6, 12}, true, true, 3},
                                           SymbolTypeCase{{6, 12}, false, true, 2},
                                           SymbolTypeCase{{}, true, true, 0}));

// A database-sized set whose K values sort differently as text and as numbers.
class FittingSetSortTest : public ::testing::Test {
protected:
    void SetUp() override {
        TScopedDecimalMark mark('.');
        set.AddFitting(makeFitting(9, "B-valve", 10.0, 25), 4);
        set.AddFitting(makeFitting(1, "a-elbow", 9.2, 100), 1);
        set.AddFitting(makeFitting(14, "c-tee", 0.5, 50), 2);
        set.SetFittingFileType(1, TFittingSet::kStandardFile);
    }

    TFittingSet set{10};
};

TEST_F(FittingSetSortTest, KColumnSortsRightAlignedNumbersNumerically) {
    set.SortFittingSet(7, true);
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"c-tee", "a-elbow", "B-valve"}));
    // quantity and origin travel with their fitting
    EXPECT_EQ(set.GetQuantity(3), 4);
    EXPECT_EQ(set.GetFittingFileType(3), TFittingSet::kStandardFile);
    set.SortFittingSet(7, false);
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"B-valve", "a-elbow", "c-tee"}));
}

struct SortColumnCase {
    int column;
    std::vector<std::string> ascendingTypes;
};

class FittingSetSortColumnTest : public FittingSetSortTest, public ::testing::WithParamInterface<SortColumnCase> {};

TEST_P(FittingSetSortColumnTest, ClickedColumnChoosesTheKey) {
    set.SortFittingSet(GetParam().column, true);
    EXPECT_EQ(typesInOrder(set), GetParam().ascendingTypes);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, FittingSetSortColumnTest,
    ::testing::Values(
        // image index 1, 9, 14
        SortColumnCase{0, {"a-elbow", "B-valve", "c-tee"}},
        // size 25, 50, 100 (right-aligned text)
        SortColumnCase{1, {"B-valve", "c-tee", "a-elbow"}}, SortColumnCase{4, {"B-valve", "c-tee", "a-elbow"}},
        SortColumnCase{99, {"B-valve", "c-tee", "a-elbow"}},
        // type, ignoring case
        SortColumnCase{3, {"a-elbow", "B-valve", "c-tee"}},
        // description, ignoring case
        SortColumnCase{6, {"a-elbow", "B-valve", "c-tee"}}));

TEST(FittingSetRecord, SizeIsCountThen176BytesPerEntry) {
    TFittingSet set(TFittingSet::kPipeCapacity);
    EXPECT_EQ(set.RecordSize(), 4u);
    set.AddFitting(makeFitting(1, "Elbow", 0.43), 3);
    set.AddFitting(makeFitting(12, "Valve", 5.1), 1);
    TByteWriter writer;
    set.WriteRecord(writer);
    EXPECT_EQ(writer.Size(), 4u + 2 * 176u);
    EXPECT_EQ(set.RecordSize(), writer.Size());
    // the count, then the first quantity right after the first fitting record
    EXPECT_EQ(writer.Bytes().substr(0, 4), std::string("\x02\0\0\0", 4));
    EXPECT_EQ(writer.Bytes().substr(4 + 172, 4), std::string("\x03\0\0\0", 4));
}

TEST(FittingSetRecord, RoundTripKeepsEntriesAndQuantities) {
    TFittingSet set(TFittingSet::kPipeCapacity);
    set.AddFitting(makeFitting(1, "Elbow", 0.43), 3);
    set.AddFitting(makeFitting(12, "Valve", 5.1), 1);
    TByteWriter writer;
    set.WriteRecord(writer);

    TFittingSet loaded(TFittingSet::kPipeCapacity);
    loaded.AddFitting(makeFitting(3, "Stale", 1.0), 1);
    loaded.AddFitting(makeFitting(3, "Stale", 1.0), 1);
    loaded.AddFitting(makeFitting(3, "Stale", 1.0), 1);
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(typesInOrder(loaded), (std::vector<std::string>{"Elbow", "Valve"}));
    EXPECT_EQ(loaded.GetQuantity(1), 3);
    EXPECT_EQ(loaded.GetQuantity(2), 1);
    EXPECT_TRUE(loaded.GetFitting(3).IsCleared());
}

struct BadCountCase {
    std::int32_t count;
    const char* message;
};

class FittingSetBadCountTest : public ::testing::TestWithParam<BadCountCase> {};

TEST_P(FittingSetBadCountTest, CountOutsideTheCapacityIsRejectedAtItsOffset) {
    TByteWriter writer;
    writer.WriteZeros(3);
    writer.WriteInt32(GetParam().count);
    writer.WriteZeros(6 * 176);
    TByteReader reader(writer.Bytes());
    reader.Skip(3);
    TFittingSet set(TFittingSet::kPipeCapacity);
    set.AddFitting(makeFitting(1, "Kept", 1.0), 1);
    try {
        set.ReadRecord(reader);
        FAIL() << "count " << GetParam().count << " must be rejected";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"Kept"}));
}

INSTANTIATE_TEST_SUITE_P(Counts, FittingSetBadCountTest,
                         ::testing::Values(BadCountCase{6, "fitting count 6 outside 0..5 at byte 3"},
                                           BadCountCase{-1, "fitting count -1 outside 0..5 at byte 3"},
                                           BadCountCase{1000000, "fitting count 1000000 outside 0..5 at byte 3"}));

TEST(FittingSetRecord, NegativeQuantityIsRejectedAtItsOffset) {
    TFittingSet set(TFittingSet::kPipeCapacity);
    set.AddFitting(makeFitting(1, "Elbow", 0.43), 1);
    TByteWriter writer;
    set.WriteRecord(writer);
    std::string bytes = writer.Bytes();
    const std::int32_t negative = -2;
    std::memcpy(bytes.data() + 4 + 172, &negative, sizeof negative);
    TFittingSet loaded(TFittingSet::kPipeCapacity);
    TByteReader reader(bytes);
    try {
        loaded.ReadRecord(reader);
        FAIL() << "a negative quantity must be rejected";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), "negative fitting quantity -2 at byte 176");
    }
    EXPECT_EQ(loaded.Count(), 0);
}

// ---- Fitting database text files

const char* const kStandardLines =
    "25~|~1~|~Elbow~|~25 mm~|~1\"~|~Elbow 90~|~0.75\r\n"
    "50~|~12~|~Gate~|~50 mm~|~2\"~|~Gate valve~|~0,15\r\n";

TEST(FittingSetText, StandardFileFillsFromEntryOneWithQuantityZero) {
    TFittingSet set(10);
    set.AddFitting(makeFitting(1, "Old", 1.0), 5);
    TScriptedMessages messages;
    std::istringstream in(kStandardLines);
    EXPECT_TRUE(set.LoadFromTextWithoutQuantity(in, messages));
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"Elbow", "Gate"}));
    EXPECT_EQ(set.GetFitting(2).KValue, 0.15);
    EXPECT_EQ(set.GetQuantity(1), 0);
    EXPECT_EQ(set.GetFittingFileType(1), TFittingSet::kStandardFile);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(FittingSetText, UserFileAppendsUserEntries) {
    TFittingSet set(10);
    TScriptedMessages messages;
    std::istringstream standard(kStandardLines);
    set.LoadFromTextWithoutQuantity(standard, messages);
    std::istringstream user("80~|~3~|~Mine~|~80 mm~|~3\"~|~My bend~|~1.10\r\n\r\n");
    EXPECT_TRUE(set.LoadUserFittings_FromTextWithoutQuantity(user, messages));
    EXPECT_EQ(typesInOrder(set), (std::vector<std::string>{"Elbow", "Gate", "Mine"}));
    EXPECT_EQ(set.GetFittingFileType(3), TFittingSet::kUserFile);
}

TEST(FittingSetText, EachOriginIsSavedToItsOwnFile) {
    TFittingSet set(10);
    TScriptedMessages messages;
    std::istringstream standard(kStandardLines);
    set.LoadFromTextWithoutQuantity(standard, messages);
    set.AddFitting(makeFitting(3, "Mine", 1.1, 80), 1);

    std::ostringstream standardOut;
    std::ostringstream userOut;
    set.SaveToTextWithoutQuantity(standardOut);
    set.SaveUserFittings_ToTextWithoutQuantity(userOut);
    EXPECT_EQ(standardOut.str(),
              "25~|~1~|~Elbow~|~25 mm~|~1\"~|~Elbow 90~|~0.75\r\n"
              "50~|~12~|~Gate~|~50 mm~|~2\"~|~Gate valve~|~0.15\r\n");
    EXPECT_EQ(userOut.str(), "80~|~3~|~Mine~|~~|~~|~Mine description~|~1.10\r\n");
}

struct BadLineCase {
    bool userFile;
    const char* message;
};

class FittingSetBadLineTest : public ::testing::TestWithParam<BadLineCase> {};

TEST_P(FittingSetBadLineTest, NamesTheLineOfTheFile) {
    TFittingSet set(10);
    TScriptedMessages messages;
    std::istringstream standard(kStandardLines);
    set.LoadFromTextWithoutQuantity(standard, messages);
    // The header was read before: the bad line is line 4 of the standard file
    // (after two fittings) and line 2 of the user file.
    std::istringstream in(GetParam().userFile ? "50~|~12~|~Gate~|~~|~~|~~|~x\r\n"
                                              : std::string(kStandardLines) + "50~|~12~|~Gate~|~~|~~|~~|~x\r\n");
    try {
        if (GetParam().userFile) {
            set.LoadUserFittings_FromTextWithoutQuantity(in, messages);
        } else {
            set.LoadFromTextWithoutQuantity(in, messages);
        }
        FAIL() << "a bad line must raise";
    } catch (const EFittingSetClass& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
    EXPECT_EQ(set.Count(), 2);
}

INSTANTIATE_TEST_SUITE_P(Files, FittingSetBadLineTest,
                         ::testing::Values(BadLineCase{false, "Code -01: Error on line number 4"},
                                           BadLineCase{true, "Code -01u: Error on line number 2"}));

TEST(FittingSetText, FileThatFillsTheSetExactlyLoadsCompletely) {
    TFittingSet set(2);
    TScriptedMessages messages;
    std::istringstream in(kStandardLines);
    EXPECT_TRUE(set.LoadFromTextWithoutQuantity(in, messages));
    EXPECT_EQ(set.Count(), 2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(FittingSetText, RecordPastAFullSetStopsReadingAndKeepsTheCount) {
    TFittingSet set(2);
    TScriptedMessages messages;
    std::istringstream standard("25~|~1~|~Elbow~|~~|~~|~~|~0.75\r\n");
    set.LoadFromTextWithoutQuantity(standard, messages);
    std::istringstream user(kStandardLines);
    EXPECT_FALSE(set.LoadUserFittings_FromTextWithoutQuantity(user, messages));
    EXPECT_EQ(set.Count(), 1);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"Code -02u: File too large - Read past max number of fittings."}));

    std::istringstream tooLong(std::string(kStandardLines) + kStandardLines);
    EXPECT_FALSE(set.LoadFromTextWithoutQuantity(tooLong, messages));
    EXPECT_EQ(set.Count(), 1);
    EXPECT_EQ(messages.shown.back(), "Code -02: File too large - Read past max number of fittings.");
}

TEST(FittingSetText, FailingStreamRaisesCouldNotSave) {
    TFittingSet set(10);
    set.AddFitting(makeFitting(1, "Mine", 1.0), 1);
    set.AddFitting(makeFitting(1, "Standard", 1.0), 1);
    set.SetFittingFileType(2, TFittingSet::kStandardFile);
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    try {
        set.SaveUserFittings_ToTextWithoutQuantity(broken);
        FAIL() << "a failing stream must raise";
    } catch (const EFittingSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -03u: Could not save file.");
    }
    try {
        set.SaveToTextWithoutQuantity(broken);
        FAIL() << "a failing stream must raise";
    } catch (const EFittingSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -03: Could not save file.");
    }
}

}  // namespace
