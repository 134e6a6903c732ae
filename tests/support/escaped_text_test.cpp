#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "app/support/escaped_text.h"
#include "app/support/file_bytes.h"

namespace {

struct EscapeCase {
    std::string text;
    bool escapeBackslash;
    bool tabAsLetter;
    const char* alsoHex;
    const char* expected;
};

TEST(EscapedText, EachRuleAppliesOnlyWhenAsked) {
    const EscapeCase cases[] = {
        {"a\\b", false, true, "", "a\\b"},
        {"a\\b", true, false, "", "a\\\\b"},
        {"a\tb", true, false, "", "a\\x09b"},
        {"a\tb", false, true, "", "a\\tb"},
        {"x\r\ny", false, true, "", "x\\r\\ny"},
        {std::string("n\0=[;", 5), true, false, "=[;", "n\\x00\\x3D\\x5B\\x3B"},
        {"k=v;[", true, false, "", "k=v;["},
        {"\x1b\x7f\xe9", false, true, "", "\\x1B\\x7F\xe9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vlt::EscapedText(c.text, c.escapeBackslash, c.tabAsLetter, c.alsoHex), c.expected)
            << c.expected;
    }
}

TEST(EscapedForOneLine, KeepsBackslashesAndNamesTabs) {
    EXPECT_EQ(vlt::EscapedForOneLine("C:\\x\tend\n"), "C:\\x\\tend\\n");
}

TEST(WriteAllBytes, WritesEveryByteOrReportsTheError) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string text(3000, 'q');
    EXPECT_EQ(vlt::WriteAllBytes(fds[1], text), 0);
    ::close(fds[1]);
    std::string read;
    char block[512];
    for (ssize_t n = 0; (n = ::read(fds[0], block, sizeof block)) > 0;) {
        read.append(block, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    EXPECT_EQ(read, text);
    // The read end of a pipe cannot be written to.
    ASSERT_EQ(::pipe(fds), 0);
    EXPECT_EQ(vlt::WriteAllBytes(fds[0], "x"), EBADF);
    ::close(fds[0]);
    ::close(fds[1]);
}

}  // namespace
