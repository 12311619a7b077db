#include "libraries/VM4_Pipe_Diameter_Library.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <utility>

#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_TextRecord.h"
#include "foundations/VM4_Units.h"
#include "foundations/VM4_UserMessages.h"
#include "libraries/VM4_LibraryFiles.h"
#include "libraries/VM4_PipeSizeClass.h"

namespace {

const char* const kVersionReference = "1.03";
const char* const kNoTables = "Pipe diameter data files cannot be found.\rUnable to display pipe data.";
const char* const kMaterialExists = "This material already exists.\rCannot create another material with the same name.";
const char* const kStandardSaveFailed = "Code -03: Could not save file.";
const char* const kUserSaveFailed = "Code -03a: Could not save file.";
const char* const kNoTableLoaded = "TPipeDiameterLibrary.AddPipeSize Failed: No pipe table is loaded";
const char* const kNotATableName = "TPipeDiameterLibrary.RemovePipeMaterial Failed: Not a pipe table file name: ";
const char* const kRemoveFailed = "TPipeDiameterLibrary.RemovePipeMaterial Failed: ";
const char* const kInstalledTable =
    "TPipeDiameterLibrary.RemovePipeMaterial Failed: The table comes with the program and cannot be removed: ";
const char* const kRangeSeparator = " - ";

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

bool isPipeTableFile(const std::filesystem::directory_entry& entry) {
    std::error_code ignored;
    return entry.is_regular_file(ignored) && lowerCase(entry.path().extension().string()) == kPipeTableExtension;
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

// A material name as part of a file name: characters that a file name cannot
// hold, or that would lead out of the folder, become "_".
std::string fileNameSafe(const std::string& text) {
    std::string safe = text;
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) c = '_';
    }
    return safe;
}

// The texts of a size as they can be written into a record line.
TPipe withFieldSafeTexts(const TPipe& size) {
    TPipe safe = size;
    safe.Material = CutToCapacity(LibraryFieldText(size.Material), TPipe::kMaterialCapacity);
    safe.Schedule = CutToCapacity(LibraryFieldText(size.Schedule), TPipe::kScheduleCapacity);
    safe.NominalSize = CutToCapacity(LibraryFieldText(size.NominalSize), TPipe::kNominalSizeCapacity);
    return safe;
}

std::string tableSortKey(const TPipeTableEntry& entry) {
    return lowerCase(entry.Material + '\t' + entry.Schedule + '\t' + entry.RoughnessText + '\t' + entry.SizeRange +
                     '\t' + entry.FileName);
}

}  // namespace

TPipeDiameterLibrary::TPipeDiameterLibrary(std::filesystem::path pipeTablesFolder, IUserMessages& messages,
                                           int capacity)
    : folder_(std::move(pipeTablesFolder)), userFolder_(folder_), messages_(messages), sizes_(capacity),
      scan_(capacity) {}

void TPipeDiameterLibrary::SetUserFolder(std::filesystem::path userPipeTablesFolder) {
    userFolder_ = std::move(userPipeTablesFolder);
}

std::filesystem::path TPipeDiameterLibrary::TablePath(const std::string& standardFileName) const {
    // Only the name counts: a table always lies in one of the pipe tables folders.
    const std::filesystem::path name = std::filesystem::path(standardFileName).filename();
    if (fileExists(userFolder_ / name)) return userFolder_ / name;
    return folder_ / name;
}

std::filesystem::path TPipeDiameterLibrary::UserFileOf(const std::filesystem::path& standardFile) const {
    return UserTablePath(userFolder_ / standardFile.filename());
}

std::filesystem::path TPipeDiameterLibrary::writablePath(const std::filesystem::path& file) const {
    return userFolder_ / file.filename();
}

// A table that stands in the program's folder when that is not the user's.
bool TPipeDiameterLibrary::installedTable(const std::filesystem::path& name) const {
    std::error_code ignored;
    return folder_ != userFolder_ && !std::filesystem::equivalent(folder_, userFolder_, ignored) &&
           fileExists(folder_ / name);
}

std::filesystem::path TPipeDiameterLibrary::UserTablePath(const std::filesystem::path& standardFile) {
    std::filesystem::path userFile = standardFile;
    return userFile.replace_extension(kPipeUserTableExtension);
}

std::filesystem::path TPipeDiameterLibrary::TablePathForPipe(const std::string& diameterDataFileName) const {
    const std::filesystem::path table = TablePath(diameterDataFileName);
    if (!diameterDataFileName.empty() && fileExists(table)) return table;
    return TablePath(kDefaultPipeTableFileName);
}

bool TPipeDiameterLibrary::LoadPipeTable(const std::filesystem::path& standardFile) {
    loadedTable_ = standardFile;
    const bool complete = loadTableInto(sizes_, standardFile);
    dropPlaceholderAmongOtherSizes();
    return complete;
}

// Both files of a table name the standard file as the table of their sizes, so
// that a pipe given a user size finds its table again.
bool TPipeDiameterLibrary::loadTableInto(TPipeDiameterSet& set, const std::filesystem::path& standardFile) {
    set.Clear();
    const std::string tableName = standardFile.filename().string();
    bool complete = true;
    if (fileExists(standardFile)) {
        std::ifstream file = OpenLibraryFile(standardFile);
        header_.LoadFromText(file);
        complete = set.LoadFromText_DiameterData(file, tableName, messages_);
    }
    const std::filesystem::path userFile = UserFileOf(standardFile);
    if (fileExists(userFile)) {
        std::ifstream file = OpenLibraryFile(userFile);
        header_.LoadFromText(file);
        complete = set.LoadUserPipes_DiameterData_FromText(file, tableName, messages_) && complete;
    }
    return complete;
}

// A placeholder only stands for its material until the table has a real size.
void TPipeDiameterLibrary::dropPlaceholderAmongOtherSizes() {
    if (sizes_.Count() > 1 && sizes_.GetPipeDiameterData(1).SizeClass < 0) sizes_.RemovePipeDiameterData(1);
}

std::string TPipeDiameterLibrary::tableText(const TPipeDiameterSet& set, bool userSizes,
                                            const std::string& headerFileName) const {
    std::ostringstream out(LibraryHeaderLine(kVersionReference, headerFileName), std::ios::ate);
    userSizes ? set.SaveUserPipes_DiameterData_ToText(out) : set.SaveToText_DiameterData(out);
    return out.str();
}

void TPipeDiameterLibrary::SaveStandardTable(const std::filesystem::path& standardFile) {
    SaveLibraryFile<EPipeDiameterSetClass>(standardFile, tableText(sizes_, false, ""), kStandardSaveFailed);
}

void TPipeDiameterLibrary::SaveUserTable(const std::filesystem::path& userFile) {
    SaveLibraryFile<EPipeDiameterSetClass>(userFile, tableText(sizes_, true, ""), kUserSaveFailed);
}

// The user's copy of a table hides the program's table of the same name.
const std::vector<TPipeTableEntry>& TPipeDiameterLibrary::ListPipeTables() {
    tables_.clear();
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::path& folder : {userFolder_, folder_}) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const bool listed = std::any_of(files.begin(), files.end(), [&](const std::filesystem::path& file) {
                return file.filename() == it->path().filename();
            });
            if (isPipeTableFile(*it) && !listed) files.push_back(it->path());
        }
    }
    if (files.empty()) {
        messages_.ShowInformation(kNoTables);
        return tables_;
    }
    for (const std::filesystem::path& file : files) tables_.push_back(tableEntry(file));
    std::sort(tables_.begin(), tables_.end(), [](const TPipeTableEntry& a, const TPipeTableEntry& b) {
        return tableSortKey(a) < tableSortKey(b);
    });
    return tables_;
}

// Material, schedule and roughness as they stand in the first size line.
TPipeTableEntry TPipeDiameterLibrary::tableEntry(const std::filesystem::path& standardFile) {
    TPipeTableEntry entry;
    entry.FileName = standardFile.filename().string();
    {
        std::ifstream file = OpenLibraryFile(standardFile);
        std::string line;
        if (ReadRecordLine(file, line) && ReadRecordLine(file, line)) {
            const std::vector<std::string> fields = SplitRecordFields(line);
            entry.Material = fields[0];
            if (fields.size() > 1) entry.Schedule = fields[1];
            if (fields.size() > 2) entry.RoughnessText = fields[2];
        }
    }
    entry.SizeRange = ReadTableRange(standardFile);
    return entry;
}

std::string TPipeDiameterLibrary::ReadTableRange(const std::filesystem::path& standardFile) {
    std::string range = rangeOfFile(standardFile, false);
    if (range.empty() || range == kRangeSeparator) range = rangeOfFile(UserFileOf(standardFile), true);
    return range == kRangeSeparator ? "" : range;
}

std::string TPipeDiameterLibrary::rangeOfFile(const std::filesystem::path& file, bool userFile) {
    if (!fileExists(file)) return "";
    scan_.Clear();
    std::ifstream in = OpenLibraryFile(file);
    header_.LoadFromText(in);
    const std::string tableName = file.filename().string();
    userFile ? scan_.LoadUserPipes_DiameterData_FromText(in, tableName, messages_)
             : scan_.LoadFromText_DiameterData(in, tableName, messages_);
    if (scan_.Count() == 0) return kRangeSeparator;
    return scan_.GetPipeDiameterData(1).NominalSize + kRangeSeparator +
           scan_.GetPipeDiameterData(scan_.Count()).NominalSize;
}

TPipe TPipeDiameterLibrary::MakeNewPipeSize(const std::string& nominalSize, double wallThickness_m,
                                            double outsideDiameter_m, double weightPerLength_kg_m) const {
    TPipe size = sizes_.Count() > 0 ? sizes_.GetPipeDiameterData(1) : TPipe{};
    size.NominalSize = CutToCapacity(nominalSize, TPipe::kNominalSizeCapacity);
    size.WallThickness_m = wallThickness_m;
    size.OuterDiameter_m = outsideDiameter_m;
    size.WeightPerLength_kg_m = weightPerLength_kg_m;
    // bore = outside diameter - 2 x wall
    size.InnerDiameter_m = outsideDiameter_m - 2.0 * wallThickness_m;
    size.SizeClass = PipeSizeClassFromOutsideDiameter(outsideDiameter_m);
    size.DiameterDataFileName = CutToCapacity(loadedTable_.filename().string(), TPipe::kDiameterDataFileNameCapacity);
    return size;
}

// Applies a change to the working set and writes the affected file of the
// loaded table; a failed write puts the set back, so that memory and disk keep
// agreeing.
template <class TChange>
void TPipeDiameterLibrary::changeAndSave(TChange change, bool userFile) {
    if (loadedTable_.empty()) throw EPipeDiameterSetClass(kNoTableLoaded);
    const TPipeDiameterSet before = sizes_;
    try {
        change();
        EnsureUserLibraryFolder(userFolder_);
        if (userFile) {
            SaveUserTable(UserFileOf(loadedTable_));
        } else {
            SaveStandardTable(writablePath(loadedTable_));
            loadedTable_ = writablePath(loadedTable_);
        }
    } catch (...) {
        sizes_ = before;
        throw;
    }
}

int TPipeDiameterLibrary::AddPipeSize(const TPipe& size) {
    int slot = 0;
    changeAndSave([&] { slot = sizes_.AddPipeDiameterData(withFieldSafeTexts(size)); }, true);
    if (sizes_.Count() > 1 && sizes_.GetPipeDiameterData(1).SizeClass < 0) {
        sizes_.RemovePipeDiameterData(1);
        --slot;
    }
    return slot;
}

void TPipeDiameterLibrary::RemovePipeSize(int slot) {
    const bool userSize = sizes_.GetPipeDiameterFileType(slot) == TPipeDiameterSet::kUserFile;
    changeAndSave([&] { sizes_.RemovePipeDiameterData(slot); }, userSize);
    LoadPipeTable(loadedTable_);
}

bool TPipeDiameterLibrary::AddPipeMaterial(const std::string& material, const std::string& schedule,
                                           double roughness_m) {
    const std::string fileName = kUserMaterialFilePrefix + fileNameSafe(material) + kPipeTableExtension;
    const std::filesystem::path table = userFolder_ / fileName;
    std::error_code ignored;
    if (std::filesystem::exists(table, ignored) || std::filesystem::exists(folder_ / fileName, ignored)) {
        messages_.ShowInformation(kMaterialExists);
        return false;
    }
    TPipe placeholder;
    placeholder.Material = material;
    placeholder.Schedule = schedule;
    placeholder.InnerRoughness_m = roughness_m;
    placeholder.SizeClass = kPlaceholderSizeClass;
    placeholder.DiameterDataFileName = CutToCapacity(fileName, TPipe::kDiameterDataFileNameCapacity);
    scan_.Clear();
    const int slot = scan_.AddPipeDiameterData(withFieldSafeTexts(placeholder));
    scan_.SetPipeFileType(slot, TPipeDiameterSet::kStandardFile);
    EnsureUserLibraryFolder(userFolder_);
    SaveLibraryFile<EPipeDiameterSetClass>(table, tableText(scan_, false, fileName), kStandardSaveFailed);
    ListPipeTables();
    return true;
}

void TPipeDiameterLibrary::RemovePipeMaterial(const std::string& standardFileName) {
    const std::filesystem::path name = std::filesystem::path(standardFileName).filename();
    if (lowerCase(name.extension().string()) != kPipeTableExtension) {
        throw EPipeDiameterSetClass(kNotATableName + standardFileName);
    }
    if (installedTable(name)) throw EPipeDiameterSetClass(kInstalledTable + name.string());
    const std::filesystem::path standardFile = userFolder_ / name;
    for (const std::filesystem::path& file : {standardFile, UserTablePath(standardFile)}) {
        std::error_code error;
        std::filesystem::remove(file, error);
        if (error) throw EPipeDiameterSetClass(kRemoveFailed + error.message());
    }
    ListPipeTables();
}

std::string PipeTableRoughnessDisplay(const std::string& roughnessText_inch, bool metric) {
    double roughness_inch = 0.0;
    if (!ReadLibraryNumber(roughnessText_inch, roughness_inch)) return "";
    if (metric) return formatFixed(4, convertUnits(UNIT_INCH, UNIT_MM, roughness_inch)) + " (mm)";
    return formatFixed(6, roughness_inch) + " (inch)";
}
