#pragma once
// Number texts of the investment simulation.  Two kinds: the fields of a
// simulation record, which always use "." and no digit grouping whatever the
// user's locale, and the dollar amounts of the output lines, which follow the
// user's locale for the decimal separator and digit grouping.

#include <locale>
#include <string>

namespace vlt {

// value rounded to `decimals` places (halves to even) and written with "."
// as decimal point, no grouping, a leading "-" when negative; never "-0.00".
// Locale-independent.
std::string PlainDecimal(double value, int decimals);

// The text of value with two decimals if that fits into `width` characters,
// else with one or no decimals; when even the whole number does not fit, the
// largest (or smallest) number of `width` characters.  Keeps a fixed-column
// record intact when an amount grows beyond what its field was made for.
std::string DecimalFittingWidth(double value, int width);

// Formats the dollar amounts of output lines.
class AmountFormatter {
public:
    virtual ~AmountFormatter() = default;
    // value rounded to `decimals` places (halves to even), with the
    // formatter's decimal separator and digit grouping; a negative value
    // begins with "-".
    virtual std::string Format(double value, int decimals) const = 0;
};

// Decimal separator, grouping separator and grouping sizes given explicitly
// (grouping as in std::numpunct: each char one group size from the right,
// the last one repeating; empty or a size of 0 or below means no more
// grouping).  The default is the "C" convention: "." and no grouping.
class SeparatorAmountFormatter : public AmountFormatter {
public:
    SeparatorAmountFormatter() = default;
    SeparatorAmountFormatter(std::string decimalPoint, std::string thousandsSeparator,
                             std::string grouping);
    std::string Format(double value, int decimals) const override;

    const std::string& DecimalPoint() const { return decimalPoint_; }
    const std::string& ThousandsSeparator() const { return thousandsSeparator_; }
    const std::string& Grouping() const { return grouping_; }

private:
    std::string decimalPoint_ = ".";
    std::string thousandsSeparator_;
    std::string grouping_;
};

// The separators and grouping of a locale's numeric facet, as UTF-8.
SeparatorAmountFormatter AmountFormatterForLocale(const std::locale& locale);

// The formatter of the user's locale (the environment's LC_ALL / LC_NUMERIC /
// LANG); the "C" convention when that locale is not available.
SeparatorAmountFormatter UserLocaleAmountFormatter();

}  // namespace vlt
