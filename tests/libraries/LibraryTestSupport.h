#pragma once

#include <filesystem>
#include <ios>
#include <streambuf>
#include <utility>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "foundations/VM4_UserMessages.h"

// Records every message the engine would show; confirmations answer Yes.
class TRecordedMessages : public IUserMessages {
public:
    void ShowInformation(const std::string& text) override { Shown.push_back(text); }
    bool Confirm(const std::string& text) override {
        Shown.push_back(text);
        return true;
    }
    void ShowStatus(const std::string&) override {}
    void ProcessMessages() override {}

    std::vector<std::string> Shown;
};

// The fixture folder of the library tests.
inline std::filesystem::path LibraryFixture(const std::string& folder) {
    return std::filesystem::path(VELMORA_TEST_DATA_DIR) / "libraries" / folder;
}

// A copy of a fixture folder that a test may change.
inline void CopyFixtureInto(const std::string& folder, const TTempFolder& target) {
    std::filesystem::copy(LibraryFixture(folder), target.Path(), std::filesystem::copy_options::recursive);
}

// Lines joined with CR LF, each ending with one: a library file's bytes.
inline std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// An input stream that delivers `text` and then fails as a disk would.
class TStreamFailingAfter : public std::streambuf {
public:
    explicit TStreamFailingAfter(std::string text) : text_(std::move(text)) {}

protected:
    int_type underflow() override {
        if (served_ || text_.empty()) throw std::ios_base::failure("read error");
        served_ = true;
        setg(text_.data(), text_.data(), text_.data() + text_.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    std::string text_;
    bool served_ = false;
};
