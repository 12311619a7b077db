#include "VM4_TableCommand.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <sstream>

#include "TableTestSupport.h"
#include "XlsxReader.h"
#include "common/TempFolder.h"
#include "foundations/VM4_Errors.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_Spreadsheet_Functions.h"

namespace {

// ---- Arguments ------------------------------------------------------------------------

struct TRequestCase {
    std::vector<std::string> Arguments;
    TTableFormat Format;
    std::string OutputFile;
};

void PrintTo(const TRequestCase& c, std::ostream* out) {
    for (const std::string& argument : c.Arguments) *out << argument << ' ';
}

class ParseTableRequestTest : public ::testing::TestWithParam<TRequestCase> {};

TEST_P(ParseTableRequestTest, ReadsFileTableFormatAndOutput) {
    const TTableRequest request = ParseTableRequest(GetParam().Arguments);
    EXPECT_EQ(request.NetworkFile, "plant.vme");
    EXPECT_EQ(request.TableName, "nodes");
    EXPECT_EQ(request.Format, GetParam().Format);
    EXPECT_EQ(request.OutputFile.string(), GetParam().OutputFile);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ParseTableRequestTest,
    ::testing::Values(
        TRequestCase{{"plant.vme", "--table", "nodes"}, TTableFormat::Csv, ""},
        TRequestCase{{"--table", "nodes", "plant.vme", "-o", "nodes.csv"}, TTableFormat::Csv, "nodes.csv"},
        // The extension of the output chooses the workbook when no format is given.
        TRequestCase{{"plant.vme", "--table", "nodes", "-o", "out/nodes.xlsx"}, TTableFormat::Xlsx,
                     "out/nodes.xlsx"},
        TRequestCase{{"plant.vme", "--table", "nodes", "--format", "xlsx", "-o", "nodes"}, TTableFormat::Xlsx,
                     "nodes.xlsx"},
        TRequestCase{{"plant.vme", "--format", "xlsx", "--table", "nodes", "-o", "nodes.book"}, TTableFormat::Xlsx,
                     "nodes.book"},
        // An explicit format wins over the extension.
        TRequestCase{{"plant.vme", "--table", "nodes", "--format", "csv", "-o", "nodes.xlsx"}, TTableFormat::Csv,
                     "nodes.xlsx"}));

TEST(ParseTableSolveOptionTest, SolveIsAskedForOnlyByItsOption) {
    EXPECT_TRUE(ParseTableRequest({"plant.vme", "--solve", "--table", "pipes"}).Solve);
    EXPECT_FALSE(ParseTableRequest({"plant.vme", "--table", "pipes"}).Solve);
}

TEST(ParseTableRequestErrorTest, RefusesIncompleteOrUnknownArguments) {
    const struct {
        std::vector<std::string> Arguments;
        const char* Reason;
    } cases[] = {
        {{"plant.vme"}, "--table NAME is missing"},
        {{"--table", "nodes"}, "give exactly one network file"},
        {{"a.vme", "b.vme", "--table", "nodes"}, "give exactly one network file"},
        {{"plant.vme", "--table", "node"}, "unknown table 'node'"},
        {{"plant.vme", "--table"}, "--table needs a value"},
        {{"plant.vme", "--table", "nodes", "--table", "pipes"}, "--table is given twice"},
        {{"plant.vme", "--table", "nodes", "--format", "ods", "-o", "x.ods"}, "unknown format 'ods' (csv or xlsx)"},
        {{"plant.vme", "--table", "nodes", "--format", "xlsx"}, "a workbook needs -o FILE.xlsx"},
        {{"plant.vme", "--table", "nodes", "--solved"}, "unknown option --solved"},
    };
    for (const auto& c : cases) {
        try {
            ParseTableRequest(c.Arguments);
            ADD_FAILURE() << "accepted: " << ::testing::PrintToString(c.Arguments);
        } catch (const ETableCommand& error) {
            EXPECT_STREQ(error.what(), c.Reason);
        }
    }
}

TEST(TableNamesTest, EveryNameOfTheCommandIsKnown) {
    const std::vector<std::string> expected = {"pipes",     "pipe-materials", "nodes",     "fluid",
                                               "pumps",     "fittings",       "all",       "pipe-data",
                                               "tank-data", "end-pressure-data", "joint-data"};
    EXPECT_EQ(TableNames(), expected);
}

// ---- Writing ---------------------------------------------------------------------------------

class WriteNetworkTableTest : public ::testing::Test {
protected:
    TTableRequest request(const std::string& table, TTableFormat format, const std::string& outputName = "") {
        TTableRequest result;
        result.NetworkFile = "plant.vme";
        result.TableName = table;
        result.Format = format;
        if (!outputName.empty()) result.OutputFile = folder / outputName;
        return result;
    }

    TTableNetwork t;
    TTempFolder folder;
};

TEST_F(WriteNetworkTableTest, CsvOfTheFluidGoesToStandardOutput) {
    std::ostringstream out;
    WriteNetworkTable(t.Network, request("fluid", TTableFormat::Csv), out);
    EXPECT_EQ(out.str(),
              ",Fluid Name,Chemical Formula,Temperature,Centistokes,Centipoise,Density,Vapour Pressure,State\r\n"
              ",,,\xC2\xB0" "C,,,kg/m\xC2\xB3,bar.a,\r\n"
              ",Water,H2O,20.000,1.000,1.002,998.000,0.024000,Liquid\r\n");
}

TEST_F(WriteNetworkTableTest, CsvQuotesTheInchSignAndKeepsEveryColumn) {
    std::ostringstream out;
    WriteNetworkTable(t.Network, request("pipes", TTableFormat::Csv), out);
    std::istringstream lines(out.str());
    std::string header, units, suction;
    std::getline(lines, header);
    std::getline(lines, units);
    std::getline(lines, suction);
    EXPECT_EQ(header.rfind("Pipe Id,Pipe Name,Material,Inner Diameter,", 0), 0u) << header;
    EXPECT_EQ(suction,
              "1,Suction,\"4\"\" Steel Sch. 40\",100.000,0.046,50.000,0.00,13.9720,0.0140,1.783,10.000,0.000,"
              "0.1957,1.1255,-0.9298,177913,Turbulent,0.019,1.554,none,none,none,none,none,none,none,"
              "Tank outlet see P&ID 12\r");
}

TEST_F(WriteNetworkTableTest, CsvToAFileLeavesStandardOutputAlone) {
    std::ostringstream out;
    WriteNetworkTable(t.Network, request("joint-data", TTableFormat::Csv, "joints.csv"), out);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(FileContents(folder / "joints.csv"),
              "Node Id,Node Type,Node,Elevation,In Flow Demand,Out Flow Demand,Node Notes\r\n"
              ",,,m,m\xC2\xB3/sec,m\xC2\xB3/sec,\r\n"
              "2,Join Point,N2,0.000,0.0010,0.0030,\r\n");
}

TEST_F(WriteNetworkTableTest, TheWorkbookHoldsThePipeResultsOnTheResultsSheet) {
    std::ostringstream out;
    WriteNetworkTable(t.Network, request("pipes", TTableFormat::Xlsx, "pipes.xlsx"), out);
    const TXlsxSheet sheet = ReadXlsxFirstSheet(folder / "pipes.xlsx");
    EXPECT_EQ(sheet.SheetNames, std::vector<std::string>{"Velmora Studio - Results"});
    EXPECT_EQ(sheet.Shown("A1"), "Pipe Id");
    EXPECT_EQ(sheet.Shown("I2"), "m\xC2\xB3/sec");
    EXPECT_EQ(sheet.Shown("C3"), "4\" Steel Sch. 40");
    EXPECT_EQ(sheet.Shown("H3"), "13.9720");
    EXPECT_EQ(sheet.Shown("J4"), "*6.017 (Flow Velocity is high)");
    EXPECT_EQ(sheet.Shown("AA3"), "Tank outlet see P&ID 12");
    EXPECT_EQ(sheet.Shown("C6"), "Closed.  4\" Steel Sch. 40");
    EXPECT_EQ(sheet.Shown("A7"), "");
    // All 27 columns 14 characters wide (stored with the cell padding, 14.71).
    ASSERT_EQ(sheet.ColumnWidths.size(), 1u);
    EXPECT_EQ(sheet.ColumnWidths[0].First, 1);
    EXPECT_EQ(sheet.ColumnWidths[0].Last, 27);
    EXPECT_NEAR(sheet.ColumnWidths[0].Width, 14.71, 0.01);
    EXPECT_EQ(out.str(), "");
}

TEST_F(WriteNetworkTableTest, EveryTableMakesAWorkbookWithAValidSheetName) {
    const struct {
        const char* Table;
        const char* SheetName;
        const char* Cell;
        const char* Text;
    } cases[] = {
        {"pipes", "Velmora Studio - Results", "A1", "Pipe Id"},
        {"pipe-materials", "Velmora Studio - Results", "L1", "Surface Area"},
        {"nodes", "Velmora Studio - Results", "H1", "HGL at Node"},
        {"fluid", "Velmora Studio - Results", "B3", "Water"},
        {"pumps", "Velmora Studio - Results", "C4", "Booster"},
        {"fittings", "Velmora Studio - Results", "D5", "Pipe entrance, sharp"},
        {"all", "Velmora Studio - Results", "B28", "Node Results"},
        {"pipe-data", "Velmora Studio - Pipe Data", "C3", "4\""},
        {"tank-data", "Velmora Studio - Tank Data", "F3", "0.0000"},
        {"end-pressure-data", "Velmora Studio - End Pressures", "E3", "0.5000"},
        {"joint-data", "Velmora Studio - Join Points", "F3", "0.0030"},
    };
    std::ostringstream out;
    for (const auto& c : cases) {
        const std::string fileName = std::string(c.Table) + ".xlsx";
        WriteNetworkTable(t.Network, request(c.Table, TTableFormat::Xlsx, fileName), out);
        const TXlsxSheet sheet = ReadXlsxFirstSheet(folder / fileName);
        EXPECT_EQ(sheet.SheetNames, std::vector<std::string>{c.SheetName}) << c.Table;
        EXPECT_EQ(sheet.Shown(c.Cell), c.Text) << c.Table;
    }
}

TEST_F(WriteNetworkTableTest, AnOutputInAMissingFolderRaisesAndWritesNothing) {
    std::ostringstream out;
    for (const TTableFormat format : {TTableFormat::Csv, TTableFormat::Xlsx}) {
        EXPECT_THROW(WriteNetworkTable(t.Network, request("nodes", format, "missing/nodes.out"), out), EVelmoraError);
    }
    EXPECT_EQ(FolderListing(folder.Path()), "");
}

}  // namespace

// ---- The command ---------------------------------------------------------------------------

// Records of RFC 4180 text: fields split at commas outside quotes, "" inside
// quotes standing for one quote, records ending with CR LF.
std::vector<std::vector<std::string>> ParseCsvRows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') field += csv[++i];
            else if (c == '"') quoted = false;
            else field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',' || c == '\r') {
            rows.back().push_back(field);
            field.clear();
            if (c == '\r') rows.emplace_back();
        } else if (c != '\n') {
            field += c;
        }
    }
    rows.pop_back();  // after the last CR LF
    return rows;
}

class RunTableCommandTest : public ::testing::Test {
protected:
    RunTableCommandTest() { t.Network.SaveToFile(networkFile); }

    int run(const std::vector<std::string>& arguments) { return RunTableCommand(arguments, out, err); }

    TTableNetwork t;
    TTempFolder folder;
    const std::filesystem::path networkFile = folder / "plant.vme";
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(RunTableCommandTest, LoadsTheFileAndWritesTheTableWithItsSavedResults) {
    EXPECT_EQ(run({networkFile.string(), "--table", "nodes"}), 0);
    EXPECT_EQ(err.str(), "");
    std::istringstream lines(out.str());
    std::string line;
    for (int i = 0; i < 4; ++i) std::getline(lines, line);
    // The fourth line is the join point, with the results saved in the file.
    EXPECT_EQ(line, "2,Join Point,N2,0.000,N/A,N/A,1.1255,11.500,0.0010,0.0030,0.0150,0.0150,\r");
}

TEST_F(RunTableCommandTest, AWorkbookWrittenByTheCommandReadsBack) {
    const auto workbook = folder / "nodes.xlsx";
    EXPECT_EQ(run({networkFile.string(), "--table", "nodes", "-o", workbook.string()}), 0);
    EXPECT_EQ(out.str(), "");
    const TXlsxSheet sheet = ReadXlsxFirstSheet(workbook);
    EXPECT_EQ(sheet.SheetNames, std::vector<std::string>{"Velmora Studio - Results"});
    const std::map<std::string, std::string> expected = {
        {"A1", "Node Id"}, {"H2", "m.hd Fluid"}, {"A4", "2"},       {"B4", "Join Point"}, {"C4", "N2"},
        {"D4", "0.000"},   {"E4", "N/A"},        {"F4", "N/A"},     {"G4", "1.1255"},     {"H4", "11.500"},
        {"I4", "0.0010"},  {"J4", "0.0030"},     {"K4", "0.0150"},  {"L4", "0.0150"},     {"M3", "Supply tank north yard"}};
    for (const auto& [cell, text] : expected) EXPECT_EQ(sheet.Shown(cell), text) << cell;
    EXPECT_EQ(sheet.Shown("M4"), "");
    // A spreadsheet can sum the flows: they are numbers, the "N/A" and the units are texts.
    for (const char* cell : {"A4", "D4", "G4", "K4", "L4"}) EXPECT_EQ(sheet.Numbers.count(cell), 1u) << cell;
    for (const char* cell : {"E4", "H2", "C4"}) EXPECT_EQ(sheet.Cells.count(cell), 1u) << cell;
}

// Every table, cell by cell: what reads as a plain number (by a pattern of its
// own, not the writer's) is a number cell shown as the table shows it; every
// other text is a text cell holding exactly the table's text.
TEST_F(RunTableCommandTest, EveryNumberOfEveryTableIsANumberCell) {
    const std::regex plainNumber(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?)");
    // The tables as the command fills them: from the file, without what it does not keep.
    const auto loaded = std::make_unique<TNetwork>();
    loaded->LoadFromFile(networkFile);
    for (const std::string& table : TableNames()) {
        const auto workbook = folder / (table + ".xlsx");
        ASSERT_EQ(run({networkFile.string(), "--table", table, "-o", workbook.string()}), 0) << err.str();
        const TXlsxSheet sheet = ReadXlsxFirstSheet(workbook);
        TTableRequest csv;
        csv.TableName = table;
        std::ostringstream csvText;
        WriteNetworkTable(*loaded, csv, csvText);
        const std::vector<std::vector<std::string>> rows = ParseCsvRows(csvText.str());
        std::size_t numbers = 0;
        std::size_t written = 0;
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                const std::string& text = rows[r][c];
                const std::string cell = SpreadsheetCellName(static_cast<int>(r) + 1, static_cast<int>(c) + 1);
                if (text.empty()) continue;
                ++written;
                const bool isNumber = std::regex_match(text, plainNumber);
                numbers += isNumber ? 1 : 0;
                EXPECT_EQ(sheet.Numbers.count(cell), isNumber ? 1u : 0u) << table << " " << cell << " " << text;
                EXPECT_EQ(sheet.Shown(cell), text) << table << " " << cell;
            }
        EXPECT_GT(numbers, 0u) << table;
        EXPECT_EQ(sheet.Cells.size() + sheet.Numbers.size(), sheet.CellElementCount) << table;
        EXPECT_EQ(sheet.CellElementCount, written) << table;
    }
}

TEST_F(RunTableCommandTest, AFileThatDoesNotLoadGivesExitCodeTwo) {
    WriteFileContents(folder / "broken.vme", "not a network");
    EXPECT_EQ(run({(folder / "broken.vme").string(), "--table", "pipes"}), 2);
    EXPECT_EQ(err.str().rfind("velmora-cli table: ", 0), 0u) << err.str();
    EXPECT_EQ(out.str(), "");
}

TEST_F(RunTableCommandTest, AnUnwritableWorkbookGivesExitCodeOneAndNoFile) {
    const auto workbook = folder / "no such folder" / "pipes.xlsx";
    EXPECT_EQ(run({networkFile.string(), "--table", "pipes", "-o", workbook.string()}), 1);
    EXPECT_EQ(err.str().rfind("velmora-cli table: SaveGridAsSpreadsheet Failed: Could not save ", 0), 0u)
        << err.str();
    EXPECT_EQ(FolderListing(folder.Path()), "plant.vme\n");
}

TEST_F(RunTableCommandTest, ArgumentsNotUnderstoodGiveExitCodeTwoAndTheUsage) {
    EXPECT_EQ(run({networkFile.string(), "--table", "valves"}), 2);
    EXPECT_EQ(err.str().rfind("velmora-cli table: unknown table 'valves'\nUsage: velmora-cli table FILE.vme", 0), 0u)
        << err.str();
    EXPECT_EQ(out.str(), "");
}
