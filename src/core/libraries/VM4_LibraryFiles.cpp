#include "libraries/VM4_LibraryFiles.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_TextRecord.h"
#include "model/VM4_FileHeader.h"

namespace {

std::string withoutSurroundingBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

std::ifstream OpenLibraryFile(const std::filesystem::path& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw ELibraryFile("Cannot open file " + path.string() + ": " + std::strerror(EISDIR));
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        const std::string reason = errno != 0 ? std::strerror(errno) : "the file cannot be opened";
        throw ELibraryFile("Cannot open file " + path.string() + ": " + reason);
    }
    return file;
}

bool ReadNextRecordLine(std::istream& in, std::string& line) {
    int ignored = 0;
    return ReadNextRecordLine(in, line, ignored);
}

bool ReadNextRecordLine(std::istream& in, std::string& line, int& lineNumber) {
    while (ReadRecordLine(in, line)) {
        ++lineNumber;
        if (!withoutSurroundingBlanks(line).empty()) return true;
    }
    return false;
}

bool ReadLibraryNumber(const std::string& field, double& value) {
    const auto parsed = ParseDecimalText(withoutSurroundingBlanks(field), true, true);
    if (!parsed.Valid) return false;
    value = parsed.Value;
    return true;
}

std::string LibraryFieldText(const std::string& text) {
    std::string safe = text;
    replaceAll(safe, "\r\n", " ");
    replaceAll(safe, "\r", " ");
    replaceAll(safe, "\n", " ");
    replaceAll(safe, "~|~", "~/~");
    return safe;
}

std::string LibraryHeaderLine(const std::string& versionReference, const std::string& fileName) {
    TFileHeader header;
    header.SetData(versionReference, fileName, "");
    std::ostringstream out;
    header.SaveToText(out);
    return out.str();
}

void EnsureUserLibraryFolder(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}
