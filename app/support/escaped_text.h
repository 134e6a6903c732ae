#pragma once
// Text from outside (a command line, a data file, a price file) shown in a
// message: control characters (a line end, an escape sequence) appear as
// \n, \t, \r or \xNN, so that one message is always one line and nothing
// reaches a terminal as a control sequence.

#include <string>
#include <string_view>

namespace vlt {

std::string EscapedForOneLine(std::string_view text);

// The general form: a line end is written \n or \r, other control
// characters and the bytes of `alsoHex` as \xNN (upper-case digits); a
// backslash as \\ only with `escapeBackslash` (so that the text can be read
// back), a tab as \t only with `tabAsLetter` (otherwise \x09).
std::string EscapedText(std::string_view text, bool escapeBackslash, bool tabAsLetter,
                        std::string_view alsoHex);

}  // namespace vlt
