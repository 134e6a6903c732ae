#include "app/simulation/index_data.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string_view>

#include "app/support/date_processing.h"
#include "app/support/escaped_text.h"
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

bool LoadIndexData(IndexData& data, MessageBoxes& boxes, const std::string& fileName) {
    std::int32_t count = 0;
    std::string errorText;
    std::int32_t errorNumber = 0;
    // The reading rules of ReadLinesIntoList (blank lines skipped, lines
    // trimmed, stored from position 1), with the file's own line numbers
    // kept so that a bad value can be shown where it stands.
    data.lines.assign(1, std::string());
    std::int32_t fileLine = 0;
    std::int32_t badLine = 0;
    std::int32_t badLines = 0;
    std::string badValue;
    ForEachLineOfFile(
        fileName, false, false,
        [&](std::int32_t, std::string_view raw) {
            ++fileLine;
            const std::string_view line = TrimBlanks(raw);
            if (line.empty()) return;
            data.lines.emplace_back(line);
            if (!IndexLineValueIsNumber(data.lines.back())) {
                if (badLines++ == 0) {
                    badLine = fileLine;
                    badValue = line.size() > 11 ? std::string(line.substr(11)) : std::string();
                }
            }
        },
        count, errorText, errorNumber, kIndexFileMaxBytes);
    count = static_cast<std::int32_t>(data.lines.size()) - 1;
    data.count = count;
    data.firstDay = kIndexFirstDay;
    data.lastDay = kIndexLastDay;
    const bool read = count == kIndexLineCount && badLines == 0;
    if (!read) {
        std::string text = "Error reading DJIA data file " + fileName;
        if (!errorText.empty()) text += ": " + errorText;
        if (badLines > 0) {
            text += "\nLine " + std::to_string(badLine) + ": the value \"" +
                    EscapedForOneLine(badValue) + "\" is not a number.";
            if (badLines > 1) {
                text += "\n(" + std::to_string(badLines - 1) + " more line" +
                        (badLines > 2 ? "s" : "") + " of the same kind.)";
            }
        }
        boxes.Show(text, kDefaultTitle, MsgButtons::Ok, MsgIcon::None);
    }
    return read;
}

std::string IndexFilePath(const std::string& workingFolder, const std::string& programFolder) {
    namespace fs = std::filesystem;
    const fs::path working = fs::path(workingFolder) / kIndexFileName;
    std::error_code error;
    if (programFolder.empty() || fs::exists(working, error)) return working.string();
    const fs::path beside = fs::path(programFolder) / kIndexFileName;
    return fs::exists(beside, error) ? beside.string() : working.string();
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

bool BinarySearch(const std::string& key, const std::vector<std::string>& list, std::int32_t count,
                  std::int32_t& position, std::int32_t firstColumn, std::int32_t length,
                  bool exactComparison) {
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
    // The whole value, however long: cutting it to its last characters would
    // turn 10627.26 into 627.26.
    const std::string_view tail =
        line.size() > 11 ? std::string_view(line).substr(11) : std::string_view();
    return NumberFromText(tail);
}

bool IndexLineValueIsNumber(const std::string& line) {
    // A line that holds only its date has no value (the day counts as
    // missing); anything else must read whole as a number: blanks anywhere,
    // an optional sign, digits with at most one point.
    if (line.size() <= 11) return true;
    bool digit = false;
    bool point = false;
    bool sign = false;
    for (const char c : std::string_view(line).substr(11)) {
        if (c == ' ' || c == '\t') continue;
        if ((c == '+' || c == '-') && !sign && !digit && !point) {
            sign = true;
        } else if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digit = true;
        } else {
            return false;
        }
    }
    return digit || !(sign || point);
}

}  // namespace vlt
