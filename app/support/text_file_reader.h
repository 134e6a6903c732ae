#pragma once
// The generic line reader of the program's data files.  It never throws:
// failures come back as the system's error text and number beside whatever
// was read so far.  LF and CR LF line ends are both accepted; the CR is
// dropped.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vlt {

// Blanks are spaces and tabs.
std::string_view TrimBlanks(std::string_view text);

// Reads fileName into list: list is reset to firstIndex + 1 empty texts, the
// lines are stored from position firstIndex on, blank lines are skipped when
// skipBlank is set, lines are trimmed when trimLines is set.  count is the
// number of lines stored; errorText is empty and errorNumber 0 on success,
// else the system's description and number (errno) of the failure.
void ReadLinesIntoList(const std::string& fileName, std::vector<std::string>& list,
                       std::int16_t firstIndex, bool skipBlank, bool trimLines, std::int32_t& count,
                       std::string& errorText, std::int32_t& errorNumber);

// The same reading rules, handing each line that would be stored to onLine
// (with its 0-based order among the stored lines) instead of keeping it.
// Lets large tables keep a compact form of each line.
//
// Only a regular file is read, and only when it holds at most maxBytes: a
// FIFO, a device such as /dev/zero or a folder is refused before anything is
// read ("Not a regular file", "Is a directory"), a larger file with "File too
// large"; nothing is delivered then.
inline constexpr std::int64_t kDefaultMaxFileBytes = std::int64_t{64} << 20;
void ForEachLineOfFile(const std::string& fileName, bool skipBlank, bool trimLines,
                       const std::function<void(std::int32_t order, std::string_view line)>& onLine,
                       std::int32_t& count, std::string& errorText, std::int32_t& errorNumber,
                       std::int64_t maxBytes = kDefaultMaxFileBytes);

}  // namespace vlt
