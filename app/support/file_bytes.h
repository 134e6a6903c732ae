#pragma once
// Writing a whole text to an open file descriptor.

#include <string_view>

namespace vlt {

// Writes every byte, carrying on after a write the system cut short or an
// interrupted one.  Returns 0 or the system's error number of the write that
// failed.
int WriteAllBytes(int fd, std::string_view bytes);

}  // namespace vlt
