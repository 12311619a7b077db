#pragma once

#include <string>
#include <vector>

class QMenu;

// The most recently used network files, most recent first, kept in a text file
// beside the program: the count on the first line, then one full path per line
// (CR LF line ends).
class TRecentFileStrings {
public:
    // listFilePath: where the list is kept; maximumCount: entries the list holds;
    // displayWidth: characters of a menu caption (see GetFileStringForMenuDisplay).
    TRecentFileStrings(std::string listFilePath, int maximumCount, int displayWidth);

    // Count 0, every entry empty.
    void Clear();
    // Moves entries n-1 .. 1 one place towards the end and empties entry 1; entry n
    // is overwritten, nothing beyond it moves. n = 0 means the maximum.
    void ShuffleFileStringsDown(int n);
    // Puts the path at the top. A path already listed (compared case-sensitively)
    // moves up without changing the count; a new one grows the list, or drops the
    // oldest entry when the list is full. An empty path is ignored.
    void AddFileString(const std::string& path);
    // Removes entry i (1-based); later entries move up. Out-of-range i does nothing.
    void RemoveFileString(int i);
    // Entry i (1-based), empty when i is not in use.
    std::string GetFileString(int i) const;
    // The menu caption of entry i: its number, a blank and the path cut to about
    // `width` characters (long folders are shortened from the left with "...");
    // empty when i is not in use.
    std::string GetFileStringForMenuDisplay(int i, int width) const;
    // Fills the menu's `maximumCount` recent-file items that start at action
    // position `first`: items of entries in use get their caption and are shown,
    // the others are emptied and hidden. A caption may cut the folder, so every
    // item's tooltip (shown by the menu) and status tip hold the full path: two
    // files of one name in different folders can always be told apart.
    void ShowRecentFileStringsOnMenu(QMenu& menu, int first) const;

    // Writes the list file; false when it cannot be written (the list in memory
    // is kept either way).
    bool SaveFile() const;
    // Reads the list file. A missing file is created holding "0". A first line
    // that is not a whole number gives an empty list; entries beyond the maximum,
    // and a count beyond the lines present, are not taken.
    void LoadFile();

    int Count() const { return count_; }
    int MaximumCount() const { return maximumCount_; }
    int DisplayWidth() const { return displayWidth_; }
    const std::string& ListFilePath() const { return listFilePath_; }

private:
    std::string& entry(int i) { return entries_[static_cast<std::size_t>(i - 1)]; }
    const std::string& entry(int i) const { return entries_[static_cast<std::size_t>(i - 1)]; }
    int lastSlotHolding(const std::string& path) const;

    std::string listFilePath_;
    int maximumCount_;
    int displayWidth_;
    int count_ = 0;
    std::vector<std::string> entries_;
};
