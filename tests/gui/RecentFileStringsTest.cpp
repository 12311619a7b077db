#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "editor/Recent_File_Strings_Class.h"

namespace {

std::vector<std::string> Entries(const TRecentFileStrings& list) {
    std::vector<std::string> entries;
    for (int i = 1; i <= list.MaximumCount(); ++i) entries.push_back(list.GetFileString(i));
    return entries;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class RecentFileStrings : public ::testing::Test {
protected:
    std::string ListPath() const { return QDir(folder_.path()).filePath("RecentFiles.txt").toStdString(); }
    TRecentFileStrings MakeList() const { return TRecentFileStrings(ListPath(), 4, 50); }

    QTemporaryDir folder_;
};

TEST_F(RecentFileStrings, AddingKeepsTheMostRecentFirstMovesRepeatsUpAndDropsTheOldest) {
    struct TCase {
        const char* name;
        std::vector<std::string> added;
        int count;
        std::vector<std::string> entries;
    };
    const TCase cases[] = {
        {"one", {"/a.vme"}, 1, {"/a.vme", "", "", ""}},
        {"newest first", {"/a.vme", "/b.vme", "/c.vme"}, 3, {"/c.vme", "/b.vme", "/a.vme", ""}},
        {"repeat moves to top, count unchanged", {"/a.vme", "/b.vme", "/c.vme", "/a.vme"}, 3,
         {"/a.vme", "/c.vme", "/b.vme", ""}},
        {"repeat of the top changes nothing", {"/a.vme", "/b.vme", "/b.vme"}, 2, {"/b.vme", "/a.vme", "", ""}},
        {"fifth new path drops the oldest", {"/a.vme", "/b.vme", "/c.vme", "/d.vme", "/e.vme"}, 4,
         {"/e.vme", "/d.vme", "/c.vme", "/b.vme"}},
        {"repeat of the oldest in a full list", {"/a.vme", "/b.vme", "/c.vme", "/d.vme", "/a.vme"}, 4,
         {"/a.vme", "/d.vme", "/c.vme", "/b.vme"}},
        {"comparison is case-sensitive", {"C:\\A.vme", "c:\\a.vme"}, 2, {"c:\\a.vme", "C:\\A.vme", "", ""}},
        {"empty path ignored", {"/a.vme", ""}, 1, {"/a.vme", "", "", ""}},
    };
    for (const TCase& c : cases) {
        TRecentFileStrings list = MakeList();
        for (const std::string& path : c.added) list.AddFileString(path);
        EXPECT_EQ(list.Count(), c.count) << c.name;
        EXPECT_EQ(Entries(list), c.entries) << c.name;
    }
}

TEST_F(RecentFileStrings, ShuffleMovesOnlyEntriesBeforeTheGivenSlot) {
    struct TCase {
        int n;
        std::vector<std::string> entries;
    };
    // Start: 1 a, 2 b, 3 c, 4 d.
    const TCase cases[] = {
        {2, {"", "a", "c", "d"}},  // entry 2 overwritten, 3 and 4 untouched
        {3, {"", "a", "b", "d"}},
        {4, {"", "a", "b", "c"}},
        {0, {"", "a", "b", "c"}},  // 0 means the maximum
        {1, {"", "b", "c", "d"}},  // nothing moves, entry 1 emptied
    };
    for (const TCase& c : cases) {
        TRecentFileStrings list = MakeList();
        for (const char* path : {"d", "c", "b", "a"}) list.AddFileString(path);
        list.ShuffleFileStringsDown(c.n);
        EXPECT_EQ(Entries(list), c.entries) << "n = " << c.n;
    }
}

TEST_F(RecentFileStrings, RemovingAnEntryClosesTheGap) {
    TRecentFileStrings list = MakeList();
    for (const char* path : {"/c", "/b", "/a"}) list.AddFileString(path);
    list.RemoveFileString(2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"/a", "/c", "", ""}));
    list.RemoveFileString(3);  // not in use
    list.RemoveFileString(0);
    EXPECT_EQ(list.Count(), 2);
    // The emptied slot must not be found again as a "repeat" of an empty path.
    list.AddFileString("/d");
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"/d", "/a", "/c", ""}));
}

TEST_F(RecentFileStrings, GetFileStringIsEmptyBeyondTheCount) {
    TRecentFileStrings list = MakeList();
    list.AddFileString("/a");
    EXPECT_EQ(list.GetFileString(1), "/a");
    EXPECT_EQ(list.GetFileString(2), "");
    EXPECT_EQ(list.GetFileStringForMenuDisplay(2, 50), "");
}

TEST_F(RecentFileStrings, MenuCaptionShortensLongPathsFromTheLeft) {
    const std::string longName = std::string(49, 'n');  // 49 characters, no extension needed
    struct TCase {
        int entry;
        std::string path;
        int width;
        std::string caption;
    };
    const TCase cases[] = {
        // Short path: shown whole.
        {1, "C:\\Data\\net.vme", 50, "1 C:\\Data\\net.vme"},
        // Folder too long: k = 50 - 7 - 5 = 38 characters of the folder's end behind "...".
        {2, "C:\\Documents and Settings\\user\\My Documents\\Networks\\net.vme", 50,
         "2 ...d Settings\\user\\My Documents\\Networks\\net.vme"},
        // Either separator counts.
        {1, "/home/engineer/networks/plant.vme", 50, "1 /home/engineer/networks/plant.vme"},
        // Name of 49 characters: 45 of them plus "...", then k = 50 - 48 - 5 < 0: just "...".
        {1, "/data/" + longName, 50, "1 ..." + std::string(45, 'n') + "..."},
        // Name of 48 characters fits (50 >= 48 + 2), folder needs 48 + 6 + 2: k = -3.
        {1, "/data/" + std::string(48, 'm'), 50, "1 ..." + std::string(48, 'm')},
        // No folder at all.
        {3, "net.vme", 50, "3 net.vme"},
        // Characters, not bytes: a folder of 2-byte letters is measured by letters.
        // 11 >= 5 + 4 + 2 holds for letters; counted in bytes (6 for the folder) it would not.
        {1, "/\xC3\xA9\xC3\xA9/n.vme", 11, "1 /\xC3\xA9\xC3\xA9/n.vme"},
    };
    for (const TCase& c : cases) {
        TRecentFileStrings list = MakeList();
        list.AddFileString(c.path);
        for (int i = 2; i <= c.entry; ++i) list.AddFileString("/filler" + std::to_string(i));
        EXPECT_EQ(list.GetFileStringForMenuDisplay(c.entry, c.width), c.caption) << c.path;
    }
}

TEST_F(RecentFileStrings, SavesCountThenPathsWithCrLf) {
    TRecentFileStrings list = MakeList();
    list.AddFileString("/x/a.vme");
    list.AddFileString("/x/b.vme");
    ASSERT_TRUE(list.SaveFile());
    EXPECT_EQ(ReadBytes(ListPath()), "2\r\n/x/b.vme\r\n/x/a.vme\r\n");

    TRecentFileStrings reread = MakeList();
    reread.LoadFile();
    EXPECT_EQ(Entries(reread), Entries(list));
    EXPECT_EQ(reread.Count(), 2);
}

TEST_F(RecentFileStrings, SaveReportsAnUnwritableList) {
    TRecentFileStrings list(QDir(folder_.path()).filePath("missing/RecentFiles.txt").toStdString(), 4, 50);
    list.AddFileString("/a");
    EXPECT_FALSE(list.SaveFile());
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(RecentFileStrings, MissingListFileIsCreatedEmpty) {
    TRecentFileStrings list = MakeList();
    list.AddFileString("/stale");
    list.LoadFile();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.GetFileString(1), "");
    EXPECT_EQ(ReadBytes(ListPath()), "0\r\n");
}

TEST_F(RecentFileStrings, LoadingToleratesDamagedLists) {
    struct TCase {
        const char* name;
        std::string file;
        int count;
        std::vector<std::string> entries;
    };
    const TCase cases[] = {
        {"count not a number", "two\r\n/a\r\n/b\r\n", 0, {"", "", "", ""}},
        {"empty file", "", 0, {"", "", "", ""}},
        {"more claimed than the list holds", "6\r\n/1\r\n/2\r\n/3\r\n/4\r\n/5\r\n/6\r\n", 4, {"/1", "/2", "/3", "/4"}},
        {"more claimed than lines present", "3\r\n/1\r\n", 1, {"/1", "", "", ""}},
        {"negative count", "-2\r\n/1\r\n", 0, {"", "", "", ""}},
        {"line feeds only", "2\n/1\n/2\n", 2, {"/1", "/2", "", ""}},
        {"fewer claimed than present", "1\r\n/1\r\n/2\r\n", 1, {"/1", "", "", ""}},
    };
    for (const TCase& c : cases) {
        WriteBytes(ListPath(), c.file);
        TRecentFileStrings list = MakeList();
        list.LoadFile();
        EXPECT_EQ(list.Count(), c.count) << c.name;
        EXPECT_EQ(Entries(list), c.entries) << c.name;
    }
}

TEST_F(RecentFileStrings, MenuShowsEntriesInUseAndHidesTheRest) {
    QMenu menu;
    for (int i = 0; i < 16; ++i) menu.addAction(QString("item %1").arg(i));
    std::vector<QAction*> recentItems;
    for (int i = 0; i < 4; ++i) recentItems.push_back(menu.addAction("old"));
    QAction* exit = menu.addAction("Exit");

    TRecentFileStrings list = MakeList();
    list.AddFileString("/plant/R&D.vme");
    list.AddFileString("/plant/b.vme");
    list.ShowRecentFileStringsOnMenu(menu, 16);

    EXPECT_EQ(recentItems[0]->text(), "1 /plant/b.vme");
    EXPECT_EQ(recentItems[1]->text(), "2 /plant/R&&D.vme");  // '&' shown, not an accelerator
    EXPECT_TRUE(recentItems[0]->isVisible());
    EXPECT_TRUE(recentItems[1]->isVisible());
    for (int i = 2; i < 4; ++i) {
        EXPECT_FALSE(recentItems[static_cast<std::size_t>(i)]->isVisible());
        EXPECT_EQ(recentItems[static_cast<std::size_t>(i)]->text(), "");
    }
    EXPECT_EQ(exit->text(), "Exit");
    EXPECT_EQ(menu.actions()[15]->text(), "item 15");
}

// Folders that differ only where a long caption cuts them: the captions read the
// same, so the menu shows each item's full path as its tooltip.
TEST_F(RecentFileStrings, FilesOfOneNameInDifferentFoldersAreToldApartByTheirTooltips) {
    QMenu menu;
    for (int i = 0; i < 16; ++i) menu.addAction(QString("item %1").arg(i));
    std::vector<QAction*> recentItems;
    for (int i = 0; i < 4; ++i) recentItems.push_back(menu.addAction("old"));
    const std::string north = "/projects/north-site/client-works/2026/hydraulics/pumps/station.vme";
    const std::string south = "/projects/south-site/client-works/2026/hydraulics/pumps/station.vme";
    TRecentFileStrings list = MakeList();
    list.AddFileString(north);
    list.AddFileString(south);
    list.ShowRecentFileStringsOnMenu(menu, 16);

    ASSERT_EQ(recentItems[0]->text().mid(2), recentItems[1]->text().mid(2)) << "the captions alone look alike";
    EXPECT_EQ(recentItems[0]->toolTip().toStdString(), south);
    EXPECT_EQ(recentItems[1]->toolTip().toStdString(), north);
    EXPECT_EQ(recentItems[1]->statusTip().toStdString(), north);
    EXPECT_TRUE(menu.toolTipsVisible());
    for (int i = 2; i < 4; ++i) EXPECT_EQ(recentItems[static_cast<std::size_t>(i)]->toolTip(), "") << i;
}

}  // namespace
