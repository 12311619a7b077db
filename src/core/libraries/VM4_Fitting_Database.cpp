#include "libraries/VM4_Fitting_Database.h"

#include <sstream>
#include <utility>

#include "libraries/VM4_LibraryFiles.h"

namespace {

const char* const kVersionReference = "1.02";
const char* const kStandardSaveFailed = "Code -03: Could not save file.";
const char* const kUserSaveFailed = "Code -03u: Could not save file.";
constexpr std::int32_t kUserFittingQuantity = 1;
const char* const kEditedStandardSuffix = "_Edited";

std::filesystem::path standardFileIn(const std::filesystem::path& folder, const char* suffix = "") {
    return folder / (std::string(kFittingFileStem) + suffix + kFittingExtension);
}

// Every file the database writes goes into its folder, which a fresh user
// folder does not have yet.
void makeFolderFor(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
}

// The texts of a fitting as they can be written into a record line.
TFitting withFieldSafeTexts(const TFitting& fitting) {
    TFitting safe = fitting;
    safe.Type = LibraryFieldText(fitting.Type);
    safe.MetricSize = LibraryFieldText(fitting.MetricSize);
    safe.ImperialSize = LibraryFieldText(fitting.ImperialSize);
    safe.Description = LibraryFieldText(fitting.Description);
    return safe;
}

}  // namespace

TFittingDatabase::TFittingDatabase(std::filesystem::path fittingTablesFolder, IUserMessages& messages, int capacity)
    : folder_(std::move(fittingTablesFolder)),
      userFolder_(folder_),
      editedStandard_(standardFileIn(folder_)),
      messages_(messages),
      fittings_(capacity) {}

TFittingDatabase::TFittingDatabase(std::filesystem::path dataFittingTablesFolder,
                                   std::filesystem::path userFittingTablesFolder, IUserMessages& messages,
                                   int capacity)
    : folder_(std::move(dataFittingTablesFolder)),
      userFolder_(std::move(userFittingTablesFolder)),
      editedStandard_(standardFileIn(userFolder_, kEditedStandardSuffix)),
      messages_(messages),
      fittings_(capacity) {}

std::filesystem::path TFittingDatabase::StandardFilePath() const {
    std::error_code ignored;
    if (std::filesystem::exists(editedStandard_, ignored)) return editedStandard_;
    return standardFileIn(folder_);
}

std::filesystem::path TFittingDatabase::UserFilePath() const {
    return userFolder_ / (std::string(kFittingFileStem) + kFittingUserExtension);
}

bool TFittingDatabase::LoadFittingDatabase() {
    fittings_.Clear();
    bool complete = loadFile(StandardFilePath(), false);
    std::error_code ignored;
    if (std::filesystem::exists(UserFilePath(), ignored)) complete = loadFile(UserFilePath(), true) && complete;
    return complete;
}

bool TFittingDatabase::loadFile(const std::filesystem::path& path, bool userFile) {
    std::ifstream file = OpenLibraryFile(path);
    header_.LoadFromText(file);
    return userFile ? fittings_.LoadUserFittings_FromTextWithoutQuantity(file, messages_)
                    : fittings_.LoadFromTextWithoutQuantity(file, messages_);
}

void TFittingDatabase::SaveStandardFittings() {
    std::ostringstream out(LibraryHeaderLine(kVersionReference), std::ios::ate);
    fittings_.SaveToTextWithoutQuantity(out);
    makeFolderFor(editedStandard_);
    SaveLibraryFile<EFittingSetClass>(editedStandard_, out.str(), kStandardSaveFailed);
}

void TFittingDatabase::SaveUserFittings() {
    std::ostringstream out(LibraryHeaderLine(kVersionReference), std::ios::ate);
    fittings_.SaveUserFittings_ToTextWithoutQuantity(out);
    makeFolderFor(UserFilePath());
    SaveLibraryFile<EFittingSetClass>(UserFilePath(), out.str(), kUserSaveFailed);
}

// Applies a change to the set and writes the affected file; a failed write
// puts the set back, so that memory and disk keep agreeing.
template <class TChange>
void TFittingDatabase::changeAndSave(TChange change, bool userFile) {
    const TFittingSet before = fittings_;
    try {
        change();
        userFile ? SaveUserFittings() : SaveStandardFittings();
    } catch (...) {
        fittings_ = before;
        throw;
    }
}

int TFittingDatabase::AddUserFitting(const TFitting& fitting) {
    int slot = 0;
    changeAndSave(
        [&] {
            slot = fittings_.AddFitting(withFieldSafeTexts(fitting), kUserFittingQuantity);
            fittings_.SetFittingFileType(slot, TFittingSet::kUserFile);
        },
        true);
    return slot;
}

void TFittingDatabase::RemoveDatabaseFitting(int slot) {
    const bool userFitting = fittings_.GetFittingFileType(slot) == TFittingSet::kUserFile;
    changeAndSave([&] { fittings_.RemoveFitting(slot); }, userFitting);
}
