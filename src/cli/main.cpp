#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "ExecutableFolder.h"
#include "VM4_ExitCodes.h"
#include "LibrariesCommand.h"
#include "VM4_InfoCommand.h"
#include "VM4_SolveCommand.h"
#include "VM4_StandardOutput.h"
#include "VM4_TableCommand.h"
#include "VM4_UpgradeCommand.h"
#include "foundations/VM4_ProgramFolders.h"
#include "model/VM4_FileHeader.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmora-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Steady-state hydraulic analysis of pipe networks, without a window.\n"
    "\n"
    "Commands:\n"
    "  --help              show this text\n"
    "  --version           show the program version and the network file version it writes\n"
    "  info FILE.vme       summary of a network file: nodes, pipes, items, loops, fluid, units\n"
    "  solve FILE.vme [--reverse=no|yes] [--json FILE] [--save OUT.vme] [--timing]\n"
    "                [--table NAME[,NAME...]]\n"
    "                      solve the network and print the results log. --reverse answers\n"
    "                      the questions about reversing pipes (no by default), --json writes\n"
    "                      the results as JSON, --save writes the solved network, --timing\n"
    "                      prints the time of the solve and of each of its phases on standard\n"
    "                      error, --table prints result tables after the log (pipes,nodes)\n"
    "  upgrade FOLDER      load every .vme file of the folder and save it in the current format\n"
    "  libraries [FOLDER]  load the data libraries beside the executable (or in FOLDER)\n"
    "                      and list them\n"
    "  table FILE.vme --table NAME [--solve] [--format csv|xlsx] [-o OUT]\n"
    "                      one result or data table of a network as CSV or workbook\n"
    "\n"
    "Exit codes, for every command:\n"
    "  0  success\n"
    "  1  the network was not solved, or a file (or the standard output) could not be written\n"
    "  2  an argument was not understood, or a file could not be loaded\n";

std::string versionText() {
    return std::string("velmora-cli ") + VELMORA_VERSION + "\nwrites network files of version " +
           TFileHeader::kNetworkFileVersion + "\n";
}

int runCommand(const std::vector<std::string>& arguments, const char* program) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        std::cout << kUsage;
        return arguments.empty() ? kExitBadInput : kExitSuccess;
    }
    const std::string& command = arguments[0];
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "--version") {
        std::cout << versionText();
        return kExitSuccess;
    }
    if (command == "info") return RunInfoCommand(rest, std::cout, std::cerr);
    if (command == "solve") return RunSolveCommand(rest, std::cout, std::cerr);
    if (command == "upgrade") return RunUpgradeCommand(rest, std::cout, std::cerr);
    if (command == "libraries") {
        if (rest.size() > 1) {
            std::cerr << "Usage: velmora-cli libraries [FOLDER]\n";
            return kExitBadInput;
        }
        const TProgramFolders folders = FindProgramFolders(ExecutableFolder(program));
        return RunLibrariesCommand(rest.empty() ? folders.Data : std::filesystem::path(rest[0]), std::cout, std::cerr);
    }
    if (command == "table") return RunTableCommand(rest, std::cout, std::cerr);
    std::cerr << "velmora-cli: unknown command '" << command << "'\n" << kUsage;
    return kExitBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return ExitCodeAfterOutput(runCommand(arguments, argv[0]), std::cout, std::cerr);
}
