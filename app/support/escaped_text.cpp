#include "app/support/escaped_text.h"

namespace vlt {

namespace {

void AppendHexEscape(std::string& out, unsigned char c) {
    static const char* const hex = "0123456789ABCDEF";
    out += "\\x";
    out += hex[c >> 4];
    out += hex[c & 15];
}

}  // namespace

std::string EscapedText(std::string_view text, bool escapeBackslash, bool tabAsLetter,
                        std::string_view alsoHex) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\' && escapeBackslash) {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t' && tabAsLetter) {
            out += "\\t";
        } else if (c < 32 || c == 127 || alsoHex.find(ch) != std::string_view::npos) {
            AppendHexEscape(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

std::string EscapedForOneLine(std::string_view text) { return EscapedText(text, false, true, ""); }

}  // namespace vlt
