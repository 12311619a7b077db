// An installed program reads its libraries from a folder the user cannot
// write; every change must land in the user's folder and leave the program's
// files byte for byte as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "LibraryTestSupport.h"
#include "common/TempFolder.h"
#include "libraries/VM4_Fluid_Database.h"
#include "libraries/VM4_LibraryFiles.h"
#include "libraries/VM4_Pipe_Diameter_Library.h"
#include "libraries/VM4_Pipe_Diameter_Set_Class.h"

namespace {

const std::string kSteelTable = "Steel_Test.vmpi";

// Every file of a folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = FileContents(entry.path());
    return files;
}

class PipeLibraryUserFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        CopyFixtureInto("pipes", program);
        // The user's sizes of the fixture belong to the user folder.
        std::filesystem::rename(program / "Steel_Test.vmpiu", user / "Steel_Test.vmpiu");
        installed = Snapshot(program.Path());
        library.SetUserFolder(user.Path());
    }

    TTempFolder program;
    TTempFolder user;
    std::map<std::string, std::string> installed;
    TRecordedMessages messages;
    TPipeDiameterLibrary library{program.Path(), messages};
};

TEST_F(PipeLibraryUserFolderTest, UserSizesAreReadFromAndWrittenToTheUserFolder) {
    ASSERT_TRUE(library.LoadPipeTable(library.TablePath(kSteelTable)));
    const int before = library.Sizes().Count();
    ASSERT_EQ(library.Sizes().GetPipeDiameterFileType(before), TPipeDiameterSet::kUserFile);
    library.AddPipeSize(library.MakeNewPipeSize("10\"", 0.00927, 0.27305, 60.3));

    TPipeDiameterLibrary reread(program.Path(), messages);
    reread.SetUserFolder(user.Path());
    ASSERT_TRUE(reread.LoadPipeTable(reread.TablePath(kSteelTable)));
    ASSERT_EQ(reread.Sizes().Count(), before + 1);
    EXPECT_EQ(reread.Sizes().GetPipeDiameterData(before + 1).NominalSize, "10\"");
    EXPECT_NEAR(reread.Sizes().GetPipeDiameterData(before + 1).InnerDiameter_m, 0.25451, 1e-5);
    EXPECT_EQ(Snapshot(program.Path()), installed);
}

TEST_F(PipeLibraryUserFolderTest, RemovingAStandardSizeWritesACopyThatHidesTheProgramsTable) {
    ASSERT_TRUE(library.LoadPipeTable(library.TablePath(kSteelTable)));
    const std::string removed = library.Sizes().GetPipeDiameterData(1).NominalSize;
    const int before = library.Sizes().Count();
    library.RemovePipeSize(1);
    EXPECT_EQ(library.Sizes().Count(), before - 1);
    EXPECT_EQ(library.TablePath(kSteelTable), user / kSteelTable);
    EXPECT_EQ(Snapshot(program.Path()), installed);

    TPipeDiameterLibrary reread(program.Path(), messages);
    reread.SetUserFolder(user.Path());
    ASSERT_TRUE(reread.LoadPipeTable(reread.TablePath(kSteelTable)));
    EXPECT_EQ(reread.Sizes().Count(), before - 1);
    EXPECT_NE(reread.Sizes().GetPipeDiameterData(1).NominalSize, removed);
    // The table is listed once, from the user's copy.
    int listed = 0;
    for (const TPipeTableEntry& entry : reread.ListPipeTables()) listed += entry.FileName == kSteelTable ? 1 : 0;
    EXPECT_EQ(listed, 1);
}

TEST_F(PipeLibraryUserFolderTest, NewMaterialsLiveInTheUserFolderAndOnlyTheyCanBeRemoved) {
    ASSERT_TRUE(library.AddPipeMaterial("Copper", "K", 1.5e-6));
    EXPECT_TRUE(std::filesystem::exists(user / "UserMaterialCopper.vmpi"));
    // A material of the same name as an installed one is refused.
    EXPECT_FALSE(library.AddPipeMaterial("Plastic", "PN10", 1.5e-6));
    EXPECT_THROW(library.RemovePipeMaterial(kSteelTable), EPipeDiameterSetClass);
    library.RemovePipeMaterial("UserMaterialCopper.vmpi");
    EXPECT_FALSE(std::filesystem::exists(user / "UserMaterialCopper.vmpi"));
    EXPECT_EQ(Snapshot(program.Path()), installed);
}

TEST(FluidDatabaseUserFolderTest, ChangesGoToTheUserFolderAndAreReadBackFromIt) {
    TTempFolder program;
    TTempFolder user;
    CopyFixtureInto("fluids", program);
    std::filesystem::remove(program / "vmn_Fluids.vmflu");
    const std::map<std::string, std::string> installed = Snapshot(program.Path());
    TRecordedMessages messages;
    TFluidDatabase database(program.Path(), messages);
    database.SetUserFolder(user.Path());
    ASSERT_TRUE(database.LoadFluidDatabase());
    const int standardCount = database.Fluids().Count();

    TFluid mine;
    mine.Name = "Glycol 30%";
    mine.Density_kg_m3 = 1040.0;
    mine.DynamicViscosity_cP = 2.5;
    database.AddUserFluid(mine);
    // A standard fluid removed: the rewritten standard file is the user's copy.
    database.RemoveDatabaseFluid(database.Fluids().FindEntryNameId("Water"));
    EXPECT_EQ(Snapshot(program.Path()), installed);
    EXPECT_TRUE(std::filesystem::exists(user / "vmn_Fluids.vmflu"));
    EXPECT_EQ(database.StandardFilePath(), user / "vmn_Fluids.vmfl");

    TFluidDatabase reread(program.Path(), messages);
    reread.SetUserFolder(user.Path());
    ASSERT_TRUE(reread.LoadFluidDatabase());
    EXPECT_EQ(reread.Fluids().Count(), standardCount);
    EXPECT_EQ(reread.Fluids().FindEntryNameId("Water"), -1);
    const int slot = reread.Fluids().FindEntryNameId("Glycol 30%");
    ASSERT_GT(slot, 0);
    EXPECT_NEAR(reread.Fluids().GetFluidDataRec(slot).Fluid.Density_kg_m3, 1040.0, 1e-3);
}

}  // namespace
