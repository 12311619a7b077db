#pragma once

#include <filesystem>
#include <string>

#include "foundations/VM4_Errors.h"

// Raised when a file could not be saved. The target is then exactly as it was
// before the attempt, and no temporary file is left behind.
VELMORA_DECLARE_ERROR(ESafeSave);

// Replaces `target` with `contents` so that a failure at any point never loses
// the previous file: the bytes go to a new temporary file in the target's folder
// (the same file system, so the rename cannot turn into a copy), are flushed to
// the disk, and only then is the temporary file renamed over the target.
void SafeSaveFile(const std::filesystem::path& target, const std::string& contents);
