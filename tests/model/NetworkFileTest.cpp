// Saving and loading whole networks: sizes, byte-identical round trips, files
// written by the independent writer (tests/tools/write_vme.py), and the file forms.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/FuzzyCompare.h"
#include "common/FullNetwork.h"
#include "common/TempFolder.h"
#include "foundations/VM4_BinaryStream.h"
#include "model/VM4_Network_Class.h"

namespace {

// Record sizes of the layout.
constexpr std::size_t kHeaderSize = 83;
constexpr std::size_t kFluidSize = 169;
constexpr std::size_t kNodeEntrySize = 4 + 316 + 4;  // id, record, link word
constexpr std::size_t kPipeRecordSize = 1727;
constexpr std::size_t kFittingEntrySize = 176;
constexpr std::size_t kLinkSize = 12;
constexpr std::size_t kLoopSize = 4000;
constexpr std::size_t kSettingsSize = 123;
constexpr std::size_t kFreeTextSize = 272;
// 83 + 1 + 169 + 4 + 4 + 4 + 4 + 4 + 123 + 1727 + 4
constexpr std::size_t kEmptyFileSize = 2127;

std::filesystem::path generatedFile(const std::string& name) {
    return std::filesystem::path(VELMORA_GENERATED_DATA_DIR) / name;
}

std::string generatedBytes(const std::string& name) {
    const std::string bytes = FileContents(generatedFile(name));
    if (bytes.empty()) ADD_FAILURE() << "missing generated file " << name;
    return bytes;
}

std::int32_t int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The document is large; tests keep it on the heap as the editor does.
class NetworkFileTest : public ::testing::Test {
protected:
    std::unique_ptr<TNetwork> network = std::make_unique<TNetwork>();
};

TEST_F(NetworkFileTest, EmptyNetworkIsTheIndependentWritersEmptyFile) {
    const std::string saved = network->SaveToBytes();
    EXPECT_EQ(saved.size(), kEmptyFileSize);
    EXPECT_EQ(saved, generatedBytes("empty.vme"));
}

// The writer's files are built from the layout alone; reading and writing them
// again must reproduce every byte.
class IndependentFileRoundTrip : public NetworkFileTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(IndependentFileRoundTrip, LoadsAndSavesToIdenticalBytes) {
    const std::string written = generatedBytes(GetParam());
    network->LoadFromBytes(written);
    EXPECT_EQ(network->SaveToBytes(), written);
}

INSTANTIATE_TEST_SUITE_P(WriterSamples, IndependentFileRoundTrip, ::testing::Values("empty.vme", "sample.vme"));

TEST_F(NetworkFileTest, OlderVersionIsSavedAsCurrentVersionWithEverythingElseKept) {
    network->LoadFromBytes(generatedBytes("sample_v110.vme"));
    EXPECT_EQ(network->FileHeader.VersionReference(), "1.10");
    EXPECT_EQ(network->SaveToBytes(), generatedBytes("sample.vme"));
    EXPECT_EQ(network->FileHeader.VersionReference(), "1.11");
}

// Values as write_vme.py's sample_network() defines them.
TEST_F(NetworkFileTest, SampleLoadsIntoTheSameIdsTablesAndValues) {
    network->LoadFromBytes(generatedBytes("sample.vme"));

    std::vector<std::int32_t> nodeIds;
    for (std::int32_t id = network->GetNextNodeId(0); id != -1; id = network->GetNextNodeId(id)) nodeIds.push_back(id);
    EXPECT_EQ(nodeIds, (std::vector<std::int32_t>{3, 7, 12, 1000}));
    const TNode& tank = network->GetNode(3);
    EXPECT_EQ(tank.Name, "T-1 Vorlage");
    EXPECT_EQ(tank.NodeType, TNodeType::Tank);
    EXPECT_EQ(tank.Elevation_m, 12.5);
    EXPECT_EQ(tank.Notes, (std::vector<std::string>{"Atmospheric tank", "Level from LT-1"}));
    EXPECT_EQ(network->GetNode(12).Name, "Abnehmer S\u00fcd");

    EXPECT_EQ(network->GetPipeCount(), 4);
    const TPipe& suction = network->GetPipe(5);
    EXPECT_EQ(suction.Name, "Saugleitung");
    EXPECT_EQ(suction.Fittings.Count(), 2);
    EXPECT_EQ(suction.GetFittingCountIncludingQuantities(), 4);  // 3 bends + 1 valve
    EXPECT_TRUE(suction.HasPump);
    EXPECT_EQ(suction.Pump.PointCount(), 4);
    EXPECT_EQ(network->GetPipe(9).ComponentPressure.Name(), "Plate HX E-3");

    ASSERT_EQ(network->GetNodeLinkCount(), 3);
    EXPECT_EQ(network->GetNodeLink(1), (TNodeLink{3, 7, 5}));
    EXPECT_EQ(network->GetNodeLink(3), (TNodeLink{7, 1000, 2}));
    ASSERT_EQ(network->GetClosedPipeLinkCount(), 1);
    EXPECT_EQ(network->GetNodeLinkClosedPipe(1), (TNodeLink{1000, 12, 1000}));

    EXPECT_EQ(network->Fluid.Name, "Glykol 30 % \u2013 K\u00fchlkreis");
    EXPECT_EQ(network->Settings.LengthUnit, 2);  // ft: the sample is imperial
    EXPECT_FALSE(network->Settings.GaugePressure);
    EXPECT_EQ(network->DefaultPipe.Fittings.Count(), 1);
    ASSERT_EQ(network->GetFreeTextCount(), 2);
    EXPECT_EQ(network->GetFreeText(1).Text,
              (std::vector<std::string>{"K\u00fchlwasserkreis", "Stand 2024 \u2013 Rev. B"}));
}

TEST_F(NetworkFileTest, LoopsKeepTheirPipeIdsButTheirPipeCountsStartAtZero) {
    network->LoadFromBytes(generatedBytes("sample.vme"));
    ASSERT_EQ(network->GetPipeLoopCount(), 2);
    EXPECT_EQ(network->GetPipeLoopPipe(2, 1), 2);
    EXPECT_EQ(network->GetPipeLoopPipe(2, 2), 1000);
    EXPECT_EQ(network->GetPipeLoopPipe(2, 3), 9);
    EXPECT_EQ(network->GetPipeLoopPipe(2, 4), 0);
    EXPECT_EQ(network->GetPipeLoopPipeCount(1), 0);
    EXPECT_EQ(network->GetPipeLoopPipeCount(2), 0);
}

TEST_F(NetworkFileTest, SavedIdsAreUsedAgainAndTheFreeIdsStayAscending) {
    for (int i = 0; i < 7; ++i) AddNodeAt(*network, 0, 10 * i, 0);
    for (std::int32_t id : {1, 2, 4, 5, 6}) network->RemoveNode(id);
    auto loaded = std::make_unique<TNetwork>();
    loaded->LoadFromBytes(network->SaveToBytes());
    EXPECT_EQ(loaded->GetNodeCount(), 2);
    EXPECT_EQ(loaded->GetNextNodeId(0), 3);
    EXPECT_EQ(loaded->GetNextNodeId(3), 7);
    EXPECT_EQ(AddNodeAt(*loaded, 0, 0, 0), 1);
    EXPECT_EQ(AddNodeAt(*loaded, 0, 0, 0), 2);
    EXPECT_EQ(AddNodeAt(*loaded, 0, 0, 0), 4);
}

TEST_F(NetworkFileTest, EveryPartTakesItsRecordSize) {
    const std::int32_t from = AddNodeAt(*network, 1, 0, 0);
    const std::int32_t to = AddNodeAt(*network, 0, 100, 0);
    TPipe pipe;
    TFitting bend;
    bend.SetFittingData(100, 2, "PRad", "100 mm", "4\"", "Bend", 0.43);
    pipe.Fittings.AddFitting(bend, 3);
    pipe.Fittings.AddFitting(bend, 1);
    network->AddPipeLink(from, to, pipe);
    network->AddFreeText({"label"}, 0, 0, 0, 7, 0);

    const std::size_t pipeEntry = 4 + kPipeRecordSize + 2 * kFittingEntrySize + 4;  // 1727 + 352 for two types
    EXPECT_EQ(network->SaveToBytes().size(),
              kEmptyFileSize + 2 * kNodeEntrySize + pipeEntry + kLinkSize + kFreeTextSize);
}

TEST_F(NetworkFileTest, FullNetworkRoundTripsToIdenticalBytes) {
    BuildFullNetwork(*network);
    const std::string saved = network->SaveToBytes();
    // 1000 pipes with 5 fitting types each, 1000 loops, 100 free texts, default pipe without fittings.
    const std::size_t pipeEntry = 4 + kPipeRecordSize + 5 * kFittingEntrySize + 4;
    EXPECT_EQ(saved.size(), kEmptyFileSize + 1000 * kNodeEntrySize + 1000 * pipeEntry + 1000 * kLinkSize +
                                1000 * kLoopSize + 100 * kFreeTextSize);
    auto loaded = std::make_unique<TNetwork>();
    loaded->LoadFromBytes(saved);
    EXPECT_EQ(loaded->GetPipeLoopCount(), 1000);
    EXPECT_EQ(loaded->SaveToBytes(), saved);
}

// Pipe record offsets (no fittings): the component's name copy follows
// name 21, 3 doubles 24, material 41, size class 4, 3 texts 63, 3 doubles 24,
// file name 101, 8 + 4 + 4 + 8 + 8, calc byte 1, fitting count 4, 8 + 4 + 4,
// HasComponentPressure 4 and its calc byte 1: 336 bytes in; the record's own name 21 later.
TEST_F(NetworkFileTest, ComponentNameIsWrittenTwiceFromTheSameName) {
    const std::int32_t from = AddNodeAt(*network, 1, 0, 0);
    const std::int32_t to = AddNodeAt(*network, 0, 100, 0);
    TPipe pipe;
    pipe.HasComponentPressure = true;
    pipe.ComponentPressure.SetName("Filter F-2");
    network->AddPipeLink(from, to, pipe);
    const std::string saved = network->SaveToBytes();

    const std::size_t pipeRecord = kHeaderSize + 1 + kFluidSize + 4 + 2 * kNodeEntrySize + 4 + 4;
    const std::string expected = std::string(1, '\x0A') + "Filter F-2";
    EXPECT_EQ(saved.substr(pipeRecord + 336, 11), expected);
    EXPECT_EQ(saved.substr(pipeRecord + 357, 11), expected);
}

TEST_F(NetworkFileTest, LoadingResetsWhatTheFileDoesNotHold) {
    network->SetImperialUnits();
    network->Settings.ShowPipeId = true;
    network->Fluid.Name = "Brine";
    AddNodeAt(*network, 0, 0, 0);
    network->LoadFromBytes(generatedBytes("empty.vme"));
    EXPECT_EQ(network->GetNodeCount(), 0);
    EXPECT_EQ(network->Settings.LengthUnit, 0);  // metric again: the file's settings
    EXPECT_FALSE(network->Settings.ShowPipeId);
    EXPECT_EQ(network->Fluid.Name, "Water");
}

TEST_F(NetworkFileTest, SavingTwiceGivesIdenticalBytesWithTheCurrentVersion) {
    network->FileHeader.SetData("0.99", "old.vme", "2001-01-01");
    AddNodeAt(*network, 1, 5, 5);
    const std::string first = network->SaveToBytes();
    EXPECT_EQ(first, network->SaveToBytes());
    EXPECT_EQ(first.substr(0, 5), std::string("\x04" "1.11", 5));
    EXPECT_EQ(first[25], '\0');  // file name written empty
    EXPECT_EQ(first[66], '\0');  // file date written empty
}

struct TTextCase {
    const char* Description;
    std::string Written;
    std::string ReadBack;
};

// Texts travel as Windows-1252: what it cannot hold comes back as "?", and a
// name longer than its 20 characters comes back cut.
void PrintTo(const TTextCase& textCase, std::ostream* out) { *out << textCase.Description; }

class NodeNameTextTest : public NetworkFileTest, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(NodeNameTextTest, ComesBackAsWindows1252AllowsIt) {
    const std::int32_t id = AddNodeAt(*network, 0, 0, 0);
    network->GetNode(id).Name = GetParam().Written;
    network->LoadFromBytes(network->SaveToBytes());
    EXPECT_EQ(network->GetNode(id).Name, GetParam().ReadBack);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NodeNameTextTest,
    ::testing::Values(TTextCase{"Latin-1 and euro kept", "D\u00fcse \u20ac5", "D\u00fcse \u20ac5"},
                      TTextCase{"CJK becomes ?", "Pump \u6cf5", "Pump ?"},
                      TTextCase{"emoji becomes ?", "Tank \U0001F600", "Tank ?"},
                      TTextCase{"cut to 20 characters", "\u00c4bcdefghijklmnopqrstuvwxyz",
                                "\u00c4bcdefghijklmnopqrst"}));

TEST_F(NetworkFileTest, NotesKeepTheirFirst200CharactersWithLineBreaks) {
    const std::int32_t id = AddNodeAt(*network, 0, 0, 0);
    // 3 lines of 90 characters: 90 + 2 + 90 + 2 + 16 = 200 characters survive.
    network->GetNode(id).Notes = {std::string(90, 'a'), std::string(90, 'b'), std::string(90, 'c')};
    network->LoadFromBytes(network->SaveToBytes());
    EXPECT_EQ(network->GetNode(id).Notes,
              (std::vector<std::string>{std::string(90, 'a'), std::string(90, 'b'), std::string(16, 'c')}));
}

// ---- File forms ----------------------------------------------------------------------

TEST_F(NetworkFileTest, SaveToFileReplacesAnExistingFileWhole) {
    TTempFolder folder;
    const auto path = folder / "net.vme";
    WriteFileContents(path, std::string(50000, 'x'));
    AddNodeAt(*network, 1, 1, 1);
    network->SaveToFile(path);
    EXPECT_EQ(FileContents(path), network->SaveToBytes());
    EXPECT_EQ(FolderListing(folder.Path()), "net.vme\n");
}

TEST_F(NetworkFileTest, FailedSaveRaisesAndLeavesTheFolderAsItWas) {
    TTempFolder folder;
    // A folder of the target's name cannot be replaced by a file.
    std::filesystem::create_directory(folder / "net.vme");
    WriteFileContents(folder / "net.vme" / "keep.txt", "kept");
    try {
        network->SaveToFile(folder / "net.vme");
        FAIL() << "saving over a folder succeeded";
    } catch (const ENetworkClass& error) {
        EXPECT_EQ(std::string(error.what()).rfind("TNetwork.SaveToFile Failed: ", 0), 0u) << error.what();
    }
    EXPECT_EQ(FolderListing(folder.Path()), "net.vme\n");
    EXPECT_EQ(FileContents(folder / "net.vme" / "keep.txt"), "kept");
}

TEST_F(NetworkFileTest, LoadFromFileReadsWhatSaveToFileWrote) {
    TTempFolder folder;
    network->LoadFromBytes(generatedBytes("sample.vme"));
    network->SaveToFile(folder / "copy.vme");
    auto loaded = std::make_unique<TNetwork>();
    loaded->LoadFromFile(folder / "copy.vme");
    EXPECT_EQ(loaded->SaveToBytes(), generatedBytes("sample.vme"));
}

TEST_F(NetworkFileTest, UnreadableFileLeavesTheDocumentAsItWas) {
    TTempFolder folder;
    AddNodeAt(*network, 1, 1, 1);
    const auto missing = folder / "missing.vme";
    try {
        network->LoadFromFile(missing);
        FAIL() << "loading a missing file succeeded";
    } catch (const ENetworkClass& error) {
        EXPECT_EQ(std::string(error.what()),
                  "TNetwork.LoadFromFile Failed: " + missing.string() + ": cannot read the file");
    }
    EXPECT_EQ(network->GetNodeCount(), 1);
}

TEST_F(NetworkFileTest, InvalidFileNamesTheFileAndLeavesTheDocumentCleared) {
    TTempFolder folder;
    const auto path = folder / "short.vme";
    // The fluid's name starts at byte 84: its length byte, then 15 of its 80 characters.
    WriteFileContents(path, generatedBytes("sample.vme").substr(0, 100));
    network->LoadFromBytes(generatedBytes("sample.vme"));
    try {
        network->LoadFromFile(path);
        FAIL() << "loading a truncated file succeeded";
    } catch (const ENetworkClass& error) {
        EXPECT_EQ(std::string(error.what()),
                  "TNetwork.LoadFromFile Failed: " + path.string() +
                      ": fluid: unexpected end of data (80 bytes needed, 15 left) at byte 85");
    }
    EXPECT_EQ(network->GetNodeCount(), 0);
    EXPECT_EQ(network->GetPipeCount(), 0);
}

// ---- Pump and component files --------------------------------------------------------

TEST(StandAloneRecordFiles, PumpFileOfTheIndependentWriterSavesToIdenticalBytes) {
    TTempFolder folder;
    TPump pump;
    pump.LoadFromFile(generatedFile("pump.vmpm"));
    EXPECT_EQ(pump.Name(), "Kreiselpumpe P-101");
    EXPECT_EQ(pump.PointCount(), 4);
    EXPECT_EQ(pump.CurveCount(), 2);
    pump.SaveToFile(folder / "copy.vmpm");
    EXPECT_EQ(FileContents(folder / "copy.vmpm"), generatedBytes("pump.vmpm"));
}

TEST(StandAloneRecordFiles, ComponentFileOfTheIndependentWriterSavesToIdenticalBytes) {
    TTempFolder folder;
    TComponentPressure component;
    component.LoadFromFile(generatedFile("component.vmco"));
    EXPECT_EQ(component.Name(), "Plate HX E-3");
    EXPECT_EQ(component.PointCount(), 3);
    component.SaveToFile(folder / "copy.vmco");
    EXPECT_EQ(FileContents(folder / "copy.vmco"), generatedBytes("component.vmco"));
}

// The writer's pump pieces are its own quadratic fit: the C++ fit must agree.
TEST(StandAloneRecordFiles, PumpPiecesOfTheIndependentWriterMatchOurFit) {
    TPump loaded;
    loaded.LoadFromFile(generatedFile("pump.vmpm"));
    TPump refitted;
    refitted.CopyPump(loaded);
    refitted.calcPumpCurves();
    for (int piece = 1; piece <= loaded.CurveCount(); ++piece) {
        EXPECT_REL_NEAR(refitted.Curve(piece).A, loaded.Curve(piece).A, 1e-9);
        EXPECT_REL_NEAR(refitted.Curve(piece).B, loaded.Curve(piece).B, 1e-9);
        EXPECT_REL_NEAR(refitted.Curve(piece).C, loaded.Curve(piece).C, 1e-9);
    }
}

}  // namespace
