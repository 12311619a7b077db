#include "foundations/VM4_SafeSave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int kTemporaryNameAttempts = 16;
// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxSymbolicLinks = 40;

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

class TStandardSaveOutput : public ISaveOutput {
public:
    bool Write(std::FILE* file, const char* data, std::size_t size) override {
        return std::fwrite(data, 1, size, file) == size;
    }
    bool Flush(std::FILE* file) override {
        if (std::fflush(file) != 0) return false;
#if defined(_WIN32)
        return _commit(_fileno(file)) == 0;
#else
        return fsync(fileno(file)) == 0;
#endif
    }
};

// The file a chain of symbolic links ends at; the target itself when it is no
// link. A link to a missing file names the file to create.
std::filesystem::path followLinks(const std::filesystem::path& target) {
    std::filesystem::path path = target;
    for (int hop = 0; hop < kMaxSymbolicLinks; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(path, error)) return path;
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error) failSave(target, error.message());
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    failSave(target, "too many levels of symbolic links");
}

bool hasNoWritePermission(const std::filesystem::perms permissions) {
    using std::filesystem::perms;
    return (permissions & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

// What stands at the path may be replaced: nothing, or a regular file the user
// may write. Anything else would be destroyed by the rename (a device node or
// a FIFO would become a plain file) or is not the user's to replace.
void requireReplaceable(const std::filesystem::path& target, const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return;
    if (error) failSave(target, error.message());
    if (status.type() != std::filesystem::file_type::regular) {
        failSave(target, "it is not a regular file (a folder, device, FIFO or socket is never replaced)");
    }
    if (hasNoWritePermission(status.permissions())) failSave(target, "the file is read-only; it was left as it is");
#if !defined(_WIN32)
    if (access(file.c_str(), W_OK) != 0) failSave(target, "no permission to write the file; it was left as it is");
#endif
}

// The new file gets the permission bits of the one it replaces.
bool keepPermissions(std::FILE* file, const std::filesystem::path& existing) {
#if defined(_WIN32)
    (void)file;
    (void)existing;
    return true;
#else
    struct stat existingStatus {};
    if (stat(existing.c_str(), &existingStatus) != 0) return errno == ENOENT;
    return fchmod(fileno(file), existingStatus.st_mode & 07777) == 0;
#endif
}

void removeQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// Writes, flushes and closes; on failure the temporary file is removed.
void writeTemporaryFile(const std::filesystem::path& target, std::FILE* file, const std::filesystem::path& temporary,
                        const std::filesystem::path& replaced, const std::string& contents, ISaveOutput& output) {
    errno = 0;
    const bool written = output.Write(file, contents.data(), contents.size()) && keepPermissions(file, replaced);
    const bool flushed = written && output.Flush(file);
    const std::string reason = errno != 0 ? lastSystemError() : "the data could not be written";
    const bool closed = std::fclose(file) == 0;
    if (written && flushed && closed) return;
    removeQuietly(temporary);
    failSave(target, reason);
}

}  // namespace

ISaveOutput& StandardSaveOutput() {
    static TStandardSaveOutput output;
    return output;
}

void SafeSaveFile(const std::filesystem::path& target, const std::string& contents) {
    SafeSaveFile(target, contents, StandardSaveOutput());
}

void SafeSaveFile(const std::filesystem::path& target, const std::string& contents, ISaveOutput& output) {
    const std::filesystem::path file = followLinks(target);
    requireReplaceable(target, file);
    std::filesystem::path temporary;
    std::FILE* handle = createTemporaryFile(file, temporary);
    writeTemporaryFile(target, handle, temporary, file, contents, output);
    std::error_code renameError;
    std::filesystem::rename(temporary, file, renameError);
    if (renameError) {
        removeQuietly(temporary);
        failSave(target, renameError.message());
    }
}

bool IsWriteProtected(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && hasNoWritePermission(status.permissions());
}
