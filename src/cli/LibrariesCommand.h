#pragma once

#include <filesystem>
#include <iosfwd>

// "velmora-cli libraries [FOLDER]": loads every data library of the program
// folder (the executable's unless FOLDER is given) and prints what it found:
// the pipe tables with their size ranges, the fittings, the fluids and the gas
// constants. At the first library that does not load it prints that file and
// its coded error and returns 2 (a file that cannot be loaded); 0 when everything loaded.
int RunLibrariesCommand(const std::filesystem::path& programFolder, std::ostream& out, std::ostream& err);
