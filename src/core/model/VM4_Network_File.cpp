// The network file (".vme"): TNetwork's Save and Load and their file forms.
//
// The file is a plain concatenation of fixed-layout little-endian records with
// counts in front of the variable parts, and it is untrusted input. Load parses
// the whole stream into a scratch image first and checks every count, id and
// cross-reference there; only a file that passed every check replaces the
// document. Any failure leaves the document cleared, never half-loaded, and the
// error names what was wrong and the byte offset where it was found.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_FileBytes.h"
#include "foundations/VM4_SafeSave.h"
#include "model/VM4_Network_Class.h"

// Everything a file holds, parsed but not yet part of the document. One image is
// made on a document's first load and kept: a full file needs some 8 MB, and
// building and freeing pools of 1000 nodes and pipes for every file would cost
// more than reading them.
struct TNetworkFileImage {
    TFileHeader Header;
    std::uint8_t ReservedByte = 0;
    TFluid Fluid;
    TNodeSet Nodes;
    TPipeSet Pipes;
    std::vector<TNodeLink> OpenLinks;
    std::vector<TNodeLink> ClosedLinks;
    // Loop l's slot s (both 1-based) at (l - 1) * MaxPipesPerLoop + (s - 1).
    std::vector<std::int32_t> LoopSlots;
    std::int32_t LoopCount = 0;
    TNetworkSettings Settings;
    TPipe DefaultPipe;
    std::vector<TFreeText> FreeTexts;
};

namespace {

const char* const kLoadFailed = "TNetwork.Load Failed: ";
const char* const kLoadFromFileFailed = "TNetwork.LoadFromFile Failed: ";
const char* const kSaveToFileFailed = "TNetwork.SaveToFile Failed: ";
const char* const kCannotReadFile = "cannot read the file";

// What a loop slot past the loop's last pipe holds.
constexpr std::int32_t kUnusedLoopSlot = 0;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

// Runs one section's reader; a failure inside it is reported with the section's name.
template <typename ReadSection>
void readSection(const char* sectionName, ReadSection read) {
    try {
        read();
    } catch (const EVelmoraError& error) {
        throw EStreamFormatError(std::string(sectionName) + ": " + error.what());
    }
}

// A count in front of a variable part, checked before anything is read for it.
std::int32_t readCount(TByteReader& reader, const char* what, std::int32_t maximum) {
    const std::size_t offset = reader.Offset();
    const std::int32_t count = reader.ReadInt32();
    if (count < 0 || count > maximum) {
        throw EStreamFormatError(std::string(what) + " " + std::to_string(count) + " is not 0.." +
                                 std::to_string(maximum) + " at byte " + std::to_string(offset));
    }
    return count;
}

void requireUsedNode(const TNetworkFileImage& image, const char* table, std::int32_t entry, std::int32_t nodeId,
                     std::size_t offset) {
    if (image.Nodes.IsNodeUsed(nodeId)) return;
    throw EStreamFormatError(std::string(table) + " " + std::to_string(entry) + " names node " +
                             std::to_string(nodeId) + ", which is not in the file, at byte " + std::to_string(offset));
}

// Every pipe has exactly one link, open or closed; a second one would make the
// solver count its flow twice and removing the pipe would leave a stale link.
void requireUnlinkedUsedPipe(const TNetworkFileImage& image, std::vector<bool>& linkedPipes, const char* table,
                             std::int32_t entry, std::int32_t pipeId, std::size_t offset) {
    const std::string where =
        std::string(table) + " " + std::to_string(entry) + " names pipe " + std::to_string(pipeId);
    if (!image.Pipes.IsPipeUsed(pipeId)) {
        throw EStreamFormatError(where + ", which is not in the file, at byte " + std::to_string(offset));
    }
    if (linkedPipes[slot(pipeId)]) {
        throw EStreamFormatError(where + ", which is linked already, at byte " + std::to_string(offset));
    }
    linkedPipes[slot(pipeId)] = true;
}

std::vector<TNodeLink> readLinkTable(TByteReader& reader, const TNetworkFileImage& image,
                                     std::vector<bool>& linkedPipes, const char* table) {
    const std::int32_t count = readCount(reader, "link count", TNetwork::MaxLinks);
    std::vector<TNodeLink> links(slot(count));
    for (std::int32_t entry = 1; entry <= count; ++entry) {
        const std::size_t offset = reader.Offset();
        TNodeLink& link = links[slot(entry - 1)];
        link.FromNodeId = reader.ReadInt32();
        link.ToNodeId = reader.ReadInt32();
        link.PipeId = reader.ReadInt32();
        requireUsedNode(image, table, entry, link.FromNodeId, offset);
        requireUsedNode(image, table, entry, link.ToNodeId, offset);
        requireUnlinkedUsedPipe(image, linkedPipes, table, entry, link.PipeId, offset);
    }
    return links;
}

// Loops are regenerated before every solve, so a saved loop may still name a
// pipe deleted since; only ids that no pipe could have are refused.
void readLoopTable(TByteReader& reader, TNetworkFileImage& image) {
    image.LoopCount = readCount(reader, "loop count", TNetwork::MaxLoops);
    image.LoopSlots.assign(slot(image.LoopCount) * slot(TNetwork::MaxPipesPerLoop), kUnusedLoopSlot);
    std::size_t position = 0;
    for (std::int32_t loopId = 1; loopId <= image.LoopCount; ++loopId) {
        for (std::int32_t slotNumber = 1; slotNumber <= TNetwork::MaxPipesPerLoop; ++slotNumber) {
            const std::size_t offset = reader.Offset();
            const std::int32_t pipeId = reader.ReadInt32();
            if (pipeId < kUnusedLoopSlot || pipeId > TPipeSet::kCapacity) {
                throw EStreamFormatError("loop " + std::to_string(loopId) + " slot " + std::to_string(slotNumber) +
                                         " holds pipe id " + std::to_string(pipeId) + ", not 0.." +
                                         std::to_string(TPipeSet::kCapacity) + ", at byte " + std::to_string(offset));
            }
            image.LoopSlots[position++] = pipeId;
        }
    }
}

void readFreeTexts(TByteReader& reader, TNetworkFileImage& image) {
    const std::int32_t count = readCount(reader, "free text count", TNetwork::MaxFreeTexts);
    image.FreeTexts.resize(slot(count));
    for (TFreeText& text : image.FreeTexts) text.ReadRecord(reader);
}

// Items 1 to 11 of the file, in order. Bytes after the free texts are ignored,
// as they always were.
void readFileImage(TByteReader& reader, TNetworkFileImage& image) {
    readSection("file header", [&] { image.Header.ReadRecord(reader); });
    readSection("reserved byte", [&] { image.ReservedByte = reader.ReadByte(); });
    readSection("fluid", [&] { image.Fluid.ReadRecord(reader); });
    readSection("node set", [&] { image.Nodes.ReadRecord(reader); });
    readSection("pipe set", [&] { image.Pipes.ReadRecord(reader); });
    std::vector<bool> linkedPipes(slot(TPipeSet::kCapacity) + 1, false);
    readSection("open links", [&] { image.OpenLinks = readLinkTable(reader, image, linkedPipes, "open link"); });
    readSection("closed links",
                [&] { image.ClosedLinks = readLinkTable(reader, image, linkedPipes, "closed link"); });
    readSection("pipe loops", [&] { readLoopTable(reader, image); });
    readSection("settings", [&] { image.Settings.ReadRecord(reader); });
    readSection("default pipe", [&] {
        image.DefaultPipe.Clear();  // the fields a file does not hold start from their defaults
        image.DefaultPipe.ReadRecord(reader);
    });
    readSection("free texts", [&] { readFreeTexts(reader, image); });
}

void writeLinkTable(TByteWriter& writer, const std::vector<TNodeLink>& table, std::int32_t count) {
    writer.WriteInt32(count);
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink& link = table[slot(k)];
        writer.WriteInt32(link.FromNodeId);
        writer.WriteInt32(link.ToNodeId);
        writer.WriteInt32(link.PipeId);
    }
}

using TLoopTable = std::vector<std::array<std::int32_t, TNetwork::MaxPipesPerLoop + 1>>;

// The per-loop pipe counts are not stored: every loop is written with all its slots.
void writeLoopTable(TByteWriter& writer, const TLoopTable& loops, std::int32_t loopCount) {
    writer.WriteInt32(loopCount);
    for (std::int32_t loopId = 1; loopId <= loopCount; ++loopId) {
        const auto& loop = loops[slot(loopId)];
        for (std::int32_t slotNumber = 1; slotNumber <= TNetwork::MaxPipesPerLoop; ++slotNumber) {
            writer.WriteInt32(loop[slot(slotNumber)]);
        }
    }
}

void writeFreeTexts(TByteWriter& writer, const std::vector<TFreeText>& texts, std::int32_t count) {
    writer.WriteInt32(count);
    for (std::int32_t index = 1; index <= count; ++index) texts[slot(index)].WriteRecord(writer);
}

void adoptLinkTable(std::vector<TNodeLink>& table, std::int32_t& count, const std::vector<TNodeLink>& links) {
    for (std::size_t k = 0; k < links.size(); ++k) table[k + 1] = links[k];
    count = static_cast<std::int32_t>(links.size());
}

// The loops keep their pipe ids; their pipe counts stay 0 until loops are generated again.
void adoptLoopTable(TLoopTable& loops, std::int32_t& loopCount, const TNetworkFileImage& image) {
    std::size_t position = 0;
    for (std::int32_t loopId = 1; loopId <= image.LoopCount; ++loopId) {
        auto& loop = loops[slot(loopId)];
        for (std::int32_t slotNumber = 1; slotNumber <= TNetwork::MaxPipesPerLoop; ++slotNumber) {
            loop[slot(slotNumber)] = image.LoopSlots[position++];
        }
    }
    loopCount = image.LoopCount;
}

void adoptFreeTexts(std::vector<TFreeText>& texts, std::int32_t& count, const std::vector<TFreeText>& loaded) {
    for (std::size_t k = 0; k < loaded.size(); ++k) texts[k + 1].CopyFreeText(loaded[k]);
    count = static_cast<std::int32_t>(loaded.size());
}

}  // namespace

// ---- Saving ---------------------------------------------------------------------------

void TNetwork::Save(TByteWriter& writer) {
    FileHeader.SetData(TFileHeader::kNetworkFileVersion, "", "");
    FileHeader.WriteRecord(writer);
    writer.WriteByte(ReservedByte);
    Fluid.WriteRecord(writer);
    Nodes.WriteRecord(writer);
    Pipes.WriteRecord(writer);
    writeLinkTable(writer, NodeLinks, NodeLinkCount);
    writeLinkTable(writer, ClosedPipeLinks, ClosedPipeLinkCount);
    writeLoopTable(writer, PipeLoopPipes, PipeLoopCount);
    Settings.WriteRecord(writer);
    DefaultPipe.WriteRecord(writer);
    writeFreeTexts(writer, FreeTexts, FreeTextCount);
}

std::string TNetwork::SaveToBytes() {
    TByteWriter writer;
    Save(writer);
    return writer.Bytes();
}

// The previous file survives a failed save: the bytes go to a temporary file
// beside it, which replaces it only once it is complete.
void TNetwork::SaveToFile(const std::filesystem::path& path) {
    const std::string bytes = SaveToBytes();
    try {
        SafeSaveFile(path, bytes);
    } catch (const EVelmoraError& error) {
        throw ENetworkClass(kSaveToFileFailed + std::string(error.what()));
    }
}

// ---- Loading ----------------------------------------------------------------------------

void TNetwork::Load(TByteReader& reader) {
    try {
        loadValidated(reader);
    } catch (const EVelmoraError& error) {
        throw ENetworkClass(kLoadFailed + std::string(error.what()));
    }
}

void TNetwork::LoadFromBytes(const std::string& bytes) {
    TByteReader reader(bytes);
    Load(reader);
}

// A file that cannot be read leaves the document as it was; a file that can be
// read but is not a valid network leaves it cleared.
void TNetwork::LoadFromFile(const std::filesystem::path& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        throw ENetworkClass(kLoadFromFileFailed + path.string() + ": " + kCannotReadFile);
    }
    try {
        TByteReader reader(bytes);
        loadValidated(reader);
    } catch (const EVelmoraError& error) {
        throw ENetworkClass(kLoadFromFileFailed + path.string() + ": " + error.what());
    }
}

// Clear before adopting, so that everything the file does not hold (solver
// state, the per-loop pipe counts) is back at its defaults. The pools change
// places with the image's: the old ones are cleared when the next file is read.
void TNetwork::loadValidated(TByteReader& reader) {
    try {
        if (!fileImage_) fileImage_ = std::make_shared<TNetworkFileImage>();
        TNetworkFileImage& image = *fileImage_;
        readFileImage(reader, image);
        Clear();
        FileHeader = image.Header;
        ReservedByte = image.ReservedByte;
        Fluid = image.Fluid;
        std::swap(Nodes, image.Nodes);
        std::swap(Pipes, image.Pipes);
        adoptLinkTable(NodeLinks, NodeLinkCount, image.OpenLinks);
        adoptLinkTable(ClosedPipeLinks, ClosedPipeLinkCount, image.ClosedLinks);
        adoptLoopTable(PipeLoopPipes, PipeLoopCount, image);
        Settings = image.Settings;
        DefaultPipe = image.DefaultPipe;
        adoptFreeTexts(FreeTexts, FreeTextCount, image.FreeTexts);
    } catch (...) {
        Clear();
        throw;
    }
}
