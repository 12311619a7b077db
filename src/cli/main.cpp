#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "ExecutableFolder.h"
#include "LibrariesCommand.h"
#include "VM4_InfoCommand.h"
#include "VM4_SolveCommand.h"
#include "VM4_StandardOutput.h"
#include "VM4_TableCommand.h"
#include "VM4_UpgradeCommand.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmora-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Steady-state hydraulic analysis of pipe networks, without a window.\n"
    "\n"
    "Commands:\n"
    "  --help              show this text\n"
    "  --version           show the program version\n"
    "  info FILE.vme       summary of a network file: nodes, pipes, items, fluid, units\n"
    "  solve FILE.vme [--reverse=no|yes] [--json FILE] [--save OUT.vme] [--timing]\n"
    "                      solve the network and print the results log; exit code 0 solved,\n"
    "                      1 not solved, 2 bad file or usage. --reverse answers the questions\n"
    "                      about reversing pipes (no by default), --json writes the results\n"
    "                      as JSON, --save writes the solved network, --timing prints the time\n"
    "                      of the solve and of each of its phases on standard error\n"
    "  upgrade FOLDER      load every .vme file of the folder and save it in the current format\n"
    "  libraries [FOLDER]  load the data libraries beside the executable (or in FOLDER)\n"
    "                      and list them; exit code 1 at the first file that does not load\n"
    "  table FILE.vme --table NAME [--solve] [--format csv|xlsx] [-o OUT]\n"
    "                      one result or data table of a network as CSV or workbook\n";

int runCommand(const std::vector<std::string>& arguments, const char* program) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        std::cout << kUsage;
        return arguments.empty() ? 2 : 0;
    }
    const std::string& command = arguments[0];
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "--version") {
        std::cout << "velmora-cli " << VELMORA_VERSION << '\n';
        return 0;
    }
    if (command == "info") return RunInfoCommand(rest, std::cout, std::cerr);
    if (command == "solve") return RunSolveCommand(rest, std::cout, std::cerr);
    if (command == "upgrade") return RunUpgradeCommand(rest, std::cout, std::cerr);
    if (command == "libraries" && rest.size() <= 1) {
        return RunLibrariesCommand(rest.empty() ? ExecutableFolder(program) : std::filesystem::path(rest[0]), std::cout,
                                   std::cerr);
    }
    if (command == "table") return RunTableCommand(rest, std::cout, std::cerr);
    std::cerr << "velmora-cli: unknown command '" << command << "'\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return ExitCodeAfterOutput(runCommand(arguments, argv[0]), std::cout, std::cerr);
}
