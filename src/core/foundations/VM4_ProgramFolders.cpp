#include "foundations/VM4_ProgramFolders.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUserFolderName = "velmora-studio";

bool holdsData(const fs::path& folder) {
    std::error_code ignored;
    return fs::is_directory(folder / kDataMarkerFolder, ignored);
}

bool isWritableFolder(const fs::path& folder) {
    std::error_code ignored;
    return fs::is_directory(folder, ignored) && ::access(folder.c_str(), W_OK) == 0;
}

fs::path dataFolder(const fs::path& executableFolder) {
    if (holdsData(executableFolder)) return executableFolder;
    const fs::path installed = (executableFolder.parent_path() / kInstalledDataFolder).lexically_normal();
    return holdsData(installed) ? installed : executableFolder;
}

// The base directory of user data files, as the XDG base directory rules name it;
// a relative XDG_DATA_HOME is invalid and ignored.
fs::path userDataHome(const TUserEnvironment& environment) {
    if (!environment.XdgDataHome.empty() && fs::path(environment.XdgDataHome).is_absolute())
        return environment.XdgDataHome;
    if (environment.Home.empty()) return {};
    return fs::path(environment.Home) / ".local" / "share";
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

TUserEnvironment CurrentUserEnvironment() { return {variable("XDG_DATA_HOME"), variable("HOME")}; }

TProgramFolders FindProgramFolders(const fs::path& executableFolder, const TUserEnvironment& environment) {
    TProgramFolders folders;
    folders.Data = dataFolder(executableFolder);
    folders.User = folders.Data;
    if (folders.Data == executableFolder && isWritableFolder(folders.Data)) return folders;
    const fs::path home = userDataHome(environment);
    if (home.empty()) return folders;
    std::error_code error;
    fs::create_directories(home / kUserFolderName, error);
    if (isWritableFolder(home / kUserFolderName)) folders.User = home / kUserFolderName;
    return folders;
}
