#include "editor/Recent_File_Strings_Class.h"

#include <QAction>
#include <QMenu>
#include <charconv>
#include <fstream>
#include <sstream>

namespace {

// Captions are measured in characters, not bytes: paths may hold any letter.
std::u32string ToCharacters(const std::string& utf8) { return QString::fromStdString(utf8).toStdU32String(); }

std::string ToUtf8(const std::u32string& characters) {
    return QString::fromStdU32String(characters).toStdString();
}

int Length(const std::u32string& text) { return static_cast<int>(text.size()); }

// Folder part (with its trailing separator) and file-name part of a path. Both
// separators count, so that lists written on either system read alike.
std::size_t FileNameStart(const std::u32string& path) {
    const std::size_t separator = path.find_last_of(U"/\\");
    return separator == std::u32string::npos ? 0 : separator + 1;
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

bool ParseCount(const std::string& line, int& count) {
    const char* first = line.data();
    const char* last = line.data() + line.size();
    while (first < last && *first == ' ') ++first;
    while (last > first && last[-1] == ' ') --last;
    const auto result = std::from_chars(first, last, count);
    return result.ec == std::errc() && result.ptr == last;
}

}  // namespace

TRecentFileStrings::TRecentFileStrings(std::string listFilePath, int maximumCount, int displayWidth)
    : listFilePath_(std::move(listFilePath)),
      maximumCount_(maximumCount),
      displayWidth_(displayWidth),
      entries_(static_cast<std::size_t>(maximumCount)) {
    Clear();
}

void TRecentFileStrings::Clear() {
    count_ = 0;
    for (std::string& path : entries_) path.clear();
}

void TRecentFileStrings::ShuffleFileStringsDown(int n) {
    if (n == 0 || n > maximumCount_) n = maximumCount_;
    for (int k = n - 1; k >= 1; --k) entry(k + 1) = entry(k);
    if (n >= 1) entry(1).clear();
}

int TRecentFileStrings::lastSlotHolding(const std::string& path) const {
    int found = 0;
    for (int i = 1; i <= maximumCount_; ++i)
        if (entry(i) == path) found = i;
    return found;
}

void TRecentFileStrings::AddFileString(const std::string& path) {
    if (path.empty()) return;
    const int slot = lastSlotHolding(path);
    if (slot > 0) {
        ShuffleFileStringsDown(slot);
    } else if (count_ < maximumCount_) {
        ++count_;
        ShuffleFileStringsDown(count_);
    } else {
        ShuffleFileStringsDown(maximumCount_);
    }
    entry(1) = path;
}

void TRecentFileStrings::RemoveFileString(int i) {
    if (i < 1 || i > count_) return;
    for (int k = i; k < count_; ++k) entry(k) = entry(k + 1);
    entry(count_).clear();
    --count_;
}

std::string TRecentFileStrings::GetFileString(int i) const {
    if (i < 1 || i > count_) return {};
    return entry(i);
}

std::string TRecentFileStrings::GetFileStringForMenuDisplay(int i, int width) const {
    if (i < 1 || i > count_) return {};
    const std::u32string path = ToCharacters(entry(i));
    const std::u32string folder = path.substr(0, FileNameStart(path));
    const std::u32string name = path.substr(FileNameStart(path));

    std::u32string shown = name;
    if (width < Length(name) + 2) shown = name.substr(0, static_cast<std::size_t>(std::max(width - 5, 0))) + U"...";
    if (Length(shown) < width + 5) {
        if (width >= Length(shown) + Length(folder) + 2) {
            shown = folder + shown;
        } else {
            // Room left for the end of the folder, behind a leading "...".
            const int kept = width - Length(shown) - 5;
            if (kept < Length(folder))
                shown = U"..." + (kept > 0 ? folder.substr(folder.size() - static_cast<std::size_t>(kept)) : U"") + shown;
        }
    }
    return std::to_string(i) + " " + ToUtf8(shown);
}

void TRecentFileStrings::ShowRecentFileStringsOnMenu(QMenu& menu, int first) const {
    const QList<QAction*> actions = menu.actions();
    for (int slot = 0; slot < maximumCount_; ++slot) {
        const int position = first + slot;
        if (position >= actions.size()) break;
        QAction* item = actions[position];
        const bool inUse = slot + 1 <= count_;
        // A '&' in a path would otherwise become a keyboard accelerator.
        QString caption = inUse ? QString::fromStdString(GetFileStringForMenuDisplay(slot + 1, displayWidth_)) : QString();
        item->setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        const QString path = inUse ? QString::fromStdString(entry(slot + 1)) : QString();
        item->setToolTip(path);
        item->setStatusTip(path);
        item->setVisible(inUse);
    }
    menu.setToolTipsVisible(true);
}

bool TRecentFileStrings::SaveFile() const {
    std::ostringstream text;
    text << count_ << "\r\n";
    for (int i = 1; i <= count_; ++i) text << entry(i) << "\r\n";
    std::ofstream out(listFilePath_, std::ios::binary | std::ios::trunc);
    out << text.str();
    out.flush();
    return static_cast<bool>(out);
}

void TRecentFileStrings::LoadFile() {
    Clear();
    std::ifstream in(listFilePath_, std::ios::binary);
    if (!in) {
        // A first start: leave an empty list behind for the next one.
        std::ofstream created(listFilePath_, std::ios::binary);
        created << "0\r\n";
        return;
    }
    std::string line;
    int claimed = 0;
    if (!std::getline(in, line) || !ParseCount(WithoutLineEnd(line), claimed)) return;
    const int wanted = std::clamp(claimed, 0, maximumCount_);
    while (count_ < wanted && std::getline(in, line)) {
        ++count_;
        entry(count_) = WithoutLineEnd(line);
    }
}
