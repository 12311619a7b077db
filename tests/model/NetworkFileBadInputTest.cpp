// A network file is untrusted input: every kind of damage must be refused with
// an error naming what and where, and must leave the document cleared.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "common/FullNetwork.h"
#include "common/TempFolder.h"
#include "model/VM4_Network_Class.h"

namespace {

// Offsets in the file of the small network built below: two nodes, one pipe with
// one fitting type, one open link, no closed link, one loop, one free text.
constexpr std::size_t kNodeCount = 253;                   // 83 header + 1 reserved + 169 fluid
constexpr std::size_t kFirstNodeId = 257;                 // after the node count
constexpr std::size_t kFirstNodeName = 261;               // after the id
constexpr std::size_t kFirstNodeType = 282;               // after the 21-byte name
constexpr std::size_t kSecondNodeId = 581;                // 257 + 4 + 316 + 4
constexpr std::size_t kSecondNodeName = 585;
constexpr std::size_t kPipeCount = 905;                   // 581 + 324
constexpr std::size_t kPipeId = 909;
constexpr std::size_t kPipeRecord = 913;
constexpr std::size_t kFittingCount = kPipeRecord + 311;  // 1224: after 311 bytes of pipe data
// The pump record starts 772 bytes into a pipe record with one fitting type
// (315 + 176 fittings + 16 + 5 + 21 + 168 component + 16 + 5 + 21 + 24 + 5), and
// its point count 58 bytes into the pump record.
constexpr std::size_t kPumpRecord = kPipeRecord + 772;  // 1685
constexpr std::size_t kPumpPointCount = kPumpRecord + 58;
constexpr std::size_t kOpenLinkCount = 2820;              // 913 + 1727 + 176 + 4
constexpr std::size_t kOpenLink = 2824;
constexpr std::size_t kClosedLinkCount = 2836;
constexpr std::size_t kLoopCount = 2840;
constexpr std::size_t kFirstLoopSlot = 2844;
constexpr std::size_t kSettings = 6844;                   // 2844 + 4000
constexpr std::size_t kAtmosphereUnit = kSettings + 9;    // after GaugePressure 1 and AtmosphericPressure 8
constexpr std::size_t kFreeTextCount = 8694;              // 6844 + 123 + 1727
constexpr std::size_t kFileSize = 8970;                   // 8694 + 4 + 272

std::string buildSmallFile() {
    auto network = std::make_unique<TNetwork>();
    const std::int32_t tank = AddNodeAt(*network, 1, 0, 0);
    const std::int32_t join = AddNodeAt(*network, 0, 100, 0);
    TPipe pipe;
    TFitting bend;
    bend.SetFittingData(100, 2, "PRad", "100 mm", "4\"", "Bend", 0.43);
    pipe.Fittings.AddFitting(bend, 2);
    const std::int32_t pipeId = network->AddPipeLink(tank, join, pipe);
    network->PipeLoopAddPipe(network->PipeLoopCreate(), pipeId);
    network->AddFreeText({"label"}, 10, 10, 0, 7, 0);
    return network->SaveToBytes();
}

const std::string& smallFile() {
    static const std::string bytes = buildSmallFile();
    return bytes;
}

std::int32_t int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

using TCorruption = std::function<void(std::string&)>;

TCorruption setInt32(std::size_t offset, std::int32_t value) {
    return [=](std::string& bytes) { std::memcpy(bytes.data() + offset, &value, sizeof value); };
}

TCorruption setByte(std::size_t offset, std::uint8_t value) {
    return [=](std::string& bytes) { bytes[offset] = static_cast<char>(value); };
}

TCorruption cutTo(std::size_t size) {
    return [=](std::string& bytes) { bytes.resize(size); };
}

// A closed link for the pipe that is linked already as open.
TCorruption addClosedLinkOfOpenPipe() {
    return [](std::string& bytes) {
        std::string link(12, '\0');
        const std::int32_t entry[3] = {2, 1, 1};
        std::memcpy(link.data(), entry, sizeof entry);
        setInt32(kClosedLinkCount, 1)(bytes);
        bytes.insert(kClosedLinkCount + 4, link);
    };
}

TEST(SmallFileLayout, OffsetsUsedByTheCasesPointWhereTheyShould) {
    const std::string& bytes = smallFile();
    ASSERT_EQ(bytes.size(), kFileSize);
    EXPECT_EQ(int32At(bytes, kNodeCount), 2);
    EXPECT_EQ(int32At(bytes, kFirstNodeId), 1);
    EXPECT_EQ(bytes.substr(kFirstNodeName, 3), std::string("\x02N1", 3));
    EXPECT_EQ(bytes[kFirstNodeType], 1);
    EXPECT_EQ(int32At(bytes, kSecondNodeId), 2);
    EXPECT_EQ(int32At(bytes, kPipeCount), 1);
    EXPECT_EQ(int32At(bytes, kPipeId), 1);
    EXPECT_EQ(int32At(bytes, kFittingCount), 1);
    EXPECT_EQ(int32At(bytes, kPumpPointCount), 0);
    EXPECT_EQ(bytes.substr(kPumpRecord, 5), std::string("\x04Pump", 5));
    EXPECT_EQ(int32At(bytes, kOpenLinkCount), 1);
    EXPECT_EQ(int32At(bytes, kOpenLink + 8), 1);
    EXPECT_EQ(int32At(bytes, kClosedLinkCount), 0);
    EXPECT_EQ(int32At(bytes, kLoopCount), 1);
    EXPECT_EQ(int32At(bytes, kFirstLoopSlot), 1);
    EXPECT_EQ(bytes[kAtmosphereUnit], 60);
    EXPECT_EQ(int32At(bytes, kFreeTextCount), 1);
}

struct TBadInputCase {
    const char* Name;
    TCorruption Corrupt;
    // The whole message, or (when MessageEnd is set) how it starts and ends:
    // messages of the record readers are theirs, the section and offset are ours.
    std::string MessageStart;
    std::string MessageEnd;
    // When set, the message must also contain this.
    std::string MessagePart = "";
};

void PrintTo(const TBadInputCase& badInput, std::ostream* out) { *out << badInput.Name; }

class BadNetworkFile : public ::testing::TestWithParam<TBadInputCase> {
protected:
    // The document holds a network before the bad load, so that a half-done load would show.
    void SetUp() override {
        network->LoadFromBytes(smallFile());
        network->SetImperialUnits();
    }

    void expectCleared() const {
        EXPECT_EQ(network->GetNodeCount(), 0);
        EXPECT_EQ(network->GetPipeCount(), 0);
        EXPECT_EQ(network->GetNodeLinkCount(), 0);
        EXPECT_EQ(network->GetClosedPipeLinkCount(), 0);
        EXPECT_EQ(network->GetPipeLoopCount(), 0);
        EXPECT_EQ(network->GetFreeTextCount(), 0);
        EXPECT_EQ(network->Settings.LengthUnit, 0);  // metric, as after Clear
        EXPECT_EQ(AddNodeAt(*network, 0, 0, 0), 1);
    }

    std::unique_ptr<TNetwork> network = std::make_unique<TNetwork>();
};

TEST_P(BadNetworkFile, IsRefusedWithItsReasonAndLeavesTheDocumentCleared) {
    std::string bytes = smallFile();
    GetParam().Corrupt(bytes);
    try {
        network->LoadFromBytes(bytes);
        FAIL() << "the damaged file was loaded";
    } catch (const ENetworkClass& error) {
        const std::string message = error.what();
        if (GetParam().MessageEnd.empty() && GetParam().MessagePart.empty()) {
            EXPECT_EQ(message, GetParam().MessageStart);
        } else {
            EXPECT_EQ(message.rfind(GetParam().MessageStart, 0), 0u) << message;
            EXPECT_TRUE(message.ends_with(GetParam().MessageEnd)) << message;
        }
        EXPECT_NE(message.find(GetParam().MessagePart), std::string::npos) << message;
    }
    expectCleared();
}

const std::string kFailed = "TNetwork.Load Failed: ";

INSTANTIATE_TEST_SUITE_P(
    Counts, BadNetworkFile,
    ::testing::Values(
        TBadInputCase{"NegativeNodeCount", setInt32(kNodeCount, -1),
                      kFailed + "node set: node count -1 is not 0..1000 at byte 253", ""},
        TBadInputCase{"NodeCountAboveThePool", setInt32(kNodeCount, 1001),
                      kFailed + "node set: node count 1001 is not 0..1000 at byte 253", ""},
        TBadInputCase{"NegativePipeCount", setInt32(kPipeCount, -7), kFailed + "pipe set: ", " at byte 905"},
        TBadInputCase{"PipeCountAboveThePool", setInt32(kPipeCount, 1001), kFailed + "pipe set: ", " at byte 905"},
        TBadInputCase{"FittingCountAboveFive", setInt32(kFittingCount, 6), kFailed + "pipe set: ", " at byte 1224"},
        TBadInputCase{"NegativeFittingCount", setInt32(kFittingCount, -1), kFailed + "pipe set: ", " at byte 1224"},
        // The pump's reader names the byte after its count, not the count's own.
        TBadInputCase{"PumpPointCountAboveTen", setInt32(kPumpPointCount, 11), kFailed + "pipe set: ", "",
                      "pump point count 11"},
        TBadInputCase{"MoreThan1000OpenLinks", setInt32(kOpenLinkCount, 1001),
                      kFailed + "open links: link count 1001 is not 0..1000 at byte 2820", ""},
        TBadInputCase{"NegativeOpenLinkCount", setInt32(kOpenLinkCount, -1),
                      kFailed + "open links: link count -1 is not 0..1000 at byte 2820", ""},
        TBadInputCase{"MoreThan1000ClosedLinks", setInt32(kClosedLinkCount, 1001),
                      kFailed + "closed links: link count 1001 is not 0..1000 at byte 2836", ""},
        TBadInputCase{"MoreThan1000Loops", setInt32(kLoopCount, 1001),
                      kFailed + "pipe loops: loop count 1001 is not 0..1000 at byte 2840", ""},
        TBadInputCase{"NegativeLoopCount", setInt32(kLoopCount, -2),
                      kFailed + "pipe loops: loop count -2 is not 0..1000 at byte 2840", ""},
        TBadInputCase{"MoreThan100FreeTexts", setInt32(kFreeTextCount, 101),
                      kFailed + "free texts: free text count 101 is not 0..100 at byte 8694", ""},
        TBadInputCase{"NegativeFreeTextCount", setInt32(kFreeTextCount, -1),
                      kFailed + "free texts: free text count -1 is not 0..100 at byte 8694", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    IdsAndReferences, BadNetworkFile,
    ::testing::Values(
        TBadInputCase{"NodeIdZero", setInt32(kFirstNodeId, 0),
                      kFailed + "node set: node id 0 is not 1..1000 at byte 257", ""},
        TBadInputCase{"NodeIdAboveThePool", setInt32(kFirstNodeId, 1001),
                      kFailed + "node set: node id 1001 is not 1..1000 at byte 257", ""},
        TBadInputCase{"DuplicateNodeId", setInt32(kSecondNodeId, 1),
                      kFailed + "node set: node id 1 is given twice at byte 581", ""},
        TBadInputCase{"PipeIdAboveThePool", setInt32(kPipeId, 1001), kFailed + "pipe set: ", " at byte 909"},
        TBadInputCase{"PipeIdNegative", setInt32(kPipeId, -1), kFailed + "pipe set: ", " at byte 909"},
        TBadInputCase{"LinkFromMissingNode", setInt32(kOpenLink, 5),
                      kFailed + "open links: open link 1 names node 5, which is not in the file, at byte 2824", ""},
        TBadInputCase{"LinkToNodeOutsideThePool", setInt32(kOpenLink + 4, 1001),
                      kFailed + "open links: open link 1 names node 1001, which is not in the file, at byte 2824", ""},
        TBadInputCase{"LinkToNegativeNode", setInt32(kOpenLink + 4, -3),
                      kFailed + "open links: open link 1 names node -3, which is not in the file, at byte 2824", ""},
        TBadInputCase{"LinkOfMissingPipe", setInt32(kOpenLink + 8, 2),
                      kFailed + "open links: open link 1 names pipe 2, which is not in the file, at byte 2824", ""},
        TBadInputCase{"LinkOfPipeOutsideThePool", setInt32(kOpenLink + 8, 1000000),
                      kFailed + "open links: open link 1 names pipe 1000000, which is not in the file, at byte 2824",
                      ""},
        TBadInputCase{"PipeLinkedTwice", addClosedLinkOfOpenPipe(),
                      kFailed + "closed links: closed link 1 names pipe 1, which is linked already, at byte 2840", ""},
        TBadInputCase{"LoopSlotAboveThePool", setInt32(kFirstLoopSlot + 8, 1001),
                      kFailed + "pipe loops: loop 1 slot 3 holds pipe id 1001, not 0..1000, at byte 2852", ""},
        TBadInputCase{"LoopSlotNegative", setInt32(kFirstLoopSlot, -1),
                      kFailed + "pipe loops: loop 1 slot 1 holds pipe id -1, not 0..1000, at byte 2844", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    FieldValues, BadNetworkFile,
    ::testing::Values(
        TBadInputCase{"NodeNameLongerThanItsField", setByte(kFirstNodeName, 21),
                      kFailed + "node set: text length 21 exceeds its capacity of 20 at byte 261", ""},
        TBadInputCase{"HeaderTextLongerThanItsField", setByte(0, 25),
                      kFailed + "file header: text length 25 exceeds its capacity of 24 at byte 0", ""},
        TBadInputCase{"UnknownNodeType", setByte(kFirstNodeType, 4), kFailed + "node set: ", " at byte 282"},
        TBadInputCase{"UnitOutsideTheUnitTable", setByte(kAtmosphereUnit, 90), kFailed + "settings: ",
                      " at byte 6853"}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Truncated, BadNetworkFile,
    ::testing::Values(
        TBadInputCase{"Empty", cutTo(0),
                      kFailed + "file header: unexpected end of data (1 bytes needed, 0 left) at byte 0", ""},
        TBadInputCase{"AfterTheHeader", cutTo(83),
                      kFailed + "reserved byte: unexpected end of data (1 bytes needed, 0 left) at byte 83", ""},
        TBadInputCase{"BeforeTheNodeCount", cutTo(253),
                      kFailed + "node set: unexpected end of data (4 bytes needed, 0 left) at byte 253", ""},
        TBadInputCase{"InsideANodeName", cutTo(kSecondNodeName + 15),
                      kFailed + "node set: unexpected end of data (20 bytes needed, 14 left) at byte 586", ""},
        TBadInputCase{"InsideTheOpenLinkCount", cutTo(kOpenLinkCount + 2),
                      kFailed + "open links: unexpected end of data (4 bytes needed, 2 left) at byte 2820", ""},
        TBadInputCase{"InsideALink", cutTo(kOpenLink + 6),
                      kFailed + "open links: unexpected end of data (4 bytes needed, 2 left) at byte 2828", ""},
        TBadInputCase{"InsideTheLoops", cutTo(5000),
                      kFailed + "pipe loops: unexpected end of data (4 bytes needed, 0 left) at byte 5000", ""},
        TBadInputCase{"OneByteShort", cutTo(kFileSize - 1),
                      kFailed + "free texts: unexpected end of data (4 bytes needed, 3 left) at byte 8966", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

// What follows the free texts was never read by anyone; a file with more is still a network.
TEST(NetworkFileTail, BytesAfterTheFreeTextsAreIgnored) {
    auto network = std::make_unique<TNetwork>();
    network->LoadFromBytes(smallFile() + "trailing bytes");
    EXPECT_EQ(network->SaveToBytes(), smallFile());
}

}  // namespace
