#pragma once
// A text that vlt-report writes as one line of standard error: control
// characters (a line end, an escape sequence) taken from the command line
// are shown as \n, \t, \r or \xNN, so that one error is always one line and
// nothing reaches the terminal as a control sequence.

#include <string>
#include <string_view>

namespace vlt {

std::string EscapedForOneLine(std::string_view text);

}  // namespace vlt
