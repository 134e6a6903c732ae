#pragma once
// The report's output without the window's box: every piece a command
// appends goes to a stream at once (a long run shows its transits as it goes)
// and none of it is kept, so a report of any length needs no more memory than
// a short one and meets no size limit.  Only the window's box is limited;
// `vlt-report --box` keeps that box instead.
//
// Line ends arrive as the box holds them, CR LF; with LF line ends chosen,
// each CR LF is written as LF, also when the CR ends one piece and the LF
// begins the next.  A CR not followed by LF is written as it is.

#include <ostream>
#include <string>

#include "app/support/run_host.h"

namespace vlt {

class StreamedOutput final : public OutputBox {
public:
    StreamedOutput(std::ostream& out, bool crlf) : out_(out), crlf_(crlf) {}

    // Keeps nothing.
    const std::string& Text() const override { return none_; }
    void Append(const std::string& text) override;
    // What was written stays written; the output counts as empty again, as
    // the box would after being cleared.
    void Clear() override { written_ = false; }
    void MoveCaretToEnd() override {}
    // The window repaints its box after each finished transit; the stream is
    // flushed instead.
    void Refresh() override { out_.flush(); }

    bool Empty() const override { return !written_; }
    bool LongerThan(std::size_t /*characters*/) const override { return false; }

    // Writes a CR still held back and flushes; call once the command is done.
    void Finish();

private:
    std::ostream& out_;
    const bool crlf_;
    bool written_ = false;
    bool heldCr_ = false;  // LF line ends: a CR that ended the last piece
    const std::string none_;
};

}  // namespace vlt
