#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "results/VM4_MemoryGrid.h"

class TNetwork;

// velmora-cli table FILE.vme --table NAME [--format csv|xlsx] [-o OUT]:
// one result or data table of a network file, as the results window and the
// grid view show it, written as CSV (RFC 4180, UTF-8) or as a workbook.

VELMORA_DECLARE_ERROR(ETableCommand);

enum class TTableFormat { Csv, Xlsx };

struct TTableRequest {
    std::string NetworkFile;
    // One of TableNames().
    std::string TableName;
    TTableFormat Format = TTableFormat::Csv;
    // Empty: standard output (CSV only).
    std::filesystem::path OutputFile;
    // Solve the network before filling the table (the results are not stored in files).
    bool Solve = false;
};

// pipes, pipe-materials, nodes, fluid, pumps, fittings, all, pipe-data,
// tank-data, end-pressure-data, joint-data.
const std::vector<std::string>& TableNames();

// Reads the arguments after the command word. The format follows --format, or
// else the extension of -o (".xlsx" gives a workbook); a workbook needs -o,
// and one named without extension gets ".xlsx". Raises ETableCommand with the
// reason for a missing, unknown or repeated argument.
TTableRequest ParseTableRequest(const std::vector<std::string>& arguments);

// The named table (one of TableNames()) of the network, filled from row 0 as
// the results window or the grid view fills it. Raises ETableCommand for an
// unknown name.
TMemoryGrid FillNetworkTable(const TNetwork& network, const std::string& tableName);

// Writes the requested table of the network: CSV to `out` or to the output
// file, a workbook to the output file. A file is replaced only once it is
// complete. Raises ETableCommand (or the writer's error) when it cannot be written.
void WriteNetworkTable(const TNetwork& network, const TTableRequest& request, std::ostream& out);

// Loads the file (solving it with --solve; the log goes to `err`) and writes
// the table. Exit codes: 0 written, 1 the table could not be written, 2 usage
// or a network file that cannot be loaded (the reason goes to `err`).
int RunTableCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
