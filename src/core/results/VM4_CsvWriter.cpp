#include "results/VM4_CsvWriter.h"

#include "results/VM4_GridExtent.h"
#include "results/VM4_TableGrid.h"

namespace {

constexpr const char* kRecordEnd = "\r\n";

bool needsQuotes(const std::string& text) { return text.find_first_of(",\"\r\n") != std::string::npos; }

}  // namespace

std::string CsvField(const std::string& text) {
    if (!needsQuotes(text)) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string GridToCsv(const ITableGrid& grid) {
    const TGridExtent extent = UsedGridExtent(grid);
    std::string csv;
    for (int row = 0; row < extent.Rows; ++row) {
        for (int column = 0; column < extent.Columns; ++column) {
            if (column > 0) csv += ',';
            csv += CsvField(grid.GetCell(column, row));
        }
        csv += kRecordEnd;
    }
    return csv;
}
