#include "foundations/VM4_SafeSave.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"

namespace {

class SafeSaveTest : public ::testing::Test {
protected:
    TTempFolder folder;
};

TEST_F(SafeSaveTest, CreatesANewFileWithTheExactBytes) {
    const std::string bytes = std::string("line 1\r\nline 2\r\n") + '\0' + "\xB0";
    SafeSaveFile(folder / "new.txt", bytes);
    EXPECT_EQ(FileContents(folder / "new.txt"), bytes);
    EXPECT_EQ(FolderListing(folder.Path()), "new.txt\n");
}

TEST_F(SafeSaveTest, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    WriteFileContents(folder / "table.txt", "old contents that are longer than the new ones");
    SafeSaveFile(folder / "table.txt", "new");
    EXPECT_EQ(FileContents(folder / "table.txt"), "new");
    EXPECT_EQ(FolderListing(folder.Path()), "table.txt\n");
}

TEST_F(SafeSaveTest, SavesAnEmptyFile) {
    WriteFileContents(folder / "table.txt", "old");
    SafeSaveFile(folder / "table.txt", "");
    EXPECT_TRUE(std::filesystem::exists(folder / "table.txt"));
    EXPECT_EQ(std::filesystem::file_size(folder / "table.txt"), 0u);
}

TEST_F(SafeSaveTest, AMissingFolderRaisesAndCreatesNothing) {
    const auto target = folder / "missing" / "table.txt";
    try {
        SafeSaveFile(target, "data");
        FAIL() << "saving into a missing folder must raise";
    } catch (const ESafeSave& error) {
        EXPECT_NE(std::string(error.what()).find("Could not save " + target.string() + ": "), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(FolderListing(folder.Path()), "");
}

TEST_F(SafeSaveTest, AFailedRenameKeepsWhatWasThereAndRemovesTheTemporaryFile) {
    // A folder in the target's place cannot be replaced by a file: the rename fails
    // after the temporary file was written.
    std::filesystem::create_directory(folder / "table.txt");
    WriteFileContents(folder / "table.txt" / "inside.txt", "kept");
    EXPECT_THROW(SafeSaveFile(folder / "table.txt", "data"), ESafeSave);
    EXPECT_EQ(FileContents(folder / "table.txt" / "inside.txt"), "kept");
    EXPECT_EQ(FolderListing(folder.Path()), "table.txt\n");
}

}  // namespace
