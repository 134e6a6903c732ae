// Pluto tables built by the test's own encoder, read back through the
// program's loader and interpolator.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "app/positions/pluto_tables.h"
#include "app/positions/position_failure.h"
#include "app/positions/positions.h"
#include "tests/positions/test_support.h"

namespace {

using namespace vlt;
using vlt_test::EncodeGeoEntry;
using vlt_test::EncodeHelioEntry;

constexpr double kFirstJd = 2305447.5;  // 1600-01-01 0h, entry 0

// Expected radians from degrees, by the interpolation rule of the tables.
double Radians(double degrees) { return degrees / 360.0 * 6.28318530717959; }

class PlutoTables : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlutoTables();
        InitPositionsWithFolder(folder_.Path());
    }
    void TearDown() override { ResetPlutoTables(); }

    // Loads a geocentric table from raw text and a heliocentric one from
    // longitudes in seconds of arc.
    bool Load(const std::string& geoText, const std::string& helioText) {
        folder_.Write("pluto.slx", geoText);
        folder_.Write("hpluto.2199.slx", helioText);
        return ReadPlutoData(boxes_);
    }

    vlt_test::ScratchFolder folder_;
    vlt_test::RecordingBoxes boxes_;
};

TEST_F(PlutoTables, InterpolatesWithinTheDayAndWrapsAcrossZero) {
    // Minutes of arc per entry: a steady climb, then 359°30' -> 0°12',
    // then 0°12' -> 359°30' (moving backwards across 0).
    std::vector<int> geo = {100 * 60, 101 * 60, 102 * 60 + 30, 359 * 60 + 30, 12, 359 * 60 + 30};
    std::string geoText = vlt_test::GeoTableText(geo);
    std::vector<int> helio = {0, 3600, 2 * 3600 + 30 * 60 + 15};
    ASSERT_TRUE(Load(geoText, vlt_test::HelioTableText(helio)));
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(GeoPlutoEntryCount(), 6);

    struct Case {
        double jd;
        double degrees;
    } cases[] = {
        {kFirstJd, 100.0},                                    // exactly entry 0
        {kFirstJd + 0.25, 100.25}, {kFirstJd + 1.5, 101.75},  // 101 -> 102.5 at half a day
        {kFirstJd + 3.5, 359.85},                             // 359.5 -> 360.2 at half a day
        {kFirstJd + 3.9, 0.13},                               // reduced once
        {kFirstJd + 4.5, 359.85},                             // backwards across 0
        {kFirstJd + 4.0, 0.2},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(GeoPlutoLongitude(c.jd), Radians(c.degrees), 1e-9) << c.jd;
    }
    EXPECT_NEAR(HelioPlutoLongitude(kFirstJd + 1.5),
                Radians(1.0 + (2.0 + 30.0 / 60 + 15.0 / 3600 - 1.0) / 2), 1e-12);
}

TEST_F(PlutoTables, PositionDependentOffsetsAt55And7) {
    // The same longitude at many indexes: the first character changes with
    // i mod 55 (and the heliocentric one with i mod 7); all decode alike.
    const int arcMinutes = 123 * 60 + 45;
    const int arcSeconds = (123 * 60 + 45) * 60 + 6;
    std::vector<int> geo(400, arcMinutes);
    std::vector<int> helio(400, arcSeconds);
    ASSERT_TRUE(Load(vlt_test::GeoTableText(geo), vlt_test::HelioTableText(helio)));
    for (int i : {0, 6, 7, 8, 13, 14, 54, 55, 56, 110, 384, 385, 398}) {
        EXPECT_DOUBLE_EQ(DecodeGeoPlutoEntry(i), 123.75) << i;
        EXPECT_DOUBLE_EQ(DecodeHelioPlutoEntry(i), 60.0 * 2 + 3 + 45.0 / 60 + 6.0 / 3600) << i;
    }
    // The encodings really do differ between these indexes.
    EXPECT_NE(EncodeGeoEntry(54, arcMinutes), EncodeGeoEntry(55, arcMinutes));
    EXPECT_EQ(EncodeGeoEntry(0, arcMinutes), EncodeGeoEntry(55, arcMinutes));
    EXPECT_NE(EncodeHelioEntry(6, arcSeconds), EncodeHelioEntry(7, arcSeconds));
}

TEST_F(PlutoTables, LowestCharactersAreZeroOnlyWhereTheOffsetIsZero) {
    // ":;<" (codes 58, 59, 60) is 0 degrees as entry 0 or 55, and not an
    // entry at all at index 1 (its sixties would be -1).
    std::string geo;
    for (int i = 0; i < 60; ++i)
        geo += (i == 0 || i == 1 || i == 55 ? std::string(":;<") : EncodeGeoEntry(i, 600)) + "\n";
    ASSERT_TRUE(Load(geo, vlt_test::HelioTableText({0, 0})));
    EXPECT_DOUBLE_EQ(DecodeGeoPlutoEntry(0), 0.0);
    EXPECT_DOUBLE_EQ(DecodeGeoPlutoEntry(55), 0.0);
    EXPECT_EQ(DecodeGeoPlutoEntry(1), kMalformedPlutoEntry);
    EXPECT_EQ(GeoPlutoLongitude(kFirstJd + 0.5), kMalformedPlutoEntry);  // uses entries 0 and 1
    EXPECT_EQ(GeoPlutoLongitude(kFirstJd + 1.5), kMalformedPlutoEntry);  // uses entries 1 and 2
    EXPECT_NEAR(GeoPlutoLongitude(kFirstJd + 2.5), Radians(10.0), 1e-12);
}

TEST_F(PlutoTables, BlankLinesTakeNoIndexAndLinesAreTrimmed) {
    const std::string geo = "  " + EncodeGeoEntry(0, 60) + "  \r\n\r\n   \r\n" +
                            EncodeGeoEntry(1, 120) + "\r\n" + EncodeGeoEntry(2, 180) + "\n";
    ASSERT_TRUE(Load(geo, vlt_test::HelioTableText({0, 0})));
    EXPECT_EQ(GeoPlutoEntryCount(), 3);
    EXPECT_DOUBLE_EQ(DecodeGeoPlutoEntry(0), 1.0);
    EXPECT_DOUBLE_EQ(DecodeGeoPlutoEntry(1), 2.0);
    EXPECT_DOUBLE_EQ(DecodeGeoPlutoEntry(2), 3.0);
}

TEST_F(PlutoTables, MalformedEntriesAnswerTheirOwnCode) {
    struct Case {
        const char* why;
        std::string geoEntry;    // replaces entry 3 of the geocentric table
        std::string helioEntry;  // replaces entry 3 of the heliocentric table
    } cases[] = {
        {"too short", "AB", "ABC"},
        {"character above 125", std::string("A") + '~' + "B", std::string("AB~") + "C"},
        {"character below 58", "A9B", "A9BC"},
        {"degrees above 59", EncodeGeoEntry(3, 0).substr(0, 1) + static_cast<char>(59 + 60) + "<",
         std::string("?<") + EncodeHelioEntry(3, 0).substr(2, 1) + static_cast<char>(59 + 60)},
        {"high byte", "A\xC3\xA4", "A\xC3\xA4Z"},
    };
    for (const auto& c : cases) {
        std::string geo;
        std::string helio;
        for (int i = 0; i < 6; ++i) {
            geo += (i == 3 ? c.geoEntry : EncodeGeoEntry(i, 600)) + "\n";
            helio += (i == 3 ? c.helioEntry : EncodeHelioEntry(i, 36000)) + "\n";
        }
        ASSERT_TRUE(Load(geo, helio)) << c.why;
        EXPECT_EQ(DecodeGeoPlutoEntry(3), kMalformedPlutoEntry) << c.why;
        EXPECT_EQ(DecodeHelioPlutoEntry(3), kMalformedPlutoEntry) << c.why;
        EXPECT_EQ(GeoPlutoLongitude(kFirstJd + 2.5), kMalformedPlutoEntry) << c.why;
        EXPECT_EQ(GeoPlutoLongitude(kFirstJd + 3.5), kMalformedPlutoEntry) << c.why;
        EXPECT_EQ(HelioPlutoLongitude(kFirstJd + 3.5), kMalformedPlutoEntry) << c.why;
        EXPECT_NEAR(GeoPlutoLongitude(kFirstJd + 1.5), Radians(10.0), 1e-12) << c.why;
        EXPECT_NEAR(HelioPlutoLongitude(kFirstJd + 4.5), Radians(10.0), 1e-12) << c.why;
    }
}

// The message about a damaged entry names its line in the file, which blank
// lines move away from the entry's number and the day computed.
TEST_F(PlutoTables, DamagedEntryIsNamedByItsLineInTheFile) {
    std::string geo = "\n";  // line 1 blank: entry i stands on line i + 2
    std::string helio;
    for (int i = 0; i < 8; ++i) {
        geo += (i == 5 ? std::string("A9B") : EncodeGeoEntry(i, 600)) + "\n";
        helio += (i == 2 ? std::string("AB") : EncodeHelioEntry(i, 36000)) + "\n";
    }
    ASSERT_TRUE(Load(geo, helio));
    const struct {
        bool helio;
        double jd;
        const char* message;
    } cases[] = {
        {false, kFirstJd + 4.5,
         "Cannot read the data file pluto.slx: the entry on line 7 is damaged."},
        {false, kFirstJd + 5.25,
         "Cannot read the data file pluto.slx: the entry on line 7 is damaged."},
        {true, kFirstJd + 1.5,
         "Cannot read the data file hpluto.2199.slx: the entry on line 3 is damaged."},
        {true, kFirstJd + 2.5,
         "Cannot read the data file hpluto.2199.slx: the entry on line 3 is damaged."},
    };
    for (const auto& c : cases) {
        const double code = c.helio ? HelioPlutoLongitude(c.jd) : GeoPlutoLongitude(c.jd);
        ASSERT_EQ(code, kMalformedPlutoEntry) << c.jd;
        EXPECT_EQ(DescribePositionFailure(9, c.jd, c.helio, code).Message(), c.message);
    }
    // Days drawn from good entries have none to name.
    EXPECT_EQ(PlutoDamagedLine(false, kFirstJd + 3.5), 0);
    EXPECT_EQ(PlutoDamagedLine(true, kFirstJd + 3.5), 0);
}

// A table that ends early is a damaged file (kPlutoTableShort), not a date
// after the data; a table not in memory answers kPlutoTableNotRead.
TEST_F(PlutoTables, ShortOrMissingTablesAnswerAfterTheTableWithoutReadingPastIt) {
    ASSERT_TRUE(Load(vlt_test::GeoTableText(std::vector<int>(100, 600)),
                     vlt_test::HelioTableText(std::vector<int>(10, 36000))));
    EXPECT_NEAR(GeoPlutoLongitude(kFirstJd + 98.5), Radians(10.0), 1e-12);  // entries 98, 99
    EXPECT_EQ(GeoPlutoLongitude(kFirstJd + 99.0), kPlutoTableShort);        // needs entry 100
    EXPECT_EQ(HelioPlutoLongitude(kFirstJd + 9.0), kPlutoTableShort);
    EXPECT_EQ(DecodeGeoPlutoEntry(100), -100.0);
    EXPECT_EQ(DecodeGeoPlutoEntry(-1), -100.0);
    EXPECT_EQ(DecodeHelioPlutoEntry(std::numeric_limits<std::int32_t>::max()), -100.0);
    ResetPlutoTables();
    EXPECT_EQ(GeoPlutoLongitude(kFirstJd), kPlutoTableNotRead);
    EXPECT_EQ(HelioPlutoLongitude(kFirstJd), kPlutoTableNotRead);
    // The span's own limits keep their meaning.
    EXPECT_EQ(GeoPlutoLongitude(kFirstJd - 1.0), -99.0);
    EXPECT_EQ(GeoPlutoLongitude(2488069.5), -100.0);
}

TEST_F(PlutoTables, RangeLimitsOfBothFullSizeTables) {
    // Full-size tables with a slow steady motion; entry i at (i mod 21600)
    // minutes of arc, helio at (i mod 1296000) seconds.
    std::vector<int> geo(182623);
    for (std::size_t i = 0; i < geo.size(); ++i) geo[i] = static_cast<int>(i % 21600);
    std::vector<int> helio(219147);
    for (std::size_t i = 0; i < helio.size(); ++i) helio[i] = static_cast<int>((i * 7) % 1296000);
    ASSERT_TRUE(Load(vlt_test::GeoTableText(geo), vlt_test::HelioTableText(helio)));
    EXPECT_EQ(GeoPlutoEntryCount(), 182623);
    EXPECT_EQ(HelioPlutoEntryCount(), 219147);

    const double g621 = (182621 % 21600) / 60.0;
    const double g622 = (182622 % 21600) / 60.0;
    struct Case {
        double jd;
        bool helio;
        double expected;  // radians, or an error code
    } cases[] = {
        {kFirstJd - 0.01, false, -99.0},
        {kFirstJd - 0.01, true, -99.0},
        {-1e300, false, -99.0},
        {2488069.4, false, Radians(g621 + 0.9 * (g622 - g621))},
        {2488069.5, false, -100.0},
        {1e300, false, -100.0},
        {2488069.5, true, Radians(((182622 * 7) % 1296000) / 3600.0)},
        {2524593.4, true, Radians(((219145 * 7) % 1296000) / 3600.0 + 0.9 * 7.0 / 3600)},
        {2524593.5, true, -100.0},
        {std::numeric_limits<double>::quiet_NaN(), false, -105.0},
        {std::numeric_limits<double>::infinity(), true, -105.0},
    };
    for (const auto& c : cases) {
        const double got = c.helio ? HelioPlutoLongitude(c.jd) : GeoPlutoLongitude(c.jd);
        if (c.expected < 0) {
            EXPECT_EQ(got, c.expected) << c.jd;
        } else {
            EXPECT_NEAR(got, c.expected, 1e-9) << c.jd;
        }
    }
    // Through the dispatch as well.
    EXPECT_EQ(PlanetLongitude(9, 2488069.5, false), -100.0);
    EXPECT_NEAR(PlanetLongitude(9, 2488069.5, true), Radians(((182622 * 7) % 1296000) / 3600.0),
                1e-9);
}

// Each table's availability is its own: a missing geocentric file is
// reported and the heliocentric table is still read.
TEST_F(PlutoTables, MissingGeocentricFileIsReportedAndTheOtherIsStillRead) {
    folder_.Write("hpluto.2199.slx", vlt_test::HelioTableText({0, 0, 0}));
    EXPECT_FALSE(ReadPlutoData(boxes_));
    ASSERT_EQ(boxes_.shown.size(), 1u);
    const auto& box = boxes_.shown[0];
    EXPECT_EQ(box.title, "Read Pluto Data");
    EXPECT_EQ(box.text,
              "Error when reading geocentric Pluto data.\n" + std::string(std::strerror(ENOENT)));
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(HelioPlutoEntryCount(), 3);
    EXPECT_EQ(PlutoTableProblem(false),
              "Cannot read the data file pluto.slx: " + std::string(std::strerror(ENOENT)) + ".");
    EXPECT_EQ(PlutoTableProblem(true), "");
    EXPECT_EQ(GeoPlutoLongitude(kFirstJd), kPlutoTableNotRead);
    EXPECT_NEAR(HelioPlutoLongitude(kFirstJd), 0.0, 1e-12);
}

TEST_F(PlutoTables, MissingHeliocentricFileIsSilentAndKeepsTheGeocentricTable) {
    folder_.Write("pluto.slx", vlt_test::GeoTableText({60, 120}));
    EXPECT_FALSE(ReadPlutoData(boxes_));
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_NEAR(GeoPlutoLongitude(kFirstJd + 0.5), Radians(1.5), 1e-12);
    EXPECT_EQ(HelioPlutoLongitude(kFirstJd), kPlutoTableNotRead);
    EXPECT_EQ(PlutoTableProblem(false), "");
    EXPECT_EQ(PlutoTableProblem(true), "Cannot read the data file hpluto.2199.slx: " +
                                           std::string(std::strerror(ENOENT)) + ".");
}

TEST_F(PlutoTables, RetrogradeTestAcrossZeroAndBackwards) {
    // Direct motion across 0 (359°59' -> 0°01'), then backward motion.
    std::vector<int> geo = {359 * 60 + 59, 1, 300, 240, 180};
    ASSERT_TRUE(Load(vlt_test::GeoTableText(geo), vlt_test::HelioTableText({0, 0})));
    struct Case {
        double longitude;  // radians, as a caller would pass it
        double jd;
        std::int16_t planet;
        bool retrograde;
    } cases[] = {
        {6.28, kFirstJd + 0.5, 9, false},  // later value near 0: wrap, not retrograde
        {GeoPlutoLongitude(kFirstJd + 0.2), kFirstJd + 0.2, 9, false},
        {GeoPlutoLongitude(kFirstJd + 2.5), kFirstJd + 2.5, 9, true},
        {GeoPlutoLongitude(kFirstJd + 1.2), kFirstJd + 1.2, 9, false},
        {-100.0, kFirstJd + 2.5, 9, false},  // an error code is no position
        {1.0, kFirstJd + 2.5, 1, false},     // the Sun never
        {1.0, kFirstJd + 2.5, 10, false},    // the Moon never
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsRetrogradeAt(c.planet, c.longitude, c.jd), c.retrograde)
            << c.longitude << " " << c.jd << " planet " << c.planet;
    }
    EXPECT_TRUE(IsRetrograde(9, kFirstJd + 2.5));
    EXPECT_FALSE(IsRetrograde(9, kFirstJd + 1.2));
    EXPECT_FALSE(IsRetrograde(9, kFirstJd + 4.5));  // needs entry 5: no position
    // The comparison is with the position half an hour on, not later: just
    // below it the planet counts as moving forward, just above it backward.
    const double halfHourOn = GeoPlutoLongitude(kFirstJd + 3.0 + 1.0 / 48.0);
    EXPECT_FALSE(IsRetrogradeAt(9, halfHourOn - 1e-9, kFirstJd + 3.0));
    EXPECT_TRUE(IsRetrogradeAt(9, halfHourOn + 1e-9, kFirstJd + 3.0));
}

}  // namespace
