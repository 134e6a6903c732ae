#include "app/simulation/index_data.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "app/support/date_processing.h"
#include "app/support/numbers.h"
#include "app/support/text_file_reader.h"

namespace vlt {

namespace {

// The part of an entry that is compared with the key; shorter when the entry
// ends early, so that nothing is read past its end.
std::string_view Segment(const std::string& entry, std::int32_t firstColumn, std::int32_t length) {
    const std::size_t start = static_cast<std::size_t>(firstColumn - 1);
    if (start >= entry.size()) return std::string_view();
    return std::string_view(entry).substr(start, static_cast<std::size_t>(length));
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// <0, 0, >0 as key sorts before, equal to, after the segment.
int Compare(std::string_view key, std::string_view segment, bool exact) {
    if (exact) return key.compare(segment);
    const std::size_t n = std::min(key.size(), segment.size());
    for (std::size_t k = 0; k < n; ++k) {
        const unsigned char a = static_cast<unsigned char>(LowerAscii(key[k]));
        const unsigned char b = static_cast<unsigned char>(LowerAscii(segment[k]));
        if (a != b) return a < b ? -1 : 1;
    }
    if (key.size() == segment.size()) return 0;
    return key.size() < segment.size() ? -1 : 1;
}

}  // namespace

void LoadIndexData(IndexData& data, MessageBoxes& boxes, const std::string& fileName) {
    std::int32_t count = 0;
    std::string errorText;
    std::int32_t errorNumber = 0;
    ReadLinesIntoList(fileName, data.lines, 1, true, true, count, errorText, errorNumber);
    data.count = count;
    if (count != kIndexLineCount) {
        boxes.Show("Error reading DJIA data file", kDefaultTitle, MsgButtons::Ok, MsgIcon::None);
    }
    data.firstDay = kIndexFirstDay;
    data.lastDay = kIndexLastDay;
}

bool IndexValueForDay(const IndexData& data, std::int32_t dayJdn, double& value) {
    for (std::int64_t k = 0; k < 5; ++k) {
        const std::int64_t day = static_cast<std::int64_t>(dayJdn) + k;
        if (day > INT32_MAX) break;
        const std::string key =
            FormatDayNumber(static_cast<std::int32_t>(day), kOrderYearMonthDay, "-", "", false);
        std::int32_t position = 0;
        if (!BinarySearch(key, data.lines, data.count, position, 1,
                          static_cast<std::int32_t>(key.size()), true)) {
            continue;
        }
        const double found = IndexLineValue(data.lines[static_cast<std::size_t>(position)]);
        if (found > 0.0) {
            value = found;
            return true;
        }
    }
    return false;
}

bool BinarySearch(const std::string& key, const std::vector<std::string>& list,
                  std::int32_t count, std::int32_t& position, std::int32_t firstColumn,
                  std::int32_t length, bool exactComparison) {
    // Never look beyond the entries the list really holds.
    const std::int64_t held = list.empty() ? 0 : static_cast<std::int64_t>(list.size()) - 1;
    if (count > held) count = static_cast<std::int32_t>(held);
    if (firstColumn < 1) firstColumn = 1;
    if (length < 0) length = 0;
    auto cmp = [&](std::int32_t i) {
        return Compare(key, Segment(list[static_cast<std::size_t>(i)], firstColumn, length),
                       exactComparison);
    };

    if (count <= 0) {
        position = -1;
        return false;
    }
    if (cmp(1) < 0) {
        position = -1;
        return false;
    }
    if (cmp(count) > 0) {
        position = -(count + 1);
        return false;
    }
    if (count == 1) {
        position = 1;
        return true;
    }
    std::int32_t lo = 1;
    std::int32_t hi = count;
    std::int32_t mid = count / 2;
    for (;;) {
        const int c = cmp(mid);
        if (c == 0) {
            position = mid;
            return true;
        }
        if (c > 0) {
            if (mid == hi) {
                position = -(hi + 1);
                return false;
            }
            lo = mid + 1;
            mid = mid + (hi - mid + 1) / 2;
        } else {
            if (mid == lo) {
                position = -lo;
                return false;
            }
            hi = mid - 1;
            mid = mid - (mid - lo + 1) / 2;
        }
    }
}

double IndexLineValue(const std::string& line) {
    const std::string tail = line.size() > 11 ? line.substr(11) : std::string();
    const std::string padded = "0000" + tail;
    const std::size_t keep = std::min<std::size_t>(8, padded.size());
    return NumberFromText(std::string_view(padded).substr(padded.size() - keep));
}

}  // namespace vlt
