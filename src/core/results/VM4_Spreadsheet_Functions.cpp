#include "results/VM4_Spreadsheet_Functions.h"

#include <xlsxwriter.h>

#include <random>
#include <system_error>

#include "foundations/VM4_FileBytes.h"
#include "foundations/VM4_SafeSave.h"
#include "results/VM4_TableGrid.h"

namespace {

const std::string kCellNameFailed = "SpreadsheetCellName Failed: Row and column must be 1 or more";
const std::string kSaveFailed = "SaveGridAsSpreadsheet Failed: ";
const std::string kSheetNameRefused = "the sheet name \"";
const std::string kSheetNameRefusedEnd = "\" is not accepted: ";
const std::string kBuildFailed = "the workbook could not be built: ";
const std::string kReadBackFailed = "the workbook could not be read back from ";

constexpr int kLettersInAlphabet = 26;

[[noreturn]] void failSave(const std::string& reason) { throw ESpreadsheetFunctions(kSaveFailed + reason); }

// The workbook library writes to a file name of its own choosing; it is given
// one in the temporary folder and the finished bytes are then saved safely
// under the target name. The staging file goes whatever happens.
class TStagingFile {
public:
    TStagingFile() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("velmora-workbook-" + std::to_string(random()) + "-" + std::to_string(random()) + ".xlsx");
    }
    ~TStagingFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TStagingFile(const TStagingFile&) = delete;
    TStagingFile& operator=(const TStagingFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Owns the library's workbook until it is closed (closing writes the file).
class TWorkbook {
public:
    explicit TWorkbook(const std::filesystem::path& path) : workbook_(workbook_new(path.string().c_str())) {
        if (workbook_ == nullptr) failSave(kBuildFailed + lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
    }
    ~TWorkbook() {
        if (workbook_ != nullptr) workbook_close(workbook_);
    }
    TWorkbook(const TWorkbook&) = delete;
    TWorkbook& operator=(const TWorkbook&) = delete;

    lxw_worksheet* AddSheet(const std::string& sheetName) {
        const lxw_error nameError = workbook_validate_sheet_name(workbook_, sheetName.c_str());
        if (nameError != LXW_NO_ERROR)
            failSave(kSheetNameRefused + sheetName + kSheetNameRefusedEnd + lxw_strerror(nameError));
        lxw_worksheet* sheet = workbook_add_worksheet(workbook_, sheetName.c_str());
        if (sheet == nullptr) failSave(kBuildFailed + lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
        return sheet;
    }

    void Close() {
        const lxw_error error = workbook_close(workbook_);
        workbook_ = nullptr;
        if (error != LXW_NO_ERROR) failSave(kBuildFailed + lxw_strerror(error));
    }

private:
    lxw_workbook* workbook_;
};

void checkWritten(lxw_error error) {
    if (error != LXW_NO_ERROR) failSave(kBuildFailed + lxw_strerror(error));
}

// Every cell as a string cell, so that the sheet shows exactly the grid's
// texts. Empty cells are left out; the sheet shows them empty anyway.
void writeCells(lxw_worksheet* sheet, const ITableGrid& grid) {
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int column = 0; column < grid.ColCount(); ++column) {
            const std::string text = grid.GetCell(column, row);
            if (text.empty()) continue;
            checkWritten(worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                                text.c_str(), nullptr));
        }
}

void setColumnWidths(lxw_worksheet* sheet, const ITableGrid& grid, double columnWidth_chars) {
    if (grid.ColCount() == 0) return;
    checkWritten(worksheet_set_column(sheet, 0, static_cast<lxw_col_t>(grid.ColCount() - 1), columnWidth_chars,
                                      nullptr));
}

std::string workbookBytes(const TStagingFile& staging) {
    std::string bytes;
    if (!ReadFileBytes(staging.Path(), bytes)) failSave(kReadBackFailed + staging.Path().string());
    return bytes;
}

}  // namespace

// Column letters count in base 26 without a zero digit: Z is 26, AA is 27.
std::string SpreadsheetCellName(int row, int column) {
    if (row < 1 || column < 1) throw ESpreadsheetFunctions(kCellNameFailed);
    std::string letters;
    for (int rest = column; rest > 0; rest = (rest - 1) / kLettersInAlphabet)
        letters.insert(letters.begin(), static_cast<char>('A' + (rest - 1) % kLettersInAlphabet));
    return letters + std::to_string(row);
}

void SaveGridAsSpreadsheet(const ITableGrid& grid, const std::string& sheetName, const std::filesystem::path& fileName,
                           double columnWidth_chars) {
    const TStagingFile staging;
    TWorkbook workbook(staging.Path());
    lxw_worksheet* sheet = workbook.AddSheet(sheetName);
    writeCells(sheet, grid);
    setColumnWidths(sheet, grid, columnWidth_chars);
    workbook.Close();
    try {
        SafeSaveFile(fileName, workbookBytes(staging));
    } catch (const ESafeSave& error) {
        failSave(error.what());
    }
}
