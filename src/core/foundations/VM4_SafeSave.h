#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

#include "foundations/VM4_Errors.h"

// Raised when a file could not be saved. The target is then exactly as it was
// before the attempt, and no temporary file is left behind.
VELMORA_DECLARE_ERROR(ESafeSave);

// The two operations through which the save puts bytes on the disk. Tests
// replace them to show what a full disk or a failing device does to a save.
class ISaveOutput {
public:
    virtual ~ISaveOutput() = default;
    // All of `size` bytes, or false with errno saying why.
    virtual bool Write(std::FILE* file, const char* data, std::size_t size) = 0;
    // The written bytes flushed to the disk, or false with errno saying why.
    virtual bool Flush(std::FILE* file) = 0;
};

// fwrite, then fflush and fsync.
ISaveOutput& StandardSaveOutput();

// Replaces `target` with `contents` so that a failure at any point never loses
// the previous file: the bytes go to a new temporary file in the target's folder
// (the same file system, so the rename cannot turn into a copy), are flushed to
// the disk, and only then is the temporary file renamed over the target.
//
// A symbolic link is followed to the file it names, which is the one replaced;
// the link stays a link. An existing file keeps its permission bits. Refused,
// with the target untouched: a target that exists but is not a regular file (a
// folder, a device, a FIFO, a socket), and a file without write permission (a
// read-only file is not replaced, whoever the user is).
void SafeSaveFile(const std::filesystem::path& target, const std::string& contents);
// True when `path` exists with no write permission for anyone: such a file is
// not replaced, whoever the user is (root included).
bool IsWriteProtected(const std::filesystem::path& path);
void SafeSaveFile(const std::filesystem::path& target, const std::string& contents, ISaveOutput& output);
