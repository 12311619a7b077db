#include "foundations/VM4_ProgramFolders.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// A folder tree with a build layout (data beside bin/) or an installed one
// (data in share/velmora-studio beside bin/), and a home folder.
class ProgramFoldersTest : public ::testing::Test {
protected:
    ProgramFoldersTest() { fs::create_directories(bin); }

    void putDataIn(const fs::path& folder) { fs::create_directories(folder / kDataMarkerFolder); }

    TTempFolder root;
    const fs::path bin = root / "prefix/bin";
    const fs::path installedData = root / "prefix/share/velmora-studio";
    const fs::path home = root / "home";
};

TEST_F(ProgramFoldersTest, ABuildKeepsEverythingBesideTheExecutable) {
    putDataIn(bin);
    putDataIn(installedData);  // an installation beside it is not what this program is
    const TProgramFolders folders = FindProgramFolders(bin, {"", home.string()});
    EXPECT_EQ(folders.Data, bin);
    EXPECT_EQ(folders.User, bin);
    EXPECT_FALSE(fs::exists(home));
}

TEST_F(ProgramFoldersTest, AnInstalledProgramReadsShareAndKeepsUserFilesInTheXdgFolder) {
    putDataIn(installedData);
    const struct {
        const char* What;
        std::string XdgDataHome;
        std::string Home;
        fs::path User;
    } cases[] = {
        {"XDG_DATA_HOME set", (root / "xdg").string(), home.string(), root / "xdg/velmora-studio"},
        {"XDG_DATA_HOME unset", "", home.string(), home / ".local/share/velmora-studio"},
        {"relative XDG_DATA_HOME is invalid", "xdg", home.string(), home / ".local/share/velmora-studio"},
        {"no home at all", "", "", installedData},
    };
    for (const auto& c : cases) {
        const TProgramFolders folders = FindProgramFolders(bin, {c.XdgDataHome, c.Home});
        EXPECT_EQ(folders.Data, installedData) << c.What;
        EXPECT_EQ(folders.User, c.User) << c.What;
        EXPECT_TRUE(fs::is_directory(folders.User)) << c.What;  // made when missing
    }
}

TEST_F(ProgramFoldersTest, WithoutDataAnywhereTheExecutablesFolderIsUsed) {
    const TProgramFolders folders = FindProgramFolders(bin, {"", home.string()});
    EXPECT_EQ(folders.Data, bin);
    EXPECT_EQ(folders.User, bin);
}

TEST_F(ProgramFoldersTest, AUserFolderThatCannotBeMadeFallsBackToTheDataFolder) {
    putDataIn(installedData);
    WriteFileContents(root / "file", "a file where the folder would go");
    const TProgramFolders folders = FindProgramFolders(bin, {(root / "file").string(), ""});
    EXPECT_EQ(folders.User, installedData);
}

}  // namespace
