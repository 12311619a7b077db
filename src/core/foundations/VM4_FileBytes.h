#pragma once

#include <filesystem>
#include <string>

// Whole-file transfer for the small binary files that hold one record. Both
// report failure by their result so that each model class can raise its own
// error naming the file.

// The file's bytes; false when the file cannot be opened or read.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes);

// Creates or replaces the file with exactly these bytes; false when that fails.
bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
