// The report's streamed output: every piece goes out at once and is not
// kept, CR LF becomes LF (or stays, with --crlf) wherever the pieces are cut,
// and the output knows only whether anything was written since it was
// cleared; it is never over a size limit.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/report/report_run.h"
#include "app/report/streamed_output.h"

namespace vlt {
namespace {

struct PiecesCase {
    std::vector<std::string> pieces;
    std::string lf;  // printed with LF line ends
};

TEST(StreamedOutput, LineEndsComeOutWhereverThePiecesAreCut) {
    const std::vector<PiecesCase> cases = {
        {{"a\r\nb\r\n"}, "a\nb\n"},
        {{"a\r", "\nb\r\n"}, "a\nb\n"},      // CR ends one piece, LF begins the next
        {{"a\r", "", "\nb"}, "a\nb"},        // an empty piece between them
        {{"\r", "\n", "\r", "\n"}, "\n\n"},  // every character its own piece
        {{"lone\r", "x"}, "lone\rx"},        // a CR without LF stays
        {{"a\r", "\r\n"}, "a\r\n"},          // CR, then CR LF
        {{"end\r"}, "end\r"},                // held back, written at the finish
        {{"\n\r\n", "°\r\n"}, "\n\n°\n"},    // a bare LF, and a two-byte character
        {{}, ""},
    };
    for (const PiecesCase& c : cases) {
        std::string joined;
        for (const std::string& p : c.pieces) joined += p;
        SCOPED_TRACE(::testing::PrintToString(joined));
        std::ostringstream lf;
        std::ostringstream crlf;
        StreamedOutput lfOut(lf, false);
        StreamedOutput crlfOut(crlf, true);
        for (const std::string& p : c.pieces) {
            lfOut.Append(p);
            crlfOut.Append(p);
        }
        lfOut.Finish();
        crlfOut.Finish();
        EXPECT_EQ(lf.str(), c.lf);
        // The same as the whole text turned at once, as the box's text is.
        EXPECT_EQ(lf.str(), WithLfLineEnds(joined));
        EXPECT_EQ(crlf.str(), joined);
    }
}

TEST(StreamedOutput, EachPieceIsOutAtOnceAndNotKept) {
    std::ostringstream out;
    StreamedOutput stream(out, false);
    EXPECT_TRUE(stream.Empty());
    stream.Append("Conjunction | 2024-01-01\r\n");
    EXPECT_EQ(out.str(), "Conjunction | 2024-01-01\n");
    EXPECT_FALSE(stream.Empty());
    EXPECT_EQ(stream.Text(), "");

    // A long report is never over the box's limits.
    const std::string row(118, 'x');
    for (int k = 0; k < 1000; ++k) stream.Append(row + "\r\n");
    EXPECT_FALSE(stream.LongerThan(64000));
    EXPECT_FALSE(stream.LongerThan(0));
    EXPECT_EQ(out.str().size(), 25u + 1000u * 119u);

    // Cleared, it counts as empty again; what was written stays written.
    stream.Clear();
    EXPECT_TRUE(stream.Empty());
    stream.Append("");
    EXPECT_TRUE(stream.Empty());
    EXPECT_EQ(out.str().size(), 25u + 1000u * 119u);
}

struct LimitCase {
    std::string text;
    std::size_t limit;
    bool longer;
};

// The window's box (and every output that keeps its text) counts characters,
// not bytes, against a limit.
TEST(OutputBoxLimit, CountsCharactersNotBytes) {
    class KeptText final : public OutputBox {
    public:
        const std::string& Text() const override { return text; }
        void Append(const std::string& more) override { text += more; }
        void Clear() override { text.clear(); }
        void MoveCaretToEnd() override {}
        void Refresh() override {}
        std::string text;
    };
    const std::string deg = "\xC2\xB0";  // the degree sign, two bytes
    const std::vector<LimitCase> cases = {
        {"", 0, false},
        {"a", 0, true},
        {"abc", 3, false},
        {"abcd", 3, true},
        {deg + deg + deg, 3, false},  // six bytes, three characters
        {deg + deg + deg + "x", 3, true},
        {std::string(64000, 'x'), 64000, false},
        {std::string(64001, 'x'), 64000, true},
        {std::string(63999, 'x') + deg, 64000, false},
    };
    for (const LimitCase& c : cases) {
        KeptText box;
        box.Append(c.text);
        EXPECT_EQ(box.LongerThan(c.limit), c.longer)
            << c.text.size() << " bytes, limit " << c.limit;
        EXPECT_EQ(box.Empty(), c.text.empty());
    }
}

}  // namespace
}  // namespace vlt
