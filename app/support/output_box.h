#pragma once
// Where a command writes its report: the window's multi-line output box
// (`txbOutput`), or vlt-report's standard output.  Line ends inside the text
// are CR LF, as the box holds them.

#include <cstddef>
#include <string>

namespace vlt {

// The line break of the output box and of every report written into it.
inline constexpr const char* kLineBreak = "\r\n";

// The commands ask the box itself whether it is empty and whether it has
// grown past their size limit.  The window's box keeps its text and answers
// from it; an output that sends every piece on as it comes keeps no text and
// has no size limit.
class OutputBox {
public:
    virtual ~OutputBox() = default;
    // The text the box holds (none for an output that passes it on).
    virtual const std::string& Text() const = 0;
    virtual void Append(const std::string& text) = 0;
    virtual void Clear() = 0;
    virtual void MoveCaretToEnd() = 0;
    virtual void Refresh() = 0;

    // Nothing written since the last Clear.
    virtual bool Empty() const { return Text().empty(); }

    // Whether the text is longer than `characters` characters (UTF-8
    // sequences count once).  A text of no more bytes than that cannot be,
    // so the characters are only counted near the limit.
    virtual bool LongerThan(std::size_t characters) const {
        const std::string& text = Text();
        if (text.size() <= characters) return false;
        std::size_t n = 0;
        for (char c : text) {
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++n > characters) return true;
        }
        return false;
    }
};

}  // namespace vlt
