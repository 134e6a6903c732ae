#include "app/simulation/price_series.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "app/support/escaped_text.h"
#include "app/support/text_file_reader.h"

namespace vlt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

// The text in double quotes, for messages, shown on one line whatever the
// file holds.
std::string Quoted(std::string_view text) { return '"' + EscapedForOneLine(text) + '"'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "YYYY-MM-DD" at the start of s (exactly these ten characters).
bool LooksLikeDate(std::string_view s) {
    if (s.size() < 10) return false;
    for (std::size_t i = 0; i < 10; ++i) {
        const bool hyphen = i == 4 || i == 7;
        if (hyphen ? s[i] != '-' : !IsDigit(s[i])) return false;
    }
    return true;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// The day number of an exact "YYYY-MM-DD" naming a real calendar day.
std::optional<std::int32_t> DayOf(std::string_view s) {
    if (s.size() != 10 || !LooksLikeDate(s)) return std::nullopt;
    const auto num = [&](std::size_t at, std::size_t n) {
        int v = 0;
        for (std::size_t i = at; i < at + n; ++i) v = v * 10 + (s[i] - '0');
        return v;
    };
    const int y = num(0, 4);
    const int m = num(5, 2);
    const int d = num(8, 2);
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || d < 1) return std::nullopt;
    const int inMonth = (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
    if (d > inMonth) return std::nullopt;
    return GregorianDayNumber(y, m, d);
}

enum class ValueKind { Trading, NoTrading, NotANumber, OutOfRange };

// A price text: empty, "null" or "NaN" (any case) mean no trading; otherwise
// a finite decimal number with "." as point.  Values not above 0 count as no
// trading, as in the index file.  Stricter than NumberFromText, which reads
// "12a" as 12: a damaged value in a price file must be refused, not guessed.
ValueKind ReadValue(std::string_view text, double& value) {
    text = TrimBlanks(text);
    if (text.empty() || SameIgnoringCase(text, "null") || SameIgnoringCase(text, "nan")) {
        value = 0.0;
        return ValueKind::NoTrading;
    }
    std::string_view digits = text;
    if (digits.front() == '+') digits.remove_prefix(1);
    if (digits.empty() ||
        !(IsDigit(digits.front()) || digits.front() == '.' || digits.front() == '-')) {
        return ValueKind::NotANumber;
    }
    double v = 0.0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), v, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range && end == digits.data() + digits.size()) {
        return ValueKind::OutOfRange;
    }
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(v)) {
        return ValueKind::NotANumber;
    }
    if (v > 0.0 && (v < kLowestPrice || v > kHighestPrice)) return ValueKind::OutOfRange;
    value = v > 0.0 ? v : 0.0;
    return v > 0.0 ? ValueKind::Trading : ValueKind::NoTrading;
}

// One CSV field with the column (1-based) at which it begins.
struct Field {
    std::string text;
    std::size_t column = 0;
};

// Splits a line at commas; a field may be enclosed in double quotes, with ""
// standing for one quote inside.  False when a quote is left open.
bool SplitCsv(std::string_view line, std::vector<Field>& fields, std::size_t& badColumn) {
    fields.clear();
    std::size_t i = 0;
    for (;;) {
        Field f;
        f.column = i + 1;
        // Blanks before an opening quote are tolerated.
        std::size_t j = i;
        while (j < line.size() && IsBlank(line[j])) ++j;
        if (j < line.size() && line[j] == '"') {
            ++j;
            bool closed = false;
            while (j < line.size()) {
                if (line[j] == '"') {
                    if (j + 1 < line.size() && line[j + 1] == '"') {
                        f.text += '"';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                f.text += line[j++];
            }
            if (!closed) {
                badColumn = f.column;
                return false;
            }
            while (j < line.size() && line[j] != ',') {
                if (!IsBlank(line[j])) {
                    badColumn = j + 1;
                    return false;
                }
                ++j;
            }
        } else {
            while (j < line.size() && line[j] != ',') ++j;
            f.text = std::string(TrimBlanks(line.substr(i, j - i)));
        }
        fields.push_back(std::move(f));
        if (j >= line.size()) break;
        i = j + 1;
    }
    return true;
}

// The layout of the file, known from its first non-blank line.
enum class Layout { Unknown, Index, Csv };

// Reads a price file line by line as its bytes arrive, so that memory holds
// the parsed days and one line, never the whole text.  LF, CR LF and CR
// alone all end a line (spreadsheets on different systems write each); a
// UTF-8 byte-order mark before the first line is skipped.
class PriceParser {
public:
    PriceParser(const std::string& name, const std::string& column, PriceSeries& series,
                std::string& error)
        : shownName_(EscapedForOneLine(name)), column_(column), series_(series), error_(error) {}

    // Takes the next bytes of the file; false once the file is refused.
    bool Feed(std::string_view bytes) {
        while (!bytes.empty() && !Failed()) {
            if (afterCr_ && bytes.front() == '\n') bytes.remove_prefix(1);
            afterCr_ = false;
            const std::size_t end = bytes.find_first_of("\r\n");
            if (end == std::string_view::npos) {
                Keep(bytes);
                break;
            }
            afterCr_ = bytes[end] == '\r';
            if (pending_.empty() && !overlong_) {
                Line(bytes.substr(0, end));
            } else {
                Keep(bytes.substr(0, end));
                Line(pending_);
            }
            pending_.clear();
            overlong_ = false;
            bytes.remove_prefix(end + 1);
        }
        return !Failed();
    }

    // The end of the file: the last line without its line end, then the
    // checks of the whole file.
    bool Finish() {
        if (!Failed() && (!pending_.empty() || overlong_)) Line(pending_);
        if (Failed()) return false;
        if (layout_ == Layout::Unknown) {
            lineNumber_ = 1;
            return Fail(1, "the file is empty");
        }
        std::size_t first = 0;
        while (first < series_.values.size() && !(series_.values[first] > 0.0)) ++first;
        if (first == series_.values.size()) return Fail(1, "the file holds no prices");
        std::size_t last = series_.values.size() - 1;
        while (!(series_.values[last] > 0.0)) --last;
        series_.firstDay = series_.days[first];
        series_.lastDay = series_.days[last];
        return true;
    }

private:
    // A line longer than the limit is not kept whole: knowing that it is too
    // long is enough, and a file without line ends cannot fill the memory.
    void Keep(std::string_view part) {
        const std::size_t room =
            kPriceLineLimit + 4 - std::min(pending_.size(), kPriceLineLimit + 4);
        if (part.size() > room) overlong_ = true;
        pending_.append(part.substr(0, std::min(room, part.size())));
    }

    void Line(std::string_view line) {
        ++lineNumber_;
        if (lineNumber_ == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (overlong_ || line.size() > kPriceLineLimit) {
            Fail(kPriceLineLimit + 1,
                 "the line is longer than " + std::to_string(kPriceLineLimit) + " characters");
            return;
        }
        if (TrimBlanks(line).empty()) return;
        switch (layout_) {
            case Layout::Unknown:
                layout_ = LooksLikeDate(TrimBlanks(line)) ? Layout::Index : Layout::Csv;
                if (layout_ == Layout::Index) {
                    IndexLine(line);
                } else {
                    CsvHeader(line);
                }
                break;
            case Layout::Index: IndexLine(line); break;
            case Layout::Csv: CsvRow(line); break;
        }
    }

    bool Fail(std::size_t column, const std::string& what) {
        if (error_.empty()) {
            error_ = "price file \"" + shownName_ + "\", line " + std::to_string(lineNumber_) +
                     ", column " + std::to_string(column) + ": " + what;
        }
        return false;
    }
    bool Failed() const { return !error_.empty(); }

    // Index-file layout: columns 1-10 the date, column 11 the comma, the
    // value from column 12 (leading and trailing blanks of a line do not
    // count).  Only a comma separates: with any character accepted there,
    // "2007-01-0312474.52" would be read as 2474.52.
    void IndexLine(std::string_view line) {
        const std::size_t lead = line.find_first_not_of(" \t");
        const std::string_view t = TrimBlanks(line);
        if (!LooksLikeDate(t)) {
            // The date is whatever comes before the first separator.
            const std::size_t sep = t.find_first_of(",; \t");
            Fail(lead + 1,
                 Quoted(t.substr(0, sep)) + " is not a date (YYYY-MM-DD, e.g. 2024-05-06)");
            return;
        }
        if (t.size() > 10 && t[10] != ',') {
            Fail(lead + 11, "a comma must follow the date, not " + Quoted(t.substr(10, 1)));
            return;
        }
        const std::string_view valueText = t.size() > 11 ? t.substr(11) : std::string_view();
        Add(t.substr(0, 10), lead + 1, valueText, lead + 12);
    }

    void CsvHeader(std::string_view header) {
        std::size_t badColumn = 0;
        if (!SplitCsv(header, fields_, badColumn)) {
            Fail(badColumn, "a quote is not closed");
            return;
        }
        dateField_ = fields_.size();
        valueField_ = fields_.size();
        for (std::size_t k = 0; k < fields_.size(); ++k) {
            const std::string_view name = TrimBlanks(fields_[k].text);
            if (dateField_ == fields_.size() && SameIgnoringCase(name, "Date")) dateField_ = k;
            if (valueField_ == fields_.size() && SameIgnoringCase(name, column_)) valueField_ = k;
        }
        if (dateField_ == fields_.size()) {
            Fail(1,
                 "the first line is neither a dated value (YYYY-MM-DD,value) "
                 "nor a header naming a Date column");
        } else if (valueField_ == fields_.size()) {
            Fail(1, "the header has no column " + Quoted(column_));
        }
    }

    void CsvRow(std::string_view line) {
        std::size_t badColumn = 0;
        if (!SplitCsv(line, fields_, badColumn)) {
            Fail(badColumn, "a quote is not closed");
            return;
        }
        const std::size_t needed = std::max(dateField_, valueField_) + 1;
        if (fields_.size() < needed) {
            Fail(line.size() + 1, "the line has " + std::to_string(fields_.size()) +
                                      " fields; the header names " + std::to_string(needed) +
                                      " or more");
            return;
        }
        const Field& d = fields_[dateField_];
        const Field& v = fields_[valueField_];
        Add(TrimBlanks(d.text), d.column, v.text, v.column);
    }

    // Adds one dated value, checking the order of the dates.
    void Add(std::string_view dateText, std::size_t dateColumn, std::string_view valueText,
             std::size_t valueColumn) {
        const auto day = DayOf(dateText);
        if (!day) {
            Fail(dateColumn, Quoted(dateText) + " is not a date (YYYY-MM-DD, e.g. 2024-05-06)");
            return;
        }
        if (!series_.days.empty() && *day <= series_.days.back()) {
            const bool repeated = *day == series_.days.back();
            std::string what = "date ";
            what.append(dateText);
            what += repeated ? " is repeated (line " : " is before the date of line ";
            what += std::to_string(previousLine_);
            what += repeated ? ")" : "; dates must ascend";
            Fail(dateColumn, what);
            return;
        }
        double value = 0.0;
        switch (ReadValue(valueText, value)) {
            case ValueKind::NotANumber:
                Fail(valueColumn, Quoted(TrimBlanks(valueText)) + " is not a number");
                return;
            case ValueKind::OutOfRange:
                Fail(valueColumn, Quoted(TrimBlanks(valueText)) + " is outside the prices taken (" +
                                      kPriceRangeText + ")");
                return;
            case ValueKind::Trading:
            case ValueKind::NoTrading: break;
        }
        series_.days.push_back(*day);
        series_.values.push_back(value);
        previousLine_ = lineNumber_;
    }

    const std::string shownName_;
    const std::string column_;
    PriceSeries& series_;
    std::string& error_;
    std::string pending_;    // the start of a line whose end has not arrived
    bool overlong_ = false;  // pending_ was cut at the line limit
    bool afterCr_ = false;   // the last byte was a CR: an LF next ends no line
    Layout layout_ = Layout::Unknown;
    std::vector<Field> fields_;
    std::size_t dateField_ = 0;
    std::size_t valueField_ = 0;
    std::size_t lineNumber_ = 0;
    std::size_t previousLine_ = 0;
};

}  // namespace

std::int32_t GregorianDayNumber(int year, int month, int day) {
    const std::int64_t a = (14 - month) / 12;
    const std::int64_t y = static_cast<std::int64_t>(year) + 4800 - a;
    const std::int64_t m = month + 12 * a - 3;
    return static_cast<std::int32_t>(day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 -
                                     32045);
}

bool ParsePriceSeries(std::string_view text, const std::string& name, const std::string& column,
                      PriceSeries& series, std::string& error) {
    series = PriceSeries{};
    series.name = name;
    error.clear();
    PriceParser parser(name, column, series, error);
    return parser.Feed(text) && parser.Finish();
}

namespace {

// Why a file that exists is not read as prices at all, judged by its kind
// and size before a byte is read; "" when it is read.
std::string RefusedKind(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return "is a folder, not a file";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "is a device, not a file";
    if (S_ISFIFO(st.st_mode)) return "";
    if (!S_ISREG(st.st_mode)) return "is not a regular file";
    if (st.st_size > kPriceFileMaxBytes) return kPriceFileTooLarge;
    return "";
}

// Reads the open file in blocks into the parser.  A pipe has no size to
// judge beforehand, so the limit is kept while reading.
bool StreamInto(int fd, PriceParser& parser, std::string& refusal, bool& gotBytes) {
    char block[1 << 16];
    std::int64_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            refusal = "cannot be read";
            return false;
        }
        if (got == 0) return true;
        gotBytes = true;
        total += got;
        if (total > kPriceFileMaxBytes) {
            refusal = kPriceFileTooLarge;
            return false;
        }
        if (!parser.Feed(std::string_view(block, static_cast<std::size_t>(got)))) return false;
    }
}

}  // namespace

bool LoadPriceSeries(const std::string& path, const std::string& column, PriceSeries& series,
                     std::string& error) {
    series = PriceSeries{};
    series.name = path;
    error.clear();
    const std::string shown = "price file \"" + EscapedForOneLine(path) + "\" ";
    // Opened without waiting for a writer, so that a FIFO nobody writes to
    // cannot hang the run; a pipe that is read is then waited on as usual.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = shown + "cannot be read";
        return false;
    }
    struct stat st {};
    std::string refusal = ::fstat(fd, &st) != 0 ? "cannot be read" : RefusedKind(st);
    bool gotBytes = false;
    const bool pipe = S_ISFIFO(st.st_mode);
    if (refusal.empty()) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        PriceParser parser(path, column, series, error);
        if (StreamInto(fd, parser, refusal, gotBytes) && refusal.empty()) {
            if (pipe && !gotBytes) {
                refusal = "is a pipe that gave no data";
            } else {
                parser.Finish();
            }
        }
    }
    ::close(fd);
    if (!refusal.empty()) error = shown + refusal;
    return error.empty();
}

bool PriceValueForDay(const PriceSeries& series, std::int32_t dayJdn, double& value) {
    auto it = std::lower_bound(series.days.begin(), series.days.end(), dayJdn);
    for (std::int64_t k = 0; k < 5 && it != series.days.end(); ++k) {
        const std::int64_t day = static_cast<std::int64_t>(dayJdn) + k;
        while (it != series.days.end() && *it < day) ++it;
        if (it == series.days.end()) break;
        if (*it == day) {
            const double v = series.values[static_cast<std::size_t>(it - series.days.begin())];
            if (v > 0.0) {
                value = v;
                return true;
            }
        }
    }
    return false;
}

}  // namespace vlt
