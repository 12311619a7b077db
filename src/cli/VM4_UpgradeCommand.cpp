#include "VM4_UpgradeCommand.h"

#include "VM4_ExitCodes.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <ostream>
#include <system_error>

#include "model/VM4_Network_Class.h"

namespace {

const char* const kUpgradeUsage = "Usage: velmora-cli upgrade FOLDER\n";
const char* const kNetworkExtension = ".vme";

// Network files were listed with the pattern *.vme on a file system that
// ignores case, so NET.VME is a network file too.
bool hasNetworkExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == kNetworkExtension;
}

// Regular files only, sorted, so that the report reads the same on every run.
std::vector<std::filesystem::path> networkFilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored) && hasNetworkExtension(entry.path())) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Loading leaves a bad file untouched; saving replaces a file only by a complete one.
bool upgradeFile(const std::filesystem::path& file, TNetwork& network, std::ostream& report) {
    const std::string name = file.filename().string();
    try {
        network.LoadFromFile(file);
        const std::string oldVersion = network.FileHeader.VersionReference();
        network.SaveToFile(file);
        report << "converted " << name << " (version " << oldVersion << " -> "
               << network.FileHeader.VersionReference() << ")\n";
        return true;
    } catch (const EVelmoraError& error) {
        report << "FAILED    " << name << ": " << error.what() << "\n";
        return false;
    }
}

}  // namespace

TUpgradeTally UpgradeNetworkFolder(const std::filesystem::path& folder, TNetwork& network, std::ostream& report) {
    TUpgradeTally tally;
    for (const std::filesystem::path& file : networkFilesIn(folder)) {
        if (upgradeFile(file, network, report)) {
            ++tally.Converted;
        } else {
            ++tally.Failed;
        }
    }
    report << tally.Converted << " converted, " << tally.Failed << " failed\n";
    return tally;
}

int RunUpgradeCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() != 1) {
        err << kUpgradeUsage;
        return kExitBadInput;
    }
    const std::filesystem::path folder = arguments[0];
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        err << "velmora-cli upgrade: " << folder.string() << " is not a folder\n";
        return kExitBadInput;
    }
    const auto network = std::make_unique<TNetwork>();
    try {
        const TUpgradeTally tally = UpgradeNetworkFolder(folder, *network, out);
        return tally.Failed == 0 ? kExitSuccess : kExitFailed;
    } catch (const std::filesystem::filesystem_error& listingError) {
        err << "velmora-cli upgrade: " << listingError.what() << "\n";
        return kExitBadInput;
    }
}
