#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

class TNetwork;

// velmora-cli upgrade FOLDER: every network file of a folder loaded and saved
// again in the current file format.

struct TUpgradeTally {
    int Converted = 0;
    int Failed = 0;
};

// Converts every regular file whose name ends in ".vme" (any case) directly in
// `folder`, in name order, through `network`, and reports one line per file. A
// file that does not load is reported and left exactly as it was, and the others
// are still converted; a file is replaced only by a complete new one. `network`
// is the working document: afterwards it holds whatever was loaded last.
TUpgradeTally UpgradeNetworkFolder(const std::filesystem::path& folder, TNetwork& network, std::ostream& report);

// Exit codes: 0 every file converted, 1 some failed, 2 usage or no such folder.
int RunUpgradeCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
