#pragma once
// The DJIA index file: one dated value per line, read once at start-up and
// looked up by calendar day during the investment simulation.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/support/message_box.h"

namespace vlt {

inline constexpr std::int32_t kIndexLineCount = 2088;
inline constexpr std::int32_t kIndexFirstDay = 2454104;  // 2007-01-03
inline constexpr std::int32_t kIndexLastDay = 2457023;   // 2014-12-31
inline constexpr const char* kIndexFileName = "DJIA_data.txt";

// Owned by the main window.  lines[1..count] are the trimmed non-blank lines
// in file order; lines[0] is empty.
struct IndexData {
    std::vector<std::string> lines;
    std::int32_t count = 0;
    std::int32_t firstDay = 0;  // covered range, set by LoadIndexData
    std::int32_t lastDay = 0;
};

// Reads fileName (by default "DJIA_data.txt" in the current working folder);
// a count other than 2088 shows "Error reading DJIA data file <fileName>",
// with the system's reason when the file could not be read (OK button, no
// icon, default title).  A line whose value is not a number is shown in the
// same box with its line number in the file ("Line 17: the value \"12a4.5\"
// is not a number.").  A file larger than kIndexFileMaxBytes, or one that is
// not a regular file, is not read.  The covered range is set in any case.
// Returns whether the file was read whole (no message shown).
bool LoadIndexData(IndexData& data, MessageBoxes& boxes,
                   const std::string& fileName = kIndexFileName);

// The index file to read: the working folder's where it has one, else the
// copy in programFolder (beside the program) where that folder is given and
// has one, else the working folder's, whose failure is then reported.
std::string IndexFilePath(const std::string& workingFolder, const std::string& programFolder);

// The value of the first of days dayJdn .. dayJdn + 4 that has a line with a
// value above 0; false when none has.
bool IndexValueForDay(const IndexData& data, std::int32_t dayJdn, double& value);

// Binary search of key over list[1..count], comparing each entry's text from
// firstColumn (1-based) for length characters with key (exactly, or ignoring
// ASCII case when exactComparison is false).  True and position >= 1 on a
// match; false and position <= -1 otherwise.  Entries missing from list or
// shorter than the segment are compared by what they hold.
bool BinarySearch(const std::string& key, const std::vector<std::string>& list, std::int32_t count,
                  std::int32_t& position, std::int32_t firstColumn, std::int32_t length,
                  bool exactComparison);

// The value of a line: its whole text from column 12, read as a number.
double IndexLineValue(const std::string& line);
// Whether that text is a number (or empty: a line with only its date).
bool IndexLineValueIsNumber(const std::string& line);

// The index file is some 40 KB; anything above this is not it.
inline constexpr std::int64_t kIndexFileMaxBytes = 1 << 20;

}  // namespace vlt
