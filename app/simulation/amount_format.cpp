#include "app/simulation/amount_format.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/support/numbers.h"

namespace vlt {

namespace {

// One UCS-4 character as UTF-8 (wchar_t holds UCS-4 on this platform).
std::string Utf8Of(wchar_t wc) {
    const auto c = static_cast<std::uint32_t>(wc);
    std::string out;
    if (c == 0) return out;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x110000) {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return out;
}

// Inserts the separator into a run of digits, groups counted from the right.
std::string GroupDigits(const std::string& digits, const std::string& separator,
                        const std::string& grouping) {
    if (separator.empty() || grouping.empty()) return digits;
    // Group sizes from the right; the last size repeats, a size <= 0 or
    // CHAR_MAX ends the grouping.
    std::string out;
    std::size_t remaining = digits.size();
    std::size_t groupIndex = 0;
    std::vector<std::string> groups;  // from the right
    while (remaining > 0) {
        const char g = grouping[std::min(groupIndex, grouping.size() - 1)];
        if (g <= 0 || g == CHAR_MAX) {
            groups.push_back(digits.substr(0, remaining));
            remaining = 0;
            break;
        }
        const auto size = static_cast<std::size_t>(g);
        if (size >= remaining) {
            groups.push_back(digits.substr(0, remaining));
            remaining = 0;
            break;
        }
        groups.push_back(digits.substr(remaining - size, size));
        remaining -= size;
        ++groupIndex;
    }
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
        if (!out.empty()) out += separator;
        out += *it;
    }
    return out;
}

}  // namespace

std::string PlainDecimal(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value)) value = 0.0;
    double rounded = RoundHalfEven(value, decimals);
    if (rounded == 0.0) rounded = 0.0;  // no "-0.00"
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return "0";
    return std::string(buffer, result.ptr);
}

std::string DecimalFittingWidth(double value, int width) {
    if (width < 1) return std::string();
    for (int decimals = 2; decimals >= 0; --decimals) {
        std::string text = PlainDecimal(value, decimals);
        if (static_cast<int>(text.size()) <= width) return text;
    }
    const auto digits = static_cast<std::size_t>(width);
    std::string nines(digits, '9');
    if (value < 0.0 && width >= 2) nines.front() = '-';
    return nines;
}

SeparatorAmountFormatter::SeparatorAmountFormatter(std::string decimalPoint,
                                                   std::string thousandsSeparator,
                                                   std::string grouping)
    : decimalPoint_(std::move(decimalPoint)),
      thousandsSeparator_(std::move(thousandsSeparator)),
      grouping_(std::move(grouping)) {
    if (decimalPoint_.empty()) decimalPoint_.push_back('.');
}

std::string SeparatorAmountFormatter::Format(double value, int decimals) const {
    const std::string plain = PlainDecimal(value, decimals);
    std::string_view rest = plain;
    std::string sign;
    if (!rest.empty() && rest.front() == '-') {
        sign = "-";
        rest.remove_prefix(1);
    }
    const auto point = rest.find('.');
    const std::string whole(rest.substr(0, point));
    std::string out = sign;
    out += GroupDigits(whole, thousandsSeparator_, grouping_);
    if (point != std::string_view::npos) {
        out += decimalPoint_;
        out += rest.substr(point + 1);
    }
    return out;
}

SeparatorAmountFormatter AmountFormatterForLocale(const std::locale& locale) {
    const auto& facet = std::use_facet<std::numpunct<wchar_t>>(locale);
    return SeparatorAmountFormatter(Utf8Of(facet.decimal_point()), Utf8Of(facet.thousands_sep()),
                                    facet.grouping());
}

SeparatorAmountFormatter UserLocaleAmountFormatter() {
    try {
        return AmountFormatterForLocale(std::locale(""));
    } catch (const std::runtime_error&) {
        return SeparatorAmountFormatter();
    }
}

}  // namespace vlt
