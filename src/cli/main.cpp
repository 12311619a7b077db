#include <cstring>
#include <iostream>
#include <string>

#include "ExecutableFolder.h"
#include "LibrariesCommand.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmora-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Steady-state hydraulic analysis of pipe networks, without a window.\n"
    "\n"
    "Commands:\n"
    "  --help              show this text\n"
    "  --version           show the program version\n"
    "  libraries [FOLDER]  load the data libraries beside the executable (or in FOLDER)\n"
    "                      and list them; exit code 1 at the first file that does not load\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::cout << kUsage;
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "velmora-cli " << VELMORA_VERSION << '\n';
        return 0;
    }
    if (std::strcmp(argv[1], "libraries") == 0 && argc <= 3) {
        return RunLibrariesCommand(argc == 3 ? std::filesystem::path(argv[2]) : ExecutableFolder(argv[0]), std::cout,
                                   std::cerr);
    }
    std::cerr << "velmora-cli: unknown command '" << argv[1] << "'\n" << kUsage;
    return 2;
}
