#include "foundations/VM4_FileBytes.h"

#include <fstream>
#include <iterator>
#include <utility>

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return false;
    bytes = std::move(content);
    return true;
}
