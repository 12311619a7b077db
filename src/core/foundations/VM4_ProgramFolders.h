#pragma once

#include <filesystem>
#include <string>

// Where the program reads its data and keeps the user's files.
//
// A build keeps the data libraries, help pages and example systems beside the
// executable; an installed program keeps them in ../share/velmora-studio,
// a folder the user cannot write. The user's own files (the recent-files list,
// user additions to the libraries, the networks folder) go beside the data in
// a build whose folder is writable, and otherwise into the user's data folder
// ($XDG_DATA_HOME/velmora-studio, by default ~/.local/share/velmora-studio):
// always for an installed program, even one installed into a folder the user
// may write, so that the user's files survive a reinstall and never mix with
// the installation's.
struct TProgramFolders {
    std::filesystem::path Data;
    std::filesystem::path User;
};

// The folder below the installation prefix that holds the installed data.
inline constexpr const char* kInstalledDataFolder = "share/velmora-studio";
// The folder that marks a folder as holding the data: the pipe tables, which
// every build and installation has (the examples come with the desktop program).
inline constexpr const char* kDataMarkerFolder = "PipeTables";

// The values of XDG_DATA_HOME and HOME; empty when unset.
struct TUserEnvironment {
    std::string XdgDataHome;
    std::string Home;
};

TUserEnvironment CurrentUserEnvironment();

// The data folder: the executable's folder when it holds the data (a build),
// else ../share/velmora-studio beside it when that does (an installation),
// else the executable's folder. The user folder: the executable's folder when
// the data lie there and it is writable, else the XDG user data folder (an
// absolute XDG_DATA_HOME, or HOME/.local/share) with "velmora-studio" appended,
// created when missing. When no user folder can be found or created, the data
// folder is used.
TProgramFolders FindProgramFolders(const std::filesystem::path& executableFolder,
                                   const TUserEnvironment& environment = CurrentUserEnvironment());
