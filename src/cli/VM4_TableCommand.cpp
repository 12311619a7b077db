#include "VM4_TableCommand.h"

#include "VM4_ExitCodes.h"
#include "VM4_SolveCommand.h"

#include <memory>
#include <ostream>

#include "foundations/VM4_SafeSave.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_CsvWriter.h"
#include "results/VM4_Spreadsheet_Functions.h"

namespace {

const std::string kUsage =
    "Usage: velmora-cli table FILE.vme --table NAME [--solve] [--format csv|xlsx] [-o OUT]\n"
    "  NAME: pipes, pipe-materials, nodes, fluid, pumps, fittings, all,\n"
    "        pipe-data, tank-data, end-pressure-data, joint-data\n"
    "  CSV goes to standard output unless -o names a file; a workbook needs -o.\n"
    "  --solve calculates the network first; its results log goes to standard error.\n";
const std::string kErrorPrefix = "velmora-cli table: ";

// The results window's grid has 26 columns, the grid view's 9.
constexpr int kResultsGridColumns = 26;
constexpr int kDataGridColumns = 9;
constexpr const char* kResultsSheetName = "Velmora Studio - Results";

struct TTableKind {
    const char* Name;
    // Fills the grid from row 0.
    void (*Fill)(const TNetwork&, ITableGrid&);
    int GridColumns;
    const char* SheetName;
};

// A worksheet name holds at most 31 characters: the grid view's longer names
// for the end pressure and join point data are shortened to its tab names.
const TTableKind kTableKinds[] = {
    {"pipes", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeResults(g, 0); }, kResultsGridColumns,
     kResultsSheetName},
    {"pipe-materials", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeMaterialResults(g, 0); },
     kResultsGridColumns, kResultsSheetName},
    {"nodes", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridNodeResults(g, 0); }, kResultsGridColumns,
     kResultsSheetName},
    {"fluid", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridFluidResults(g, 0); }, kResultsGridColumns,
     kResultsSheetName},
    {"pumps", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPumpResults(g, 0); }, kResultsGridColumns,
     kResultsSheetName},
    {"fittings", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridFittingResults(g, 0); },
     kResultsGridColumns, kResultsSheetName},
    {"all", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridAllResults(g); }, kResultsGridColumns,
     kResultsSheetName},
    {"pipe-data", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeData(g, 0); }, kDataGridColumns,
     "Velmora Studio - Pipe Data"},
    {"tank-data", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridTankData(g, 0); }, kDataGridColumns,
     "Velmora Studio - Tank Data"},
    {"end-pressure-data", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridEndPressureData(g, 0); },
     kDataGridColumns, "Velmora Studio - End Pressures"},
    {"joint-data", [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridJointData(g, 0); }, kDataGridColumns,
     "Velmora Studio - Join Points"},
};

const TTableKind* findTableKind(const std::string& name) {
    for (const TTableKind& kind : kTableKinds)
        if (name == kind.Name) return &kind;
    return nullptr;
}

[[noreturn]] void failUsage(const std::string& reason) { throw ETableCommand(reason); }

// The value after an option, refusing a second use of the option.
const std::string& optionValue(const std::vector<std::string>& arguments, std::size_t& i, bool& seen) {
    const std::string& option = arguments[i];
    if (seen) failUsage(option + " is given twice");
    if (i + 1 >= arguments.size()) failUsage(option + " needs a value");
    seen = true;
    return arguments[++i];
}

TTableFormat parseFormat(const std::string& value) {
    if (value == "csv") return TTableFormat::Csv;
    if (value == "xlsx") return TTableFormat::Xlsx;
    failUsage("unknown format '" + value + "' (csv or xlsx)");
}

struct TParsedArguments {
    std::vector<std::string> Files;
    std::string TableName;
    std::string Format;
    std::string OutputFile;
    bool HasFormat = false;
    bool Solve = false;
};

TParsedArguments readArguments(const std::vector<std::string>& arguments) {
    TParsedArguments parsed;
    bool seenTable = false;
    bool seenOutput = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--table") parsed.TableName = optionValue(arguments, i, seenTable);
        else if (argument == "--format") parsed.Format = optionValue(arguments, i, parsed.HasFormat);
        else if (argument == "-o") parsed.OutputFile = optionValue(arguments, i, seenOutput);
        else if (argument == "--solve") parsed.Solve = true;
        else if (argument.size() > 1 && argument[0] == '-') failUsage("unknown option " + argument);
        else parsed.Files.push_back(argument);
    }
    return parsed;
}

void completeOutput(TTableRequest& request, const TParsedArguments& parsed) {
    if (parsed.HasFormat) request.Format = parseFormat(parsed.Format);
    else if (request.OutputFile.extension() == kSpreadsheetFileExtension) request.Format = TTableFormat::Xlsx;
    if (request.Format != TTableFormat::Xlsx) return;
    if (request.OutputFile.empty()) failUsage("a workbook needs -o FILE" + std::string(kSpreadsheetFileExtension));
    if (!request.OutputFile.has_extension()) request.OutputFile += kSpreadsheetFileExtension;
}

// The table is written whatever the verdict: an unsolved network still shows
// its data, and the log on standard error says why its results are missing.
void solveAndReport(TNetwork& network, std::ostream& err) {
    std::vector<std::string> log;
    CalculateNetwork(network, log);
    for (const std::string& line : log) err << line << "\n";
}

}  // namespace

const std::vector<std::string>& TableNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const TTableKind& kind : kTableKinds) all.emplace_back(kind.Name);
        return all;
    }();
    return names;
}

TTableRequest ParseTableRequest(const std::vector<std::string>& arguments) {
    const TParsedArguments parsed = readArguments(arguments);
    if (parsed.Files.size() != 1) failUsage("give exactly one network file");
    if (parsed.TableName.empty()) failUsage("--table NAME is missing");
    if (findTableKind(parsed.TableName) == nullptr) failUsage("unknown table '" + parsed.TableName + "'");
    TTableRequest request;
    request.NetworkFile = parsed.Files[0];
    request.TableName = parsed.TableName;
    request.OutputFile = parsed.OutputFile;
    request.Solve = parsed.Solve;
    completeOutput(request, parsed);
    return request;
}

TMemoryGrid FillNetworkTable(const TNetwork& network, const std::string& tableName) {
    const TTableKind* kind = findTableKind(tableName);
    if (kind == nullptr) throw ETableCommand("unknown table '" + tableName + "'");
    TMemoryGrid grid(kind->GridColumns, 0);
    kind->Fill(network, grid);
    return grid;
}

void WriteNetworkTable(const TNetwork& network, const TTableRequest& request, std::ostream& out) {
    const TMemoryGrid grid = FillNetworkTable(network, request.TableName);
    const TTableKind* kind = findTableKind(request.TableName);
    if (request.Format == TTableFormat::Xlsx) {
        SaveGridAsSpreadsheet(grid, kind->SheetName, request.OutputFile);
        return;
    }
    const std::string csv = GridToCsv(grid);
    if (request.OutputFile.empty()) {
        out << csv;
        if (!out.flush()) throw ETableCommand("the table could not be written to standard output");
        return;
    }
    SafeSaveFile(request.OutputFile, csv);
}

int RunTableCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    TTableRequest request;
    try {
        request = ParseTableRequest(arguments);
    } catch (const ETableCommand& error) {
        err << kErrorPrefix << error.what() << "\n" << kUsage;
        return kExitBadInput;
    }
    const auto network = std::make_unique<TNetwork>();
    try {
        network->LoadFromFile(request.NetworkFile);
    } catch (const EVelmoraError& error) {
        err << kErrorPrefix << error.what() << "\n";
        return kExitBadInput;
    }
    try {
        if (request.Solve) solveAndReport(*network, err);
        WriteNetworkTable(*network, request, out);
    } catch (const EVelmoraError& error) {
        err << kErrorPrefix << error.what() << "\n";
        return kExitFailed;
    }
    return kExitSuccess;
}
