#include "tools/data_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vlt::datagen {
namespace {

bool IsGregorianLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

TEST(GregorianCalendar, NewYearOfKnownYears) {
    struct Case {
        int year;
        double jd;
    };
    // Published Julian dates of 0h on January 1 (proleptic Gregorian).
    const Case cases[] = {
        {2000, 2451544.5}, {1970, 2440587.5}, {1600, 2305447.5}, {1582, 2298873.5},
        {1, 1721425.5},    {0, 1721059.5},    {-4712, 37.5},     {-4000, 260089.5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JulianDateOfNewYear(c.year), c.jd) << c.year;
    }
}

TEST(GregorianCalendar, YearLengthsFollowTheLeapRule) {
    for (int y = -4010; y <= 2810; ++y) {
        const double length = JulianDateOfNewYear(y + 1) - JulianDateOfNewYear(y);
        ASSERT_EQ(length, IsGregorianLeap(y) ? 366.0 : 365.0) << y;
    }
}

TEST(GregorianCalendar, YearOfJulianDateChangesAtMidnightOfNewYear) {
    for (int y : {-4001, -4000, -1, 0, 1, 1599, 1600, 2000, 2799, 2800}) {
        const double jd = JulianDateOfNewYear(y);
        EXPECT_EQ(YearOfJulianDate(jd), y);
        EXPECT_EQ(YearOfJulianDate(jd + 0.999), y);
        EXPECT_EQ(YearOfJulianDate(jd - 0.0001), y - 1);
        EXPECT_EQ(YearOfJulianDate(jd + 364.9), y);
    }
}

TEST(RecordBlock, OriginIsTheMiddleAndEndTheNextBlock) {
    // 1600-1604 holds two leap days (1600, 1604): 1827 days.
    EXPECT_EQ(BlockOrigin(1600), 2305447.5 + 913.5);
    EXPECT_EQ(BlockEnd(1600), 2305447.5 + 1827);
    // 1700-1704 holds one (1704): 1826 days.
    EXPECT_EQ(BlockEnd(1700) - JulianDateOfNewYear(1700), 1826.0);
    EXPECT_EQ(BlockOrigin(1700), JulianDateOfNewYear(1700) + 913);
}

TEST(CoefficientText, KnownValuesTakeTheirMostPreciseForm) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {3.14159265358979, " 3.1415927"},
        {-3.14159265358979, "-3.1415927"},
        {30.1564081234, " 30.156408"},
        {-0.0234567891, "-.02345679"},
        {0.5, " 0.5000000"},
        {7.846321e-4, " 784632e-9"},
        {-1e-12, "    -1e-12"},
        {2.5e-13, "    25e-14"},
        {0.0, "         0"},
        {-0.0, "         0"},
        {123456789.4, " 123456789"},
        {1234567890.0, " 1234568e3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatCoefficient(c.value), c.text) << c.value;
    }
}

TEST(CoefficientText, EveryMagnitudeFitsAndReadsBackClosely) {
    for (int exponent = -40; exponent <= 12; ++exponent) {
        for (double mantissa : {1.0, 1.2345678912345, 4.99999999999, 9.87654321987654}) {
            for (double sign : {1.0, -1.0}) {
                const double value = sign * mantissa * std::pow(10.0, exponent);
                const std::string text = FormatCoefficient(value);
                ASSERT_EQ(text.size(), 10u) << value;
                ASSERT_TRUE(text[0] == ' ' || text[0] == '-') << text;
                const auto back = ParseField(text);
                ASSERT_TRUE(back.has_value()) << text;
                // At least five significant digits in nine characters.
                EXPECT_LE(std::fabs(*back - value), 5e-5 * std::fabs(value)) << text;
                if (std::fabs(value) >= 1e-3 && std::fabs(value) < 100) {
                    // A fixed form keeps at least six decimals below 100.
                    EXPECT_LE(std::fabs(*back - value), 5e-7 * std::fmax(std::fabs(value), 0.01))
                        << text;
                }
            }
        }
    }
}

TEST(CoefficientText, JulianDatesAreExactToHalfDays) {
    EXPECT_EQ(FormatJulianDate(2451544.5), " 2451544.5");
    EXPECT_EQ(FormatJulianDate(260089.5), "  260089.5");
    EXPECT_EQ(FormatJulianDate(2306361.0), " 2306361.0");
}

TEST(FieldParser, AcceptsOnlyNumbersEndingAtTheFieldEnd) {
    struct Case {
        const char* field;
        bool valid;
        double value;
    };
    const Case cases[] = {
        {" 3.1415927", true, 3.1415927}, {"-.02345679", true, -0.02345679},
        {" 784632e-9", true, 784632e-9}, {"  1.5     ", true, 1.5},
        {"         0", true, 0.0},       {"          ", false, 0},
        {"  1.5x    ", false, 0},        {"  1.5 2   ", false, 0},
        {"       inf", false, 0},        {"       nan", false, 0},
        {"     0x1p3", false, 0},        {"  abc     ", false, 0},
        {"     1e999", false, 0},
    };
    for (const Case& c : cases) {
        const auto value = ParseField(c.field);
        EXPECT_EQ(value.has_value(), c.valid) << c.field;
        if (value && c.valid) {
            EXPECT_DOUBLE_EQ(*value, c.value) << c.field;
        }
    }
}

TEST(RecordText, WritesEveryFieldAtItsOffsetAndReadsBack) {
    DacRecordData record;
    record.first_year = -3995;
    record.t0 = 262829.5;
    record.end_jd = 263742.5;
    for (int q = 0; q < 3; ++q) {
        for (int k = 0; k < kCoefficients; ++k) {
            record.coefficients[q][k] = (q + 1) * std::pow(-0.37, k) * (k % 2 ? -1 : 1);
        }
    }
    const std::string text = FormatRecord(record);
    ASSERT_EQ(text.size(), 235u);
    EXPECT_EQ(text.substr(0, 5), "-3995");
    EXPECT_EQ(text.substr(5, 10), "  262829.5");
    EXPECT_EQ(text.substr(15, 10), "  263742.5");
    for (int field = 0; field < 21; ++field) {
        const std::string piece = text.substr(25 + 10 * field, 10);
        EXPECT_TRUE(piece[0] == ' ' || piece[0] == '-') << piece;
        const auto value = ParseField(piece);
        ASSERT_TRUE(value.has_value()) << piece;
        EXPECT_NEAR(*value, record.coefficients[field / 7][field % 7], 6e-8) << field;
    }
    const auto parsed = ParseRecord(text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->first_year, -3995);
    EXPECT_EQ(parsed->t0, 262829.5);
    EXPECT_EQ(parsed->end_jd, 263742.5);
    EXPECT_FALSE(ParseRecord(text.substr(0, 234)).has_value());
    std::string broken = text;
    broken[100] = 'x';
    EXPECT_FALSE(ParseRecord(broken).has_value());
}

TEST(RecordEvaluation, UsesTimeInUnitsOfTwoThousandDays) {
    DacRecordData record;
    record.t0 = 2451545.0;
    const double c[kCoefficients] = {1.5, -0.25, 0.125, 2.0, -1.0, 0.5, 0.75};
    for (int k = 0; k < kCoefficients; ++k) record.coefficients[1][k] = c[k];
    EXPECT_DOUBLE_EQ(EvaluateQuantity(record, 1, 2451545.0), 1.5);
    // t = 1: the sum of the coefficients; t = -1: the alternating sum.
    EXPECT_DOUBLE_EQ(EvaluateQuantity(record, 1, 2453545.0), 3.625);
    EXPECT_DOUBLE_EQ(EvaluateQuantity(record, 1, 2449545.0), -0.875);
    // t = 0.5: 1.5 - 0.125 + 0.03125 + 0.25 - 0.0625 + 0.015625 + 0.01171875
    EXPECT_DOUBLE_EQ(EvaluateQuantity(record, 1, 2452545.0), 1.62109375);
}

}  // namespace
}  // namespace vlt::datagen
