#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/support/text_file_reader.h"

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = ::testing::TempDir() + "vlt_reader_XXXXXX";
        char* made = mkdtemp(pattern.data());
        if (made != nullptr) path_ = made;
    }
    ~TempFolder() {
        for (const auto& f : files_) std::remove(f.c_str());
        if (!path_.empty()) rmdir(path_.c_str());
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string p = path_ + "/" + name;
        std::ofstream(p, std::ios::binary) << bytes;
        files_.push_back(p);
        return p;
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> files_;
};

struct ReadCase {
    const char* name;
    std::string bytes;
    std::int16_t firstIndex;
    bool skipBlank;
    bool trimLines;
    std::int32_t count;
    std::vector<std::string> expected;  // the whole list after the call
};

TEST(ReadLinesIntoList, LineEndsBlanksTrimmingAndFirstIndex) {
    const ReadCase cases[] = {
        {"lf", "a\nb\n", 0, true, true, 2, {"a", "b"}},
        {"crlf", "a\r\nb\r\n", 1, true, true, 2, {"", "a", "b"}},
        {"no final line end", "a\r\nb", 0, true, true, 2, {"a", "b"}},
        {"blank line between", "a\r\n\r\n   \r\nb\r\n", 0, true, true, 2, {"a", "b"}},
        {"blank kept", "a\n\n  \nb\n", 0, false, false, 4, {"a", "", "  ", "b"}},
        {"leading blanks trimmed",
         "   2007-01-03 12474.52  \r\n",
         1,
         true,
         true,
         1,
         {"", "2007-01-03 12474.52"}},
        {"leading blanks kept", "  x \n", 0, true, false, 1, {"  x "}},
        {"all blank", "\n   \r\n\t\n", 1, true, true, 0, {"", ""}},
        {"empty file", "", 0, true, true, 0, {""}},
        {"lone CR inside a line stays", "a\rb\n", 0, true, true, 1, {"a\rb"}},
        {"tabs are blanks", "\tq\t\n", 0, true, true, 1, {"q"}},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.Write("case.txt", c.bytes);
        std::vector<std::string> list = {"stale", "stale", "stale", "stale", "stale", "stale"};
        std::int32_t count = -1;
        std::string errorText = "stale";
        std::int32_t errorNumber = -1;
        vlt::ReadLinesIntoList(path, list, c.firstIndex, c.skipBlank, c.trimLines, count, errorText,
                               errorNumber);
        EXPECT_EQ(list, c.expected) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        EXPECT_EQ(errorText, "") << c.name;
        EXPECT_EQ(errorNumber, 0) << c.name;
    }
}

TEST(ReadLinesIntoList, LinesAcrossTheReadBlocksAndLongLines) {
    // Many lines of varying length, so that lines straddle the reader's
    // internal blocks, plus one line far longer than a block.
    std::string bytes;
    std::vector<std::string> expected = {""};
    for (int k = 0; k < 30000; ++k) {
        std::string line = std::to_string(k) + std::string(static_cast<std::size_t>(k % 13), 'x');
        bytes += line + (k % 2 ? "\r\n" : "\n");
        expected.push_back(line);
    }
    const std::string longLine(200000, 'L');
    bytes += longLine + "\r\n";
    expected.push_back(longLine);
    TempFolder folder;
    const std::string path = folder.Write("long.txt", bytes);
    std::vector<std::string> list;
    std::int32_t count = 0;
    std::string errorText;
    std::int32_t errorNumber = 0;
    vlt::ReadLinesIntoList(path, list, 1, true, true, count, errorText, errorNumber);
    EXPECT_EQ(count, 30001);
    EXPECT_EQ(errorText, "");
    ASSERT_EQ(list.size(), expected.size());
    EXPECT_TRUE(list == expected);
}

TEST(ReadLinesIntoList, MissingOrUnreadableFileGivesTheSystemsErrorAndAResetList) {
    TempFolder folder;
    struct {
        std::string path;
        int errorNumber;
    } cases[] = {
        {folder.Path() + "/does-not-exist.txt", ENOENT},
        {folder.Path(), EISDIR},  // opens, but cannot be read as a file
    };
    for (const auto& c : cases) {
        std::vector<std::string> list = {"old", "old", "old"};
        std::int32_t count = 5;
        std::string errorText;
        std::int32_t errorNumber = 0;
        vlt::ReadLinesIntoList(c.path, list, 1, true, true, count, errorText, errorNumber);
        EXPECT_EQ(count, 0) << c.path;
        EXPECT_EQ(errorNumber, c.errorNumber) << c.path;
        EXPECT_EQ(errorText, std::string(std::strerror(c.errorNumber))) << c.path;
        EXPECT_EQ(list, (std::vector<std::string>{"", ""})) << c.path;
    }
}

TEST(ForEachLineOfFile, HandsOverTheLinesThatWouldBeStoredInOrder) {
    TempFolder folder;
    const std::string path = folder.Write("each.txt", "  a \r\n\r\nb\n c");
    std::vector<std::pair<std::int32_t, std::string>> seen;
    std::int32_t count = 0;
    std::string errorText;
    std::int32_t errorNumber = 0;
    vlt::ForEachLineOfFile(
        path, true, true,
        [&](std::int32_t order, std::string_view line) { seen.emplace_back(order, line); }, count,
        errorText, errorNumber);
    const std::vector<std::pair<std::int32_t, std::string>> expected = {
        {0, "a"}, {1, "b"}, {2, "c"}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(count, 3);
}

}  // namespace
