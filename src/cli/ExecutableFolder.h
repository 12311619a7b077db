#pragma once

#include <filesystem>

// The folder of the running executable, where the data libraries lie.
// `argv0` serves when the system cannot name the executable itself.
std::filesystem::path ExecutableFolder(const char* argv0);
