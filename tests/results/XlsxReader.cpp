#include "XlsxReader.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace {

constexpr std::uint32_t kEndOfCentralDirectory = 0x06054b50;
constexpr std::uint32_t kCentralDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalFileHeader = 0x04034b50;
constexpr int kStored = 0;
constexpr int kDeflated = 8;

std::uint32_t readLittleEndian(const std::string& bytes, std::size_t offset, int size) {
    if (offset + static_cast<std::size_t>(size) > bytes.size()) throw std::runtime_error("zip: read past the end");
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return value;
}

std::size_t findEndOfCentralDirectory(const std::string& archive) {
    if (archive.size() < 22) throw std::runtime_error("zip: too short");
    for (std::size_t at = archive.size() - 22 + 1; at-- > 0;)
        if (readLittleEndian(archive, at, 4) == kEndOfCentralDirectory) return at;
    throw std::runtime_error("zip: no end of central directory");
}

std::string inflateRaw(const std::string& compressed, std::size_t uncompressedSize) {
    std::string out(uncompressedSize, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw std::runtime_error("zip: inflateInit2");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result != Z_STREAM_END) throw std::runtime_error("zip: inflate failed");
    return out;
}

std::string memberData(const std::string& archive, std::size_t entry) {
    const int method = static_cast<int>(readLittleEndian(archive, entry + 10, 2));
    const std::size_t compressedSize = readLittleEndian(archive, entry + 20, 4);
    const std::size_t uncompressedSize = readLittleEndian(archive, entry + 24, 4);
    const std::size_t local = readLittleEndian(archive, entry + 42, 4);
    if (readLittleEndian(archive, local, 4) != kLocalFileHeader) throw std::runtime_error("zip: bad local header");
    const std::size_t data = local + 30 + readLittleEndian(archive, local + 26, 2) + readLittleEndian(archive, local + 28, 2);
    const std::string raw = archive.substr(data, compressedSize);
    if (method == kStored) return raw;
    if (method == kDeflated) return inflateRaw(raw, uncompressedSize);
    throw std::runtime_error("zip: unknown compression method");
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string unescapeXml(const std::string& text) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    std::string result = text;
    for (const auto& [entity, character] : kEntities) {
        for (std::size_t at = result.find(entity); at != std::string::npos; at = result.find(entity, at + 1))
            result.replace(at, std::string(entity).size(), character);
    }
    return result;
}

std::vector<std::string> sharedStrings(const std::string& xml) {
    std::vector<std::string> strings;
    const std::regex item(R"re(<si><t(?: [^>]*)?>([\s\S]*?)</t></si>)re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), item), end; it != end; ++it)
        strings.push_back(unescapeXml((*it)[1].str()));
    return strings;
}

// Number format id to format code: the built-in ids the writer uses, then the
// workbook's own formats.
std::map<int, std::string> numberFormatCodes(const std::string& stylesXml) {
    std::map<int, std::string> codes = {{0, "General"}, {1, "0"}, {2, "0.00"}};
    const std::regex format(R"re(<numFmt numFmtId="([0-9]+)" formatCode="([^"]*)")re");
    for (std::sregex_iterator it(stylesXml.begin(), stylesXml.end(), format), end; it != end; ++it)
        codes[std::stoi((*it)[1].str())] = unescapeXml((*it)[2].str());
    return codes;
}

// The format code of every cell style index (the s attribute of a cell).
std::vector<std::string> cellStyleFormats(const std::string& stylesXml) {
    const std::map<int, std::string> codes = numberFormatCodes(stylesXml);
    const std::size_t begin = stylesXml.find("<cellXfs");
    const std::size_t end = stylesXml.find("</cellXfs>");
    if (begin == std::string::npos || end == std::string::npos) throw std::runtime_error("xlsx: no cellXfs");
    const std::string xfs = stylesXml.substr(begin, end - begin);
    std::vector<std::string> formats;
    const std::regex xf(R"re(<xf numFmtId="([0-9]+)")re");
    for (std::sregex_iterator it(xfs.begin(), xfs.end(), xf), last; it != last; ++it)
        formats.push_back(codes.at(std::stoi((*it)[1].str())));
    return formats;
}

void readNumberCells(const std::string& archive, const std::string& sheetXml, TXlsxSheet& sheet) {
    const std::vector<std::string> formats = cellStyleFormats(ReadZipMember(archive, "xl/styles.xml"));
    const std::regex cell(R"re(<c r="([A-Z]+[0-9]+)"(?: s="([0-9]+)")?><v>([^<]*)</v></c>)re");
    for (std::sregex_iterator it(sheetXml.begin(), sheetXml.end(), cell), end; it != end; ++it) {
        const std::string style = (*it)[2].str();
        sheet.Numbers[(*it)[1].str()] = {std::stod((*it)[3].str()),
                                         style.empty() ? "General" : formats.at(std::stoul(style))};
    }
}

}  // namespace

std::string TXlsxSheet::Shown(const std::string& cell) const {
    if (const auto text = Cells.find(cell); text != Cells.end()) return text->second;
    const auto number = Numbers.find(cell);
    if (number == Numbers.end()) return "";
    const std::string& format = number->second.Format;
    const std::size_t mark = format.find('.');
    const int decimals = mark == std::string::npos ? 0 : static_cast<int>(format.size() - mark - 1);
    std::ostringstream shown;
    shown.setf(std::ios::fixed);
    shown.precision(decimals);
    shown << number->second.Value;
    return shown.str();
}

std::map<std::string, std::string> TXlsxSheet::AllShown() const {
    std::map<std::string, std::string> shown = Cells;
    for (const auto& [cell, number] : Numbers) shown[cell] = Shown(cell);
    return shown;
}

std::string ReadZipMember(const std::string& archive, const std::string& memberName) {
    const std::size_t end = findEndOfCentralDirectory(archive);
    const std::size_t entryCount = readLittleEndian(archive, end + 10, 2);
    std::size_t entry = readLittleEndian(archive, end + 16, 4);
    for (std::size_t i = 0; i < entryCount; ++i) {
        if (readLittleEndian(archive, entry, 4) != kCentralDirectoryEntry) throw std::runtime_error("zip: bad entry");
        const std::size_t nameLength = readLittleEndian(archive, entry + 28, 2);
        const std::size_t extraLength = readLittleEndian(archive, entry + 30, 2);
        const std::size_t commentLength = readLittleEndian(archive, entry + 32, 2);
        if (archive.compare(entry + 46, nameLength, memberName) == 0 && nameLength == memberName.size())
            return memberData(archive, entry);
        entry += 46 + nameLength + extraLength + commentLength;
    }
    throw std::runtime_error("zip: no member " + memberName);
}

TXlsxSheet ReadXlsxFirstSheet(const std::filesystem::path& workbook) {
    const std::string archive = fileBytes(workbook);
    TXlsxSheet sheet;
    const std::string workbookXml = ReadZipMember(archive, "xl/workbook.xml");
    const std::regex sheetName(R"re(<sheet name="([^"]*)")re");
    for (std::sregex_iterator it(workbookXml.begin(), workbookXml.end(), sheetName), end; it != end; ++it)
        sheet.SheetNames.push_back(unescapeXml((*it)[1].str()));

    const std::string sheetXml = ReadZipMember(archive, "xl/worksheets/sheet1.xml");
    if (sheetXml.find("t=\"s\"") != std::string::npos) {
        const std::vector<std::string> strings = sharedStrings(ReadZipMember(archive, "xl/sharedStrings.xml"));
        const std::regex cell(R"re(<c r="([A-Z]+[0-9]+)"[^>]*t="s"[^>]*><v>([0-9]+)</v></c>)re");
        for (std::sregex_iterator it(sheetXml.begin(), sheetXml.end(), cell), end; it != end; ++it)
            sheet.Cells[(*it)[1].str()] = strings.at(std::stoul((*it)[2].str()));
    }
    readNumberCells(archive, sheetXml, sheet);
    for (std::size_t at = sheetXml.find("<c "); at != std::string::npos; at = sheetXml.find("<c ", at + 1))
        ++sheet.CellElementCount;
    const std::regex column(R"re(<col min="([0-9]+)" max="([0-9]+)" width="([0-9.]+)")re");
    for (std::sregex_iterator it(sheetXml.begin(), sheetXml.end(), column), end; it != end; ++it)
        sheet.ColumnWidths.push_back({std::stoi((*it)[1].str()), std::stoi((*it)[2].str()), std::stod((*it)[3].str())});
    return sheet;
}
