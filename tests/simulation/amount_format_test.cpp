// Number texts: record fields never depend on the locale; output amounts
// follow the formatter's separators and grouping.

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>
#include <vector>

#include "app/simulation/amount_format.h"

namespace vlt {
namespace {

TEST(AmountFormat, PlainDecimalUsesPointAndNoGrouping) {
    struct Case {
        double value;
        int decimals;
        std::string text;
    };
    const std::vector<Case> cases = {
        {12474.52, 2, "12474.52"}, {-0.004, 2, "0.00"},
        {-0.006, 2, "-0.01"},      {4.7619047, 2, "4.76"},
        {100.0, 0, "100"},         {0.125, 2, "0.12"},
        {0.375, 2, "0.38"},        {1234567.891, 2, "1234567.89"},
        {-20.0, 2, "-20.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlainDecimal(c.value, c.decimals), c.text) << c.value;
    }
}

// Record fields must keep "." even when the program runs under a locale
// whose C library decimal point is "," (Qt sets the C locale from the
// environment); the plain texts must not go through the C library's locale.
TEST(AmountFormat, PlainDecimalIgnoresTheGlobalCLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* chosen = nullptr;
    for (const char* name : names) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
    const std::string text = PlainDecimal(1234.5, 2);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "1234.50");
}

TEST(AmountFormat, SeparatorFormatterGroupsAndSeparates) {
    const SeparatorAmountFormatter cLike;
    const SeparatorAmountFormatter english(".", ",", "\3");
    const SeparatorAmountFormatter german(",", ".", "\3");
    const SeparatorAmountFormatter indian(".", ",", "\3\2");
    const SeparatorAmountFormatter narrowSpace(",", "\u202F", "\3");
    struct Case {
        const SeparatorAmountFormatter* formatter;
        double value;
        int decimals;
        std::string text;
    };
    const std::vector<Case> cases = {
        {&cLike, 1234567.891, 2, "1234567.89"},
        {&english, 1234567.891, 2, "1,234,567.89"},
        {&english, -1234.5, 2, "-1,234.50"},
        {&english, 999.999, 2, "1,000.00"},
        {&english, 999.994, 2, "999.99"},
        {&english, 100.0, 0, "100"},
        {&english, 0.0, 2, "0.00"},
        {&german, 1234567.891, 2, "1.234.567,89"},
        {&german, -0.5, 2, "-0,50"},
        {&indian, 123456789.0, 0, "12,34,56,789"},
        {&narrowSpace, 12345.6, 2, "12\u202F345,60"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.formatter->Format(c.value, c.decimals), c.text) << c.value;
    }
}

TEST(AmountFormat, LocaleFacetGivesItsSeparators) {
    // A facet with chosen separators stands for a user's locale.
    struct Punct : std::numpunct<wchar_t> {
        wchar_t do_decimal_point() const override { return L','; }
        wchar_t do_thousands_sep() const override { return L'\u00A0'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale locale(std::locale::classic(), new Punct);
    const SeparatorAmountFormatter f = AmountFormatterForLocale(locale);
    EXPECT_EQ(f.DecimalPoint(), ",");
    EXPECT_EQ(f.ThousandsSeparator(), "\u00A0");
    EXPECT_EQ(f.Format(-98765.432, 2), "-98\u00A0765,43");

    const SeparatorAmountFormatter classic = AmountFormatterForLocale(std::locale::classic());
    EXPECT_EQ(classic.Format(98765.432, 2), "98765.43");
}

TEST(AmountFormat, FittingWidthDropsDecimalsBeforeColumns) {
    struct Case {
        double value;
        int width;
        std::string text;
    };
    const std::vector<Case> cases = {
        {12474.52, 8, "12474.52"}, {123456.78, 8, "123456.8"}, {-999.99, 7, "-999.99"},
        {-1000.0, 7, "-1000.0"},   {1.0e12, 7, "9999999"},     {-1.0e12, 7, "-999999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecimalFittingWidth(c.value, c.width), c.text) << c.value;
    }
}

}  // namespace
}  // namespace vlt
