#pragma once
// The texts of the time-zone list, which the window shows and every report
// names its zone by: 48 entries, entry k standing for (k - 24) * 30 minutes
// east of GMT, entry 0 empty (no zone chosen), optionally with ten North
// American zone abbreviations in place of their offsets.

#include <cstdint>
#include <string>
#include <vector>

#include "app/positions/request_rules.h"

namespace vlt {

// The texts of entries 0..47.
std::vector<std::string> TimezoneEntryTexts(bool northAmericanLabels);

// The list's position of a text (any case), 1..47, or 0.  The offsets are
// always understood; the North-American labels only when the list shows
// them (isLabel says the text was one).
int TimezoneIndex(const std::string& text, bool labels, bool& isLabel);

// Minutes east of GMT from the computer's offset in seconds west of GMT,
// rounded to the nearest minute (halves to even).
std::int16_t MinutesEastOfGmt(std::int32_t secondsWest);

}  // namespace vlt
