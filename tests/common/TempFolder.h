#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in
// it when the object goes out of scope.
class TTempFolder {
public:
    TTempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("velmora-test-" + std::to_string(random()) + "-" +
                                                           std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The bytes of a file, or an empty text when it cannot be read.
inline std::string FileContents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteFileContents(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Names of the entries of a folder, sorted.
inline std::string FolderListing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + "\n";
    return listing;
}
