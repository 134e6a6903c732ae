#pragma once
// The time-zone list: 48 entries, entry k standing for (k - 24) * 30 minutes
// east of GMT, entry 0 empty (no zone chosen), optionally with ten North
// American zone abbreviations in place of their offsets.

#include <cstdint>
#include <string>
#include <vector>

namespace vlt {

inline constexpr int kTimezoneCount = 48;
inline constexpr int kGmtIndex = 24;

// The texts of entries 0..47.
std::vector<std::string> TimezoneEntryTexts(bool northAmericanLabels);

// Minutes east of GMT of a list position.
inline int16_t TimezoneMinutesOfIndex(int index) { return static_cast<int16_t>((index - 24) * 30); }

// Minutes east of GMT from the computer's offset in seconds west of GMT,
// rounded to the nearest minute (halves to even).
int16_t MinutesEastOfGmt(int32_t secondsWest);

// The list position of a zone given in minutes east of GMT, by the nearest
// half hour (halves to even); may fall outside 1..47.
int TimezoneIndexOfMinutes(int minutesEast);

}  // namespace vlt
