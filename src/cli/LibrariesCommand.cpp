#include "LibrariesCommand.h"

#include "VM4_ExitCodes.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "foundations/VM4_UserMessages.h"
#include "libraries/VM4_Fitting_Database.h"
#include "libraries/VM4_Fluid_Database.h"
#include "libraries/VM4_GasViscosityCalc.h"
#include "libraries/VM4_LibraryFiles.h"
#include "libraries/VM4_Pipe_Diameter_Library.h"

namespace {

const char* const kDefaultTableMissing = "The default pipe table is missing.";

// Keeps the engine's messages so that they can be printed with the file they concern.
class TCollectedMessages : public IUserMessages {
public:
    void ShowInformation(const std::string& text) override { shown.push_back(text); }
    bool Confirm(const std::string& text) override {
        shown.push_back(text);
        return false;
    }
    void ShowStatus(const std::string&) override {}
    void ProcessMessages() override {}

    std::vector<std::string> shown;
};

// A library file that did not load, with the engine's message.
struct TLibraryFailure {
    std::string File;
    std::string Message;
};

std::string consoleText(std::string text) {
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

// Runs one load; an error raised or a message shown makes the file a failure.
template <class TLoad>
void loadOrFail(const std::string& file, TCollectedMessages& messages, TLoad load) {
    messages.shown.clear();
    try {
        load();
    } catch (const std::exception& error) {
        throw TLibraryFailure{file, error.what()};
    }
    if (!messages.shown.empty()) throw TLibraryFailure{file, messages.shown.front()};
}

// "FluidTables/vmn_Fluids.vmfl", with its user file when there is one.
std::string libraryLabel(const std::filesystem::path& standardFile, const std::filesystem::path& userFile) {
    std::string label = standardFile.parent_path().filename().string() + "/" + standardFile.filename().string();
    std::error_code ignored;
    if (std::filesystem::exists(userFile, ignored)) label += " + " + userFile.filename().string();
    return label;
}

std::vector<std::filesystem::path> pipeTableFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code notAFile;
        if (it->is_regular_file(notAFile) && lowerCase(it->path().extension().string()) == kPipeTableExtension) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void checkPipeTables(const std::filesystem::path& programFolder, std::ostream& out) {
    const std::filesystem::path folder = programFolder / kPipeTablesFolderName;
    TCollectedMessages messages;
    TPipeDiameterLibrary library(folder, messages);
    std::map<std::string, int> sizeCounts;
    for (const std::filesystem::path& table : pipeTableFiles(folder)) {
        loadOrFail(libraryLabel(table, TPipeDiameterLibrary::UserTablePath(table)), messages,
                   [&] { library.LoadPipeTable(table); });
        sizeCounts[table.filename().string()] = library.Sizes().Count();
    }
    std::vector<TPipeTableEntry> tables;
    loadOrFail(kPipeTablesFolderName, messages, [&] { tables = library.ListPipeTables(); });
    if (sizeCounts.count(kDefaultPipeTableFileName) == 0) {
        throw TLibraryFailure{std::string(kPipeTablesFolderName) + "/" + kDefaultPipeTableFileName, kDefaultTableMissing};
    }
    out << "Pipe tables (" << kPipeTablesFolderName << "): " << tables.size() << "\n";
    for (const TPipeTableEntry& table : tables) {
        out << "  " << table.Material << ", " << table.Schedule << ": " << table.SizeRange << " ("
            << sizeCounts[table.FileName] << " sizes) " << table.FileName << "\n";
    }
}

void checkFittings(const std::filesystem::path& programFolder, std::ostream& out) {
    TCollectedMessages messages;
    TFittingDatabase database(programFolder / kFittingTablesFolderName, messages);
    loadOrFail(libraryLabel(database.StandardFilePath(), database.UserFilePath()), messages,
               [&] { database.LoadFittingDatabase(); });
    const TFittingSet& fittings = database.Fittings();
    int listed = 0;
    int user = 0;
    for (int i = 1; i <= fittings.Count(); ++i) {
        if (!fittings.GetFitting(i).IsCleared()) ++listed;
        if (fittings.GetFittingFileType(i) == TFittingSet::kUserFile) ++user;
    }
    out << "Fittings (" << kFittingTablesFolderName << "): " << fittings.Count() << " fittings, " << listed
        << " listed, " << user << " of the user\n";
}

void checkFluids(const std::filesystem::path& programFolder, std::ostream& out) {
    TCollectedMessages messages;
    TFluidDatabase database(programFolder / kFluidTablesFolderName, messages);
    loadOrFail(libraryLabel(database.StandardFilePath(), database.UserFilePath()), messages,
               [&] { database.LoadFluidDatabase(); });
    const TFluidDataSet& fluids = database.Fluids();
    int gases = 0;
    int user = 0;
    for (int slot = 1; slot <= fluids.Count(); ++slot) {
        if (fluids.GetFluidDataRec(slot).Fluid.IsGas) ++gases;
        if (fluids.GetFluidDataRec(slot).Origin == TFluidDataSet::kUserFile) ++user;
    }
    out << "Fluids (" << kFluidTablesFolderName << "): " << fluids.Count() << " fluids, "
        << fluids.Count() - gases << " liquids and " << gases << " gases, " << user << " of the user\n";
}

void checkGasConstants(const std::filesystem::path& programFolder, std::ostream& out) {
    TCollectedMessages messages;
    TGasConstantTable gases;
    const std::filesystem::path folder = programFolder / kFluidTablesFolderName;
    loadOrFail(std::string(kFluidTablesFolderName) + "/" + kGasConstantsFileName, messages,
               [&] { gases.LoadGasConstants(folder, messages); });
    out << "Gas constants (" << kFluidTablesFolderName << "): " << gases.Count() << " gases\n";
    for (int slot = 0; slot < gases.Count(); ++slot) {
        out << "  " << gases.GetGasData(slot).Name << " (" << gases.GetGasData(slot).Formula << ")\n";
    }
}

}  // namespace

int RunLibrariesCommand(const std::filesystem::path& programFolder, std::ostream& out, std::ostream& err) {
    out << "Libraries in " << programFolder.string() << "\n";
    try {
        checkPipeTables(programFolder, out);
        checkFittings(programFolder, out);
        checkFluids(programFolder, out);
        checkGasConstants(programFolder, out);
    } catch (const TLibraryFailure& failure) {
        err << failure.File << ": " << consoleText(failure.Message) << "\n";
        return kExitBadInput;
    }
    return kExitSuccess;
}
