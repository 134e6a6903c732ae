#pragma once
// A daily price series read from a file the user names: the index file's own
// layout (`YYYY-MM-DD,value`, date-only lines for days without trading) or a
// CSV export with a header row naming a `Date` column and a price column
// (`Close` unless another is chosen).  The simulation values a day from it by
// the index file's rule: that day's value, else the next four days'.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vlt {

inline constexpr std::size_t kPriceLineLimit = 1000;  // characters per line
inline constexpr const char* kDefaultPriceColumn = "Close";

// The largest price file read: a daily series of ten thousand years is some
// 200 MB as a spreadsheet export with all its columns.  A larger file (or a
// device such as /dev/zero) is refused before it is read.
inline constexpr std::int64_t kPriceFileMaxBytes = std::int64_t{256} << 20;
inline constexpr const char* kPriceFileTooLarge =
    "is larger than 256 MB (268435456 bytes), the most a price file may hold";
// The prices taken: any real quote of a share, an index or a coin lies
// within them, and the gain of $100 over any two of them (at most 1e22
// dollars) stays a finite number that prints whole.
inline constexpr double kLowestPrice = 1e-8;
inline constexpr double kHighestPrice = 1e12;
inline constexpr const char* kPriceRangeText = "0.00000001 to 1000000000000";

struct PriceSeries {
    std::string name;                // the file as the user named it
    std::vector<std::int32_t> days;  // Julian day numbers, strictly ascending
    std::vector<double> values;      // per day; 0 when there was no trading
    // The covered range: the first and the last date with a value (a date
    // without trading at either end could not value a day).
    std::int32_t firstDay = 0;
    std::int32_t lastDay = 0;
    std::int32_t FirstDay() const { return firstDay; }
    std::int32_t LastDay() const { return lastDay; }
};

// Reads `text` (the content of the file called `name`) into `series`.  On bad
// input returns false and sets `error` to one line naming the file, the line
// and the column ("price file "x.csv", line 3, column 12: ..."); the name and
// the texts quoted from the file are escaped to stay on that line.  LF, CR LF
// and CR end a line; a UTF-8 byte-order mark at the start is skipped.  A
// price above 0 must lie within kLowestPrice .. kHighestPrice.
bool ParsePriceSeries(std::string_view text, const std::string& name, const std::string& column,
                      PriceSeries& series, std::string& error);

// Reads the file `path` and parses it as above, in blocks, so that memory
// holds the parsed series and one line.  A file that cannot be read is an
// error too, and so are a folder, a device, a pipe that gives no data and a
// file over kPriceFileMaxBytes, each with its own message.
bool LoadPriceSeries(const std::string& path, const std::string& column, PriceSeries& series,
                     std::string& error);

// The value of the first of days dayJdn .. dayJdn + 4 with a value above 0;
// false when none has.
bool PriceValueForDay(const PriceSeries& series, std::int32_t dayJdn, double& value);

// Julian day number of a Gregorian calendar date.
std::int32_t GregorianDayNumber(int year, int month, int day);

}  // namespace vlt
