#include "foundations/VM4_SafeSave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int kTemporaryNameAttempts = 16;

[[noreturn]] void failSave(const std::filesystem::path& target, const std::string& reason) {
    throw ESafeSave("Could not save " + target.string() + ": " + reason);
}

std::string lastSystemError() { return std::strerror(errno); }

// A name no other writer uses at the same moment: the target's name, a counter
// and a random number (another process may save into the same folder).
std::filesystem::path temporaryNameFor(const std::filesystem::path& target) {
    static unsigned counter = 0;
    static std::mt19937 random{std::random_device{}()};
    const std::string name = "." + target.filename().string() + "." + std::to_string(counter++) + "." +
                             std::to_string(random() % 1000000u) + ".tmp";
    return target.parent_path() / name;
}

// Opens a new file that did not exist before ("x": never truncates another file).
std::FILE* createTemporaryFile(const std::filesystem::path& target, std::filesystem::path& temporary) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = temporaryNameFor(target);
        if (std::FILE* file = std::fopen(temporary.string().c_str(), "wbx")) return file;
        if (errno != EEXIST) failSave(target, lastSystemError());
    }
    failSave(target, "no free temporary file name");
}

bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

void removeQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// Writes, flushes and closes; on failure the temporary file is removed.
void writeTemporaryFile(const std::filesystem::path& target, std::FILE* file,
                        const std::filesystem::path& temporary, const std::string& contents) {
    const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    const bool flushed = written && flushToDisk(file);
    const std::string reason = lastSystemError();
    const bool closed = std::fclose(file) == 0;
    if (written && flushed && closed) return;
    removeQuietly(temporary);
    failSave(target, reason);
}

}  // namespace

void SafeSaveFile(const std::filesystem::path& target, const std::string& contents) {
    std::filesystem::path temporary;
    std::FILE* file = createTemporaryFile(target, temporary);
    writeTemporaryFile(target, file, temporary, contents);
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        removeQuietly(temporary);
        failSave(target, renameError.message());
    }
}
