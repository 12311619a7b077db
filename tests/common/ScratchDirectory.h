#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// A fresh directory under the system's temporary folder, removed with its
// content when the object goes out of scope. The name carries a random part so
// that tests running in parallel never share one.
class TScratchDirectory {
public:
    explicit TScratchDirectory(const std::string& prefix) {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / (prefix + "_" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TScratchDirectory(const TScratchDirectory&) = delete;
    TScratchDirectory& operator=(const TScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path File(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};
