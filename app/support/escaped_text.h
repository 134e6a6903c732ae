#pragma once
// Text from outside (a command line, a data file, a price file) shown in a
// message: control characters (a line end, an escape sequence) appear as
// \n, \t, \r or \xNN, so that one message is always one line and nothing
// reaches a terminal as a control sequence.

#include <string>
#include <string_view>

namespace vlt {

std::string EscapedForOneLine(std::string_view text);

}  // namespace vlt
