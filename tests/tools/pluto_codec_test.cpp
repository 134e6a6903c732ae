#include "tools/pluto_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace vlt::datagen {
namespace {

std::string Chars(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s += static_cast<char>(c);
    return s;
}

TEST(PlutoRounding, CarriesSixtyAndWrapsTheFullTurn) {
    struct Case {
        double degrees;
        int minutes;
    };
    const Case minute_cases[] = {
        {0.0, 0},        {359.9999, 0},  // 360 degrees is 0
        {10.99999, 660},                 // a rounded 60' is the next degree
        {59.995, 3600},                  // ... and 60 degrees the next sixty
        {0.125, 8},                      // 7.5' exactly: halves round up
        {0.1249, 7},     {-0.005, 0},   {-0.02, 21599}, {720.5, 30},
    };
    for (const Case& c : minute_cases) {
        EXPECT_EQ(RoundToMinutes(c.degrees), c.minutes) << c.degrees;
    }
    const Case second_cases[] = {
        {359.99999, 0},
        {1.0 + 59.6 / 3600, 3660},
        {1.0 + 59.0 / 60 + 59.7 / 3600, 7200},
        {123.0 + 4.0 / 60 + 5.4 / 3600, (123 * 60 + 4) * 60 + 5},
    };
    for (const Case& c : second_cases) {
        EXPECT_EQ(RoundToSeconds(c.degrees), c.minutes) << c.degrees;
    }
}

TEST(PlutoGeoEntry, KnownTexts) {
    // 123 deg 45': two sixties, 3 degrees, 45 minutes; index 3 adds 3.
    EXPECT_EQ(EncodeGeoEntry(3, 123 * 60 + 45), Chars({58 + 2 + 3, 59 + 3, 60 + 45}));
    // The offset repeats every 55 entries.
    EXPECT_EQ(EncodeGeoEntry(58, 123 * 60 + 45), EncodeGeoEntry(3, 123 * 60 + 45));
    EXPECT_EQ(EncodeGeoEntry(54, 359 * 60 + 59), Chars({58 + 5 + 54, 59 + 59, 60 + 59}));
}

TEST(PlutoGeoEntry, LowestCodesAreZeroOnlyWhereTheOffsetIsZero) {
    const std::string lowest = Chars({58, 59, 60});
    EXPECT_EQ(DecodeGeoEntry(0, lowest), 0);
    EXPECT_EQ(DecodeGeoEntry(55, lowest), 0);
    EXPECT_FALSE(DecodeGeoEntry(1, lowest).has_value());
    EXPECT_EQ(DecodeGeoEntry(1, Chars({59, 59, 60})), 0);
}

TEST(PlutoHelioEntry, KnownTexts) {
    // 359 deg 59' 59" at index 10: minutes 59 + 3, seconds 59, sixties 5 + 10,
    // degrees 59.
    EXPECT_EQ(EncodeHelioEntry(10, 1295999), Chars({60 + 59 + 3, 60 + 59, 58 + 5 + 10, 59 + 59}));
    EXPECT_EQ(DecodeHelioEntry(10, Chars({122, 119, 73, 118})), 1295999);
    EXPECT_EQ(DecodeHelioEntry(0, Chars({60, 60, 58, 59})), 0);
    EXPECT_FALSE(DecodeHelioEntry(1, Chars({60, 60, 58, 59})).has_value());
    // The highest code any entry can need.
    EXPECT_EQ(EncodeHelioEntry(6, 59 * 60)[0], static_cast<char>(125));
}

TEST(PlutoEntries, RoundTripWithinTheAllowedCodesAtEveryOffset) {
    // 385 indices cover every pair of the two offsets (mod 55, mod 7).
    const int geo_values[] = {0, 1, 59, 60, 3599, 3600, 12345, 21599};
    const int helio_values[] = {0, 1, 59, 60, 3599, 3600, 215999, 216000, 777777, 1295999};
    for (int i = 0; i < 385 * 2; ++i) {
        for (int v : geo_values) {
            const std::string e = EncodeGeoEntry(i, v);
            for (char c : e) {
                ASSERT_GE(static_cast<unsigned char>(c), kLowestCode);
                ASSERT_LE(static_cast<unsigned char>(c), kHighestCode);
            }
            ASSERT_EQ(DecodeGeoEntry(i, e), v) << i;
        }
        for (int v : helio_values) {
            const std::string e = EncodeHelioEntry(i, v);
            for (char c : e) {
                ASSERT_GE(static_cast<unsigned char>(c), kLowestCode);
                ASSERT_LE(static_cast<unsigned char>(c), kHighestCode);
            }
            ASSERT_EQ(DecodeHelioEntry(i, e), v) << i;
        }
    }
}

TEST(PlutoEntries, MalformedTextsAreRefused) {
    EXPECT_FALSE(DecodeGeoEntry(0, "").has_value());
    EXPECT_FALSE(DecodeGeoEntry(0, Chars({58, 59})).has_value());
    EXPECT_FALSE(DecodeGeoEntry(0, Chars({58, 59, 60, 60})).has_value());
    EXPECT_FALSE(DecodeGeoEntry(0, Chars({57, 59, 60})).has_value());
    EXPECT_FALSE(DecodeGeoEntry(0, Chars({58, 59 + 60, 60})).has_value());  // 60 degrees
    EXPECT_FALSE(DecodeGeoEntry(0, Chars({58 + 6, 59, 60})).has_value());   // sixth sixty
    EXPECT_FALSE(DecodeGeoEntry(-1, Chars({58, 59, 60})).has_value());
    EXPECT_FALSE(DecodeHelioEntry(0, Chars({60, 60 + 60, 58, 59})).has_value());  // 60"
    EXPECT_FALSE(DecodeHelioEntry(0, Chars({126, 60, 58, 59})).has_value());
    EXPECT_FALSE(DecodeHelioEntry(0, Chars({60, 60, 58})).has_value());
}

}  // namespace
}  // namespace vlt::datagen
