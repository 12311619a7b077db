#include "ExecutableFolder.h"

#include <system_error>

std::filesystem::path ExecutableFolder(const char* argv0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
    const std::filesystem::path invoked = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", error);
    return error ? std::filesystem::current_path() : invoked.parent_path();
}
