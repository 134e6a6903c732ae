#include "app/simulation/price_series.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

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

enum class ValueKind { Trading, NoTrading, NotANumber };

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
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(v)) {
        return ValueKind::NotANumber;
    }
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

class Reader {
public:
    Reader(std::string_view text, const std::string& name, PriceSeries& series, std::string& error)
        : text_(text), name_(name), series_(series), error_(error) {}

    // The next non-blank line with its number, without its line end; false
    // at the end of the text or on a line too long.
    bool NextLine(std::string_view& line) {
        while (pos_ < text_.size()) {
            const std::size_t nl = text_.find('\n', pos_);
            const std::size_t stop = nl == std::string_view::npos ? text_.size() : nl;
            line = text_.substr(pos_, stop - pos_);
            pos_ = stop == text_.size() ? stop : stop + 1;
            ++lineNumber_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.size() > kPriceLineLimit) {
                Fail(kPriceLineLimit + 1,
                     "the line is longer than " + std::to_string(kPriceLineLimit) + " characters");
                return false;
            }
            if (!TrimBlanks(line).empty()) return true;
        }
        return false;
    }

    bool Fail(std::size_t column, const std::string& what) {
        if (error_.empty()) {
            error_ = "price file \"" + name_ + "\", line " + std::to_string(lineNumber_) +
                     ", column " + std::to_string(column) + ": " + what;
        }
        return false;
    }
    bool Failed() const { return !error_.empty(); }

    // Adds one dated value, checking the order of the dates.
    bool Add(std::string_view dateText, std::size_t dateColumn, std::string_view valueText,
             std::size_t valueColumn) {
        const auto day = DayOf(dateText);
        if (!day) {
            return Fail(dateColumn,
                        Quoted(dateText) + " is not a date (YYYY-MM-DD, e.g. 2024-05-06)");
        }
        if (!series_.days.empty() && *day <= series_.days.back()) {
            const bool repeated = *day == series_.days.back();
            std::string what = "date ";
            what.append(dateText);
            what += repeated ? " is repeated (line " : " is before the date of line ";
            what += std::to_string(previousLine_);
            what += repeated ? ")" : "; dates must ascend";
            return Fail(dateColumn, what);
        }
        double value = 0.0;
        if (ReadValue(valueText, value) == ValueKind::NotANumber) {
            return Fail(valueColumn, Quoted(TrimBlanks(valueText)) + " is not a number");
        }
        series_.days.push_back(*day);
        series_.values.push_back(value);
        previousLine_ = lineNumber_;
        return true;
    }

    std::size_t LineNumber() const { return lineNumber_; }

private:
    std::string_view text_;
    const std::string& name_;
    PriceSeries& series_;
    std::string& error_;
    std::size_t pos_ = 0;
    std::size_t lineNumber_ = 0;
    std::size_t previousLine_ = 0;
};

// Index-file layout: columns 1-10 the date, column 11 a separator, the value
// from column 12 (leading and trailing blanks of a line do not count).
bool ReadIndexLayout(Reader& reader, std::string_view first) {
    std::string_view line = first;
    do {
        const std::size_t lead = line.find_first_not_of(" \t");
        const std::string_view t = TrimBlanks(line);
        const std::string_view dateText = t.substr(0, std::min<std::size_t>(10, t.size()));
        if (!LooksLikeDate(t)) {
            // The date is whatever comes before the first separator.
            const std::size_t sep = t.find_first_of(",; \t");
            return reader.Fail(lead + 1, Quoted(t.substr(0, sep)) +
                                             " is not a date (YYYY-MM-DD, e.g. 2024-05-06)");
        }
        const std::string_view valueText = t.size() > 11 ? t.substr(11) : std::string_view();
        if (!reader.Add(dateText, lead + 1, valueText, lead + 12)) return false;
    } while (reader.NextLine(line));
    return !reader.Failed();
}

bool ReadCsvLayout(Reader& reader, std::string_view header, const std::string& column) {
    std::vector<Field> fields;
    std::size_t badColumn = 0;
    if (!SplitCsv(header, fields, badColumn))
        return reader.Fail(badColumn, "a quote is not closed");
    std::size_t dateField = fields.size();
    std::size_t valueField = fields.size();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const std::string_view name = TrimBlanks(fields[k].text);
        if (dateField == fields.size() && SameIgnoringCase(name, "Date")) dateField = k;
        if (valueField == fields.size() && SameIgnoringCase(name, column)) valueField = k;
    }
    if (dateField == fields.size()) {
        return reader.Fail(1,
                           "the first line is neither a dated value (YYYY-MM-DD,value) "
                           "nor a header naming a Date column");
    }
    if (valueField == fields.size()) {
        return reader.Fail(1, "the header has no column \"" + column + "\"");
    }
    const std::size_t needed = std::max(dateField, valueField) + 1;
    std::string_view line;
    while (reader.NextLine(line)) {
        if (!SplitCsv(line, fields, badColumn))
            return reader.Fail(badColumn, "a quote is not closed");
        if (fields.size() < needed) {
            return reader.Fail(line.size() + 1, "the line has " + std::to_string(fields.size()) +
                                                    " fields; the header names " +
                                                    std::to_string(needed) + " or more");
        }
        const Field& d = fields[dateField];
        const Field& v = fields[valueField];
        if (!reader.Add(TrimBlanks(d.text), d.column, v.text, v.column)) return false;
    }
    return !reader.Failed();
}

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
    Reader reader(text, name, series, error);
    std::string_view first;
    if (!reader.NextLine(first)) {
        if (reader.Failed()) return false;
        error = "price file \"" + name + "\", line 1, column 1: the file is empty";
        return false;
    }
    const bool indexLayout = LooksLikeDate(TrimBlanks(first));
    const bool ok =
        indexLayout ? ReadIndexLayout(reader, first) : ReadCsvLayout(reader, first, column);
    if (!ok) return false;
    std::size_t firstValue = 0;
    while (firstValue < series.values.size() && !(series.values[firstValue] > 0.0)) ++firstValue;
    if (firstValue == series.values.size()) {
        error = "price file \"" + name + "\", line " + std::to_string(reader.LineNumber()) +
                ", column 1: the file holds no prices";
        return false;
    }
    std::size_t last = series.values.size() - 1;
    while (!(series.values[last] > 0.0)) --last;
    series.firstDay = series.days[firstValue];
    series.lastDay = series.days[last];
    return true;
}

bool LoadPriceSeries(const std::string& path, const std::string& column, PriceSeries& series,
                     std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "price file \"" + path + "\" cannot be read";
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        error = "price file \"" + path + "\" cannot be read";
        return false;
    }
    return ParsePriceSeries(content.str(), path, column, series, error);
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
