#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "editor/VM4_HelpForm.h"

// The help pages shipped beside the program: the pages the Help menu opens
// must exist, and no link inside them may lead nowhere.

namespace {

namespace fs = std::filesystem;

const fs::path kHelpFolder = VELMORA_HELP_DIR;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> Pages() {
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(kHelpFolder))
        if (entry.path().extension() == ".htm") pages.push_back(entry.path());
    return pages;
}

std::set<std::string> Anchors(const std::string& html) {
    std::set<std::string> anchors;
    const std::regex name(R"re(<a name="([^"]+)")re");
    for (std::sregex_iterator it(html.begin(), html.end(), name), end; it != end; ++it) anchors.insert((*it)[1]);
    return anchors;
}

TEST(HelpPages, EveryPageTheHelpMenuOpensIsShipped) {
    for (const char* page : {THelpForm::ContentsPage, THelpForm::IndexPage, THelpForm::ThreeReservoirsPage,
                             THelpForm::StepByStepPage})
        EXPECT_TRUE(fs::is_regular_file(kHelpFolder / page)) << page;
}

TEST(HelpPages, EveryLinkLeadsToAPageAndAnchorThatExist) {
    const std::regex link(R"re(href="([^"#:]*)(#([^"]*))?")re");
    int links = 0;
    for (const fs::path& page : Pages()) {
        const std::string html = ReadText(page);
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            ++links;
            const std::string target = (*it)[1].str().empty() ? page.filename().string() : (*it)[1].str();
            ASSERT_TRUE(fs::is_regular_file(kHelpFolder / target)) << page.filename() << " links to " << target;
            if ((*it)[3].matched)
                EXPECT_EQ(Anchors(ReadText(kHelpFolder / target)).count((*it)[3]), 1u)
                    << page.filename() << " links to " << target << "#" << (*it)[3];
        }
    }
    EXPECT_GT(links, 0) << "the link pattern found no links at all";
}

TEST(HelpPages, EveryPageIsReachableFromTheContentsOrTheIndex) {
    const std::string contents = ReadText(kHelpFolder / THelpForm::ContentsPage);
    const std::string index = ReadText(kHelpFolder / THelpForm::IndexPage);
    for (const fs::path& page : Pages()) {
        const std::string name = page.filename().string();
        if (name == THelpForm::ContentsPage) continue;
        const std::string href = "href=\"" + name;
        EXPECT_TRUE(contents.find(href) != std::string::npos || index.find(href) != std::string::npos) << name;
    }
}

}  // namespace
