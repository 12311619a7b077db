#include "libraries/VM4_LibraryFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "foundations/VM4_DecimalMark.h"
#include "libraries/LibraryTestSupport.h"

namespace {

struct TNumberCase {
    const char* Text;
    bool Valid;
    double Value;
};

void PrintTo(const TNumberCase& c, std::ostream* os) { *os << '"' << c.Text << '"'; }

class LibraryNumberTest : public ::testing::TestWithParam<std::tuple<char, TNumberCase>> {};

TEST_P(LibraryNumberTest, ReadsEitherDecimalMarkOnEverySystem) {
    const auto& [systemMark, c] = GetParam();
    TScopedDecimalMark mark(systemMark);
    double value = -999.0;
    EXPECT_EQ(ReadLibraryNumber(c.Text, value), c.Valid) << '"' << c.Text << "\" with system mark " << systemMark;
    if (c.Valid) EXPECT_DOUBLE_EQ(value, c.Value);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, LibraryNumberTest,
    ::testing::Combine(::testing::Values('.', ','),
                       ::testing::Values(TNumberCase{"1.5", true, 1.5}, TNumberCase{"1,5", true, 1.5},
                                         TNumberCase{" 2.25\t", true, 2.25}, TNumberCase{"-3,5", true, -3.5},
                                         TNumberCase{"0", true, 0.0}, TNumberCase{"998.210000", true, 998.21},
                                         TNumberCase{"", false, 0.0}, TNumberCase{"  ", false, 0.0},
                                         TNumberCase{"abc", false, 0.0}, TNumberCase{"1.2.3", false, 0.0},
                                         TNumberCase{"1.234,5", false, 0.0}, TNumberCase{"1e5", false, 0.0},
                                         TNumberCase{"2 5", false, 0.0})));

TEST(LibraryFieldText, TextsCannotSplitARecord) {
    EXPECT_EQ(LibraryFieldText("Gate ~|~ valve"), "Gate ~/~ valve");
    EXPECT_EQ(LibraryFieldText("two\r\nlines\rand\nmore"), "two lines and more");
    EXPECT_EQ(LibraryFieldText("1/2\" ~ | ok"), "1/2\" ~ | ok");
}

TEST(LibraryRecordLines, BlankLinesHoldNoRecord) {
    std::istringstream in(CrLfLines({"first", "", "  \t", "second", ""}));
    std::string line;
    ASSERT_TRUE(ReadNextRecordLine(in, line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(ReadNextRecordLine(in, line));
    EXPECT_EQ(line, "second");
    EXPECT_FALSE(ReadNextRecordLine(in, line));
    EXPECT_FALSE(in.bad());
}

TEST(LibraryRecordLines, ConvertsWindows1252ToUtf8) {
    std::istringstream in("Ethanol 20\xB0" "C\r\n");
    std::string line;
    ASSERT_TRUE(ReadNextRecordLine(in, line));
    EXPECT_EQ(line, "Ethanol 20°C");
}

TEST(OpenLibraryFile, NamesTheFileAndTheReason) {
    TTempFolder folder;
    const auto missing = folder / "vmn_Fluids.vmfl";
    try {
        OpenLibraryFile(missing);
        FAIL() << "a missing file must raise";
    } catch (const ELibraryFile& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + missing.string() + ": " + std::strerror(ENOENT));
    }
    try {
        OpenLibraryFile(folder.Path());
        FAIL() << "a folder is not a library file";
    } catch (const ELibraryFile& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + folder.Path().string() + ": " + std::strerror(EISDIR));
    }
}

TEST(LibraryHeaderLine, IsVersionFileNameAndAnEmptyDate) {
    EXPECT_EQ(LibraryHeaderLine("1.03"), "1.03~|~~|~\r\n");
    EXPECT_EQ(LibraryHeaderLine("1.03", "UserMaterialPVC.vmpi"), "1.03~|~UserMaterialPVC.vmpi~|~\r\n");
}

}  // namespace
