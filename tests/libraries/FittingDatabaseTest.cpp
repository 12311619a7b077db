#include "libraries/VM4_Fitting_Database.h"

#include <gtest/gtest.h>

#include "foundations/VM4_DecimalMark.h"
#include "libraries/LibraryTestSupport.h"
#include "libraries/VM4_LibraryFiles.h"

namespace {

const char* const kStandardFittings = "Vmn_Fittings.vmfi";
const char* const kUserFittings = "Vmn_Fittings.vmfiu";
const char* const kGateLine = "25~|~7~|~GATE_VALVE~|~DN25~|~1\"~|~Gate valve~|~0.18";
const char* const kElbowLine = "25~|~0~|~ELBOW_90_STD~|~DN25~|~1\"~|~Standard elbow~|~0.69";
const char* const kHiddenLine = "0~|~-1~|~HIDDEN~|~~|~~|~Not listed~|~1.00";

TFitting pipeBend() {
    TFitting bend;
    bend.SetFittingData(50, 2, "PRad", "DN50", "2\"", "Pipe bend with specific radius", 0.347);
    return bend;
}

std::vector<std::string> typesOf(const TFittingSet& set) {
    std::vector<std::string> types;
    for (int i = 1; i <= set.Count(); ++i) types.push_back(set.GetFitting(i).Type);
    return types;
}

class FittingDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { CopyFixtureInto("fittings", folder); }
    std::string standardBytes() const { return FileContents(folder / kStandardFittings); }
    std::string userBytes() const { return FileContents(folder / kUserFittings); }

    TTempFolder folder;
    TRecordedMessages messages;
    TFittingDatabase database{folder.Path(), messages};
};

TEST_F(FittingDatabaseTest, WithoutAUserFileOnlyTheStandardFittingsLoad) {
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark systemMark(mark);
        ASSERT_TRUE(database.LoadFittingDatabase());
        EXPECT_EQ(typesOf(database.Fittings()), (std::vector<std::string>{"GATE_VALVE", "ELBOW_90_STD", "HIDDEN"}));
        // Written as 0,69 in the file.
        EXPECT_DOUBLE_EQ(database.Fittings().GetFitting(2).KValue, 0.69);
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(database.Fittings().GetFittingFileType(i), TFittingSet::kStandardFile);
            EXPECT_EQ(database.Fittings().GetQuantity(i), 0);
        }
        EXPECT_EQ(database.Header().VersionReference(), "1.02");
    }
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(FittingDatabaseTest, TheFirstUserFittingCreatesTheUserFile) {
    ASSERT_TRUE(database.LoadFittingDatabase());
    const std::string standardBefore = standardBytes();
    TScopedDecimalMark commaSystem(',');
    const int slot = database.AddUserFitting(pipeBend());
    EXPECT_EQ(slot, 4);
    EXPECT_EQ(database.Fittings().GetFittingFileType(slot), TFittingSet::kUserFile);
    EXPECT_EQ(database.Fittings().GetQuantity(slot), 1);
    EXPECT_EQ(userBytes(), CrLfLines({"1.02~|~~|~", "50~|~2~|~PRad~|~DN50~|~2\"~|~Pipe bend with specific radius~|~0.35"}));
    EXPECT_EQ(standardBytes(), standardBefore);

    // Loaded again, the user fitting follows the standard ones.
    TFittingDatabase reloaded(folder.Path(), messages);
    ASSERT_TRUE(reloaded.LoadFittingDatabase());
    EXPECT_EQ(typesOf(reloaded.Fittings()), (std::vector<std::string>{"GATE_VALVE", "ELBOW_90_STD", "HIDDEN", "PRad"}));
    EXPECT_EQ(reloaded.Fittings().GetFittingFileType(4), TFittingSet::kUserFile);
}

TEST_F(FittingDatabaseTest, RemovingAStandardFittingRewritesOnlyTheStandardFile) {
    ASSERT_TRUE(database.LoadFittingDatabase());
    database.AddUserFitting(pipeBend());
    const std::string userBefore = userBytes();
    database.RemoveDatabaseFitting(1);
    // The fitting that lists leave out stays in the file.
    EXPECT_EQ(standardBytes(), CrLfLines({"1.02~|~~|~", kElbowLine, kHiddenLine}));
    EXPECT_EQ(userBytes(), userBefore);
    EXPECT_EQ(typesOf(database.Fittings()), (std::vector<std::string>{"ELBOW_90_STD", "HIDDEN", "PRad"}));
}

TEST_F(FittingDatabaseTest, RemovingAUserFittingRewritesOnlyTheUserFile) {
    ASSERT_TRUE(database.LoadFittingDatabase());
    database.AddUserFitting(pipeBend());
    const std::string standardBefore = standardBytes();
    database.RemoveDatabaseFitting(4);
    EXPECT_EQ(userBytes(), "1.02~|~~|~\r\n");
    EXPECT_EQ(standardBytes(), standardBefore);
    EXPECT_EQ(standardBefore, CrLfLines({"1.02~|~~|~", kGateLine, "25~|~0~|~ELBOW_90_STD~|~DN25~|~1\"~|~Standard elbow~|~0,69",
                                         kHiddenLine}));
}

TEST_F(FittingDatabaseTest, AUserTextCannotBreakTheRecordLine) {
    ASSERT_TRUE(database.LoadFittingDatabase());
    TFitting odd = pipeBend();
    odd.Description = "Bend ~|~ 3 pieces\r\nwelded";
    database.AddUserFitting(odd);
    EXPECT_EQ(database.Fittings().GetFitting(4).Description, "Bend ~/~ 3 pieces welded");
    TFittingDatabase reloaded(folder.Path(), messages);
    ASSERT_TRUE(reloaded.LoadFittingDatabase());
    EXPECT_EQ(reloaded.Fittings().GetFitting(4).Description, "Bend ~/~ 3 pieces welded");
    EXPECT_DOUBLE_EQ(reloaded.Fittings().GetFitting(4).KValue, 0.35);
}

TEST_F(FittingDatabaseTest, AFailedSavePutsTheSetBack) {
    ASSERT_TRUE(database.LoadFittingDatabase());
    std::filesystem::create_directory(folder / kUserFittings);
    try {
        database.AddUserFitting(pipeBend());
        FAIL() << "the user file cannot be written";
    } catch (const EFittingSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -03u: Could not save file.");
    }
    EXPECT_EQ(typesOf(database.Fittings()), (std::vector<std::string>{"GATE_VALVE", "ELBOW_90_STD", "HIDDEN"}));

    std::filesystem::remove(folder / kStandardFittings);
    std::filesystem::create_directory(folder / kStandardFittings);
    try {
        database.RemoveDatabaseFitting(1);
        FAIL() << "the standard file cannot be written";
    } catch (const EFittingSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -03: Could not save file.");
    }
    EXPECT_EQ(typesOf(database.Fittings()), (std::vector<std::string>{"GATE_VALVE", "ELBOW_90_STD", "HIDDEN"}));
}

TEST_F(FittingDatabaseTest, AMissingStandardFileRaisesAndLeavesTheSetEmpty) {
    std::filesystem::remove(folder / kStandardFittings);
    EXPECT_THROW(database.LoadFittingDatabase(), ELibraryFile);
    EXPECT_EQ(database.Fittings().Count(), 0);
}

TEST_F(FittingDatabaseTest, OneFittingTooManyIsToldAndKeepsTheSetAsBeforeTheFile) {
    TFittingDatabase exact(folder.Path(), messages, 3);
    ASSERT_TRUE(exact.LoadFittingDatabase());
    EXPECT_EQ(exact.Fittings().Count(), 3);
    TFittingDatabase tooSmall(folder.Path(), messages, 2);
    EXPECT_FALSE(tooSmall.LoadFittingDatabase());
    EXPECT_EQ(messages.Shown,
              std::vector<std::string>{"Code -02: File too large - Read past max number of fittings."});
    EXPECT_EQ(tooSmall.Fittings().Count(), 0);
}


// An installed program: the shipped files in a data folder the program never
// writes, the user's changes in a folder of their own.
class FittingDatabaseUserFolderTest : public ::testing::Test {
protected:
    void SetUp() override { CopyFixtureInto("fittings", data); }
    std::filesystem::path userTables() const { return user / "FittingTables"; }
    TFittingDatabase open() { return TFittingDatabase(data.Path(), userTables(), messages); }

    TTempFolder data;
    TTempFolder user;
    TRecordedMessages messages;
};

TEST_F(FittingDatabaseUserFolderTest, ChangesGoToTheUserFolderAndComeBackFromIt) {
    const std::string shipped = FileContents(data / kStandardFittings);
    TFittingDatabase database = open();
    ASSERT_TRUE(database.LoadFittingDatabase());
    database.AddUserFitting(pipeBend());
    database.RemoveDatabaseFitting(1);
    EXPECT_EQ(FileContents(data / kStandardFittings), shipped);
    EXPECT_FALSE(std::filesystem::exists(data / kUserFittings));
    EXPECT_EQ(FileContents(userTables() / "Vmn_Fittings_Edited.vmfi"),
              CrLfLines({"1.02~|~~|~", kElbowLine, kHiddenLine}));

    TFittingDatabase reloaded = open();
    ASSERT_TRUE(reloaded.LoadFittingDatabase());
    EXPECT_EQ(typesOf(reloaded.Fittings()), (std::vector<std::string>{"ELBOW_90_STD", "HIDDEN", "PRad"}));
    const TFitting& bend = reloaded.Fittings().GetFitting(3);
    EXPECT_EQ(bend.SizeIndex, 50);
    EXPECT_EQ(bend.ImageIndex, 2);
    EXPECT_EQ(bend.Description, "Pipe bend with specific radius");
    EXPECT_NEAR(bend.KValue, 0.35, 1e-12);
    EXPECT_EQ(reloaded.Fittings().GetFittingFileType(3), TFittingSet::kUserFile);
}

TEST_F(FittingDatabaseUserFolderTest, AMalformedUserFileNamesItsLine) {
    std::filesystem::create_directories(userTables());
    WriteFileContents(userTables() / kUserFittings, CrLfLines({"1.02~|~~|~", "25~|~2~|~PRad~|~DN25~|~1\"~|~Bend~|~not a K"}));
    TFittingDatabase database = open();
    try {
        database.LoadFittingDatabase();
        FAIL() << "the user file is malformed";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Code -01u: Error on line number 2");
    }
}

TEST_F(FittingDatabaseUserFolderTest, AReadOnlyUserFolderLeavesFilesAndSetAsTheyWere) {
    std::filesystem::create_directories(userTables());
    TFittingDatabase database = open();
    ASSERT_TRUE(database.LoadFittingDatabase());
    database.AddUserFitting(pipeBend());
    const std::string userBefore = FileContents(userTables() / kUserFittings);
    std::filesystem::permissions(userTables() / kUserFittings, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    TFitting valve = pipeBend();
    valve.Type = "VALVE";
    EXPECT_THROW(database.AddUserFitting(valve), EFittingSetClass);
    EXPECT_EQ(typesOf(database.Fittings()), (std::vector<std::string>{"GATE_VALVE", "ELBOW_90_STD", "HIDDEN", "PRad"}));
    EXPECT_EQ(FileContents(userTables() / kUserFittings), userBefore);
}

}  // namespace
