#include "foundations/VM4_SafeSave.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

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

// ---- What stands at the target --------------------------------------------------------------

std::string SaveRefusal(const std::filesystem::path& target, const std::string& contents) {
    try {
        SafeSaveFile(target, contents);
    } catch (const ESafeSave& error) {
        return error.what();
    }
    return "<saved>";
}

std::filesystem::perms PermissionsOf(const std::filesystem::path& path) {
    return std::filesystem::status(path).permissions();
}

TEST_F(SafeSaveTest, ASymbolicLinkStaysALinkAndItsFileIsReplaced) {
    std::filesystem::create_directory(folder / "data");
    WriteFileContents(folder / "data" / "results.json", "old");
    std::filesystem::create_symlink("data/results.json", folder / "latest.json");
    SafeSaveFile(folder / "latest.json", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "latest.json"));
    EXPECT_EQ(std::filesystem::read_symlink(folder / "latest.json"), "data/results.json");
    EXPECT_EQ(FileContents(folder / "data" / "results.json"), "new");
    EXPECT_EQ(FolderListing(folder / "data"), "results.json\n");
}

TEST_F(SafeSaveTest, ALinkToAMissingFileCreatesTheFileItNames) {
    std::filesystem::create_symlink("made.txt", folder / "link.txt");
    SafeSaveFile(folder / "link.txt", "data");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.txt"));
    EXPECT_EQ(FileContents(folder / "made.txt"), "data");
}

TEST_F(SafeSaveTest, ALoopOfLinksIsRefused) {
    std::filesystem::create_symlink("b", folder / "a");
    std::filesystem::create_symlink("a", folder / "b");
    EXPECT_NE(SaveRefusal(folder / "a", "data").find("too many levels of symbolic links"), std::string::npos);
    EXPECT_EQ(FolderListing(folder.Path()), "a\nb\n");
}

// A FIFO stands for every special file: a device node would be replaced the same way.
TEST_F(SafeSaveTest, AFifoIsNeverReplaced) {
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0644), 0) << std::strerror(errno);
    const std::string refusal = SaveRefusal(folder / "pipe", "data");
    EXPECT_EQ(refusal, "Could not save " + (folder / "pipe").string() +
                           ": it is not a regular file (a folder, device, FIFO or socket is never replaced)");
    EXPECT_EQ(std::filesystem::status(folder / "pipe").type(), std::filesystem::file_type::fifo);
    EXPECT_EQ(FolderListing(folder.Path()), "pipe\n");
}

TEST_F(SafeSaveTest, ALinkToAFifoIsRefusedAndBothStay) {
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0644), 0) << std::strerror(errno);
    std::filesystem::create_symlink("pipe", folder / "full");
    EXPECT_NE(SaveRefusal(folder / "full", "data").find("not a regular file"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "full"));
    EXPECT_EQ(std::filesystem::status(folder / "pipe").type(), std::filesystem::file_type::fifo);
}

// Refused even for the superuser, who could write it: read-only says "keep this".
TEST_F(SafeSaveTest, AReadOnlyFileIsLeftAsItIs) {
    WriteFileContents(folder / "network.vme", "old");
    std::filesystem::permissions(folder / "network.vme", std::filesystem::perms(0444));
    const std::string refusal = SaveRefusal(folder / "network.vme", "new");
    EXPECT_EQ(refusal, "Could not save " + (folder / "network.vme").string() +
                           ": the file is read-only; it was left as it is");
    EXPECT_EQ(FileContents(folder / "network.vme"), "old");
    EXPECT_EQ(PermissionsOf(folder / "network.vme"), std::filesystem::perms(0444));
    EXPECT_EQ(FolderListing(folder.Path()), "network.vme\n");
}

TEST_F(SafeSaveTest, TheReplacedFileKeepsItsPermissions) {
    WriteFileContents(folder / "private.json", "old");
    std::filesystem::permissions(folder / "private.json", std::filesystem::perms(0600));
    SafeSaveFile(folder / "private.json", "new");
    EXPECT_EQ(FileContents(folder / "private.json"), "new");
    EXPECT_EQ(PermissionsOf(folder / "private.json"), std::filesystem::perms(0600));
}

// ---- Write errors, simulated in the output layer -------------------------------------------------

// Writes part of the bytes, or all of them, then fails as a device would.
class TFailingOutput : public ISaveOutput {
public:
    TFailingOutput(bool failWrite, int error) : failWrite_(failWrite), error_(error) {}
    bool Write(std::FILE* file, const char* data, std::size_t size) override {
        if (!failWrite_) return StandardSaveOutput().Write(file, data, size);
        StandardSaveOutput().Write(file, data, size / 2);
        errno = error_;
        return false;
    }
    bool Flush(std::FILE* file) override {
        if (failWrite_) return StandardSaveOutput().Flush(file);
        errno = error_;
        return false;
    }

private:
    bool failWrite_;
    int error_;
};

struct TWriteFailure {
    const char* Case;
    bool FailWrite;
    int Error;
};

class SafeSaveWriteFailure : public SafeSaveTest, public ::testing::WithParamInterface<TWriteFailure> {};

TEST_P(SafeSaveWriteFailure, LeavesThePreviousFileWholeAndNoTemporaryFile) {
    const std::string previous(10000, 'p');
    WriteFileContents(folder / "results.json", previous);
    TFailingOutput output(GetParam().FailWrite, GetParam().Error);
    try {
        SafeSaveFile(folder / "results.json", std::string(20000, 'n'), output);
        FAIL() << "a failed write must raise";
    } catch (const ESafeSave& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Could not save " + (folder / "results.json").string() + ": " + std::strerror(GetParam().Error));
    }
    EXPECT_EQ(FileContents(folder / "results.json"), previous);
    EXPECT_EQ(FolderListing(folder.Path()), "results.json\n");
}

INSTANTIATE_TEST_SUITE_P(Output, SafeSaveWriteFailure,
                         ::testing::Values(TWriteFailure{"DiskFullWhileWriting", true, ENOSPC},
                                           TWriteFailure{"DiskFullWhileFlushing", false, ENOSPC},
                                           TWriteFailure{"DeviceErrorWhileFlushing", false, EIO}),
                         [](const ::testing::TestParamInfo<TWriteFailure>& info) { return info.param.Case; });

}  // namespace
