#pragma once

#include <filesystem>
#include <string>

// Whole-file reading for the binary files. Failure is reported by the result so
// that each model class can raise its own error naming the file. Writing goes
// through SafeSaveFile, so that a failed save never loses the previous file.

// The file's bytes; false when the file cannot be opened or read.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes);
