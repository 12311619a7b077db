#include "results/VM4_Spreadsheet_Functions.h"

#include <xlsxwriter.h>

#include <map>
#include <random>
#include <system_error>

#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_FileBytes.h"
#include "foundations/VM4_SafeSave.h"
#include "results/VM4_TableGrid.h"
#include "results/VM4_TableNumber.h"

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

    // The number format that shows `decimals` places ("0", "0.000"), made once per workbook.
    lxw_format* NumberFormat(int decimals) {
        auto found = numberFormats_.find(decimals);
        if (found != numberFormats_.end()) return found->second;
        lxw_format* format = workbook_add_format(workbook_);
        if (format == nullptr) failSave(kBuildFailed + lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
        const std::string code = decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
        format_set_num_format(format, code.c_str());
        numberFormats_.emplace(decimals, format);
        return format;
    }

    void Close() {
        const lxw_error error = workbook_close(workbook_);
        workbook_ = nullptr;
        if (error != LXW_NO_ERROR) failSave(kBuildFailed + lxw_strerror(error));
    }

private:
    lxw_workbook* workbook_;
    std::map<int, lxw_format*> numberFormats_;
};

void checkWritten(lxw_error error) {
    if (error != LXW_NO_ERROR) failSave(kBuildFailed + lxw_strerror(error));
}

// A number as a number cell shown with the table's decimals, so that a
// spreadsheet computes with it and shows what the table showed; every other
// text (titles, units, names, flagged values) as a string cell.
void writeCell(lxw_worksheet* sheet, TWorkbook& workbook, int row, int column, const std::string& text) {
    const auto sheetRow = static_cast<lxw_row_t>(row);
    const auto sheetColumn = static_cast<lxw_col_t>(column);
    TTableNumber number;
    if (ReadTableNumber(text, SystemDecimalMark(), number)) {
        checkWritten(worksheet_write_number(sheet, sheetRow, sheetColumn, number.Value,
                                            workbook.NumberFormat(number.Decimals)));
        return;
    }
    checkWritten(worksheet_write_string(sheet, sheetRow, sheetColumn, text.c_str(), nullptr));
}

// Empty cells are left out; the sheet shows them empty anyway.
void writeCells(lxw_worksheet* sheet, TWorkbook& workbook, const ITableGrid& grid) {
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int column = 0; column < grid.ColCount(); ++column) {
            const std::string text = grid.GetCell(column, row);
            if (!text.empty()) writeCell(sheet, workbook, row, column, text);
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
    writeCells(sheet, workbook, grid);
    setColumnWidths(sheet, grid, columnWidth_chars);
    workbook.Close();
    try {
        SafeSaveFile(fileName, workbookBytes(staging));
    } catch (const ESafeSave& error) {
        failSave(error.what());
    }
}
