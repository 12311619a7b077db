#include "libraries/VM4_Fluid_Database.h"

#include <sstream>
#include <utility>

#include "foundations/VM4_ShortString.h"
#include "libraries/VM4_LibraryFiles.h"

namespace {

const char* const kVersionReference = "1.02";
const char* const kStandardSaveFailed = "Code -03: Could not save file.";
const char* const kUserSaveFailed = "Code -03a: Could not save file.";

}  // namespace

TFluidDatabase::TFluidDatabase(std::filesystem::path fluidTablesFolder, IUserMessages& messages, int capacity)
    : folder_(std::move(fluidTablesFolder)), userFolder_(folder_), messages_(messages), fluids_(capacity) {}

void TFluidDatabase::SetUserFolder(std::filesystem::path userFluidTablesFolder) {
    userFolder_ = std::move(userFluidTablesFolder);
}

std::filesystem::path TFluidDatabase::StandardFilePath() const {
    const std::filesystem::path usersCopy = userFolder_ / (std::string(kFluidFileStem) + kFluidExtension);
    std::error_code ignored;
    if (std::filesystem::is_regular_file(usersCopy, ignored)) return usersCopy;
    return folder_ / usersCopy.filename();
}

std::filesystem::path TFluidDatabase::UserFilePath() const {
    return userFolder_ / (std::string(kFluidFileStem) + kFluidUserExtension);
}

bool TFluidDatabase::LoadFluidDatabase() {
    fluids_.ClearFluidDataArray();
    standardFileHoldsUserFluids_ = false;
    bool complete = loadFile(StandardFilePath(), false);
    for (int slot = 1; slot <= fluids_.Count(); ++slot) {
        if (fluids_.GetFluidDataRec(slot).Origin == TFluidDataSet::kUserFile) standardFileHoldsUserFluids_ = true;
    }
    std::error_code ignored;
    if (std::filesystem::exists(UserFilePath(), ignored)) complete = loadFile(UserFilePath(), true) && complete;
    fluids_.SortFluidDataSet(true);
    return complete;
}

bool TFluidDatabase::loadFile(const std::filesystem::path& path, bool userFile) {
    std::ifstream file = OpenLibraryFile(path);
    header_.LoadFromText(file);
    return userFile ? fluids_.LoadUser_FluidDataSet_FromText(file, messages_)
                    : fluids_.LoadFromText_FluidDataSet(file, messages_);
}

void TFluidDatabase::SaveStandardFluids() {
    if (standardFileHoldsUserFluids_) {
        moveUserFluidsOutOfTheStandardFile();
        return;
    }
    writeStandardFile();
}

void TFluidDatabase::SaveUserFluids() {
    if (standardFileHoldsUserFluids_) {
        moveUserFluidsOutOfTheStandardFile();
        return;
    }
    writeUserFile();
}

// The user file first: should the standard file then fail, a fluid stands in
// both files for a while rather than in none.
void TFluidDatabase::moveUserFluidsOutOfTheStandardFile() {
    writeUserFile();
    writeStandardFile();
    standardFileHoldsUserFluids_ = false;
}

void TFluidDatabase::writeStandardFile() {
    std::ostringstream out(LibraryHeaderLine(kVersionReference), std::ios::ate);
    fluids_.SaveToText_FluidDataSet(out);
    SaveLibraryFile<EFluidDataSetClass>(userFolder_ / StandardFilePath().filename(), out.str(), kStandardSaveFailed);
}

void TFluidDatabase::writeUserFile() {
    std::ostringstream out(LibraryHeaderLine(kVersionReference), std::ios::ate);
    fluids_.SaveUser_FluidDataSet_ToText(out);
    SaveLibraryFile<EFluidDataSetClass>(UserFilePath(), out.str(), kUserSaveFailed);
}

// Applies a change to the set and writes the affected file; a failed write
// puts the set back, so that memory and disk keep agreeing.
template <class TChange>
void TFluidDatabase::changeAndSave(TChange change, bool userFile) {
    const TFluidDataSet before = fluids_;
    try {
        change();
        EnsureUserLibraryFolder(userFolder_);
        userFile ? SaveUserFluids() : SaveStandardFluids();
    } catch (...) {
        fluids_ = before;
        throw;
    }
}

int TFluidDatabase::AddUserFluid(const TFluid& fluid) {
    // The texts as the file will give them back.
    TFluid added = fluid;
    added.Name = CutToCapacity(LibraryFieldText(fluid.Name), TFluid::kNameCapacity);
    added.Formula = CutToCapacity(LibraryFieldText(fluid.Formula), TFluid::kFormulaCapacity);
    int slot = 0;
    changeAndSave([&] { slot = fluids_.AddFluidDataRec(added, TFluidDataSet::kUserFile); }, true);
    return slot;
}

void TFluidDatabase::RemoveDatabaseFluid(int slot) {
    const bool userFluid = fluids_.GetFluidDataRec(slot).Origin == TFluidDataSet::kUserFile;
    changeAndSave([&] { fluids_.RemoveFluidDataRec(slot); }, userFluid);
}
