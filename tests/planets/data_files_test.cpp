// The outer planets' data-file reader, on small files that the tests write
// themselves: record choice by year, the error codes, the field reader and
// the polynomial evaluation.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"
#include "tests/planets/dac_file_writer.h"

namespace {

using planets_test::numbered_record;
using planets_test::RecordValues;
using planets_test::TempFolder;

constexpr double kUntouched = -12345.678;

class DataFiles : public ::testing::Test {
protected:
    void SetUp() override {
        planets_test::write_numbered_file(folder_.path() / "jupiter.dac", -4000, 1360);
        planets_test::write_numbered_file(folder_.path() / "uranus.dac", 1600, 240);
        // Saturn's file is cut short after 100 records.
        planets_test::write_numbered_file(folder_.path() / "saturn.dac", -4000, 100);
        ASSERT_GT(set_datafiles_folder(folder_.text().c_str()), 0);
    }
    void TearDown() override { set_datafiles_folder(""); }

    TempFolder folder_{"dac"};
};

struct YearCase {
    int planet;
    int first_year;
    int year;
    int expected;  // record index, or an error code when negative
};

TEST_F(DataFiles, YearChoosesTheRecord) {
    const YearCase cases[] = {
        {5, -4000, -4000, 0},       {5, -4000, -3996, 0},        {5, -4000, -3995, 1},
        {5, -4000, -1, 799},        {5, -4000, 0, 800},          {5, -4000, 2024, 1204},
        {5, -4000, 2799, 1359},     {5, -4000, 2800, -100},      {5, -4000, -4001, -99},
        {5, -4000, INT32_MIN, -99}, {5, -4000, INT32_MAX, -100}, {7, 1600, 1599, -99},
        {7, 1600, 1600, 0},         {7, 1600, 1604, 0},          {7, 1600, 1605, 1},
        {7, 1600, 2799, 239},       {7, 1600, 2800, -100},       {6, -4000, -3501, 99},
        {6, -4000, -3500, -103},    {6, -4000, 2799, -103},
    };
    for (const YearCase& c : cases) {
        SCOPED_TRACE("planet " + std::to_string(c.planet) + " year " + std::to_string(c.year));
        // At jd == T0 the polynomials give their c0 coefficients.
        const int k = c.expected < 0 ? 0 : c.expected;
        const RecordValues v = numbered_record(c.first_year, k);
        double lat = kUntouched, rv = kUntouched;
        const double l = pvlt::hc_long_lat_rv_planet(c.planet, v.t0, c.year, &lat, &rv);
        if (c.expected < 0) {
            EXPECT_EQ(l, c.expected);
            EXPECT_EQ(lat, kUntouched);
            EXPECT_EQ(rv, kUntouched);
            continue;
        }
        EXPECT_NEAR(l, v.longitude[0], 1e-12);
        EXPECT_NEAR(lat, v.latitude[0], 1e-12);
        EXPECT_NEAR(rv, v.radius[0], 1e-12);
        EXPECT_EQ(pvlt::dac_last_record().header, v.header);
        EXPECT_EQ(pvlt::dac_last_record().t0, v.t0);
        EXPECT_EQ(pvlt::dac_last_record().second, v.second);
    }
}

TEST_F(DataFiles, PolynomialInDaysFromTheOriginOverTwoThousand) {
    const RecordValues v = numbered_record(-4000, 1204);
    // The record's block is T0 +- 913 days; it answers 30 days beyond.
    for (double days : {-943.0, -1.5, 0.0, 0.25, 913.0, 943.0}) {
        const double t = days / 2000.0;
        auto power_sum = [t](const std::array<double, 7>& c) {
            double s = 0.0;
            for (int j = 0; j < 7; ++j) s += c[j] * std::pow(t, j);
            return s;
        };
        double lat = 0.0, rv = 0.0;
        const double l =
            pvlt::dac_long_lat_rv(v.t0 + days, 2024, -4000, 2800, "jupiter.dac", &lat, &rv);
        EXPECT_NEAR(l, power_sum(v.longitude), 1e-12) << days;
        EXPECT_NEAR(lat, power_sum(v.latitude), 1e-12) << days;
        EXPECT_NEAR(rv, power_sum(v.radius), 1e-12) << days;
    }
}

TEST_F(DataFiles, ReadRecordErrors) {
    EXPECT_EQ(pvlt::dac_read_record("jupiter.dac", 0), 0);
    EXPECT_EQ(pvlt::dac_read_record("jupiter.dac", 1359), 0);
    EXPECT_EQ(pvlt::dac_read_record("jupiter.dac", 1360), -103);
    EXPECT_EQ(pvlt::dac_read_record("saturn.dac", 99), 0);
    EXPECT_EQ(pvlt::dac_read_record("saturn.dac", 100), -103);
    EXPECT_EQ(pvlt::dac_read_record("saturn.dac", 5000), -103);
    EXPECT_EQ(pvlt::dac_read_record("absent.dac", 0), -101);
    EXPECT_EQ(pvlt::dac_read_record(nullptr, 0), -101);
    EXPECT_EQ(pvlt::dac_read_record("", 0), -101);
    EXPECT_EQ(pvlt::dac_read_record("jupiter.dac", -1), -102);
    set_datafiles_folder("");
    EXPECT_EQ(pvlt::dac_read_record("jupiter.dac", 0), -104);
}

TEST_F(DataFiles, MissingFileIsAnErrorAndLeavesRvAlone) {
    // No neptune.dac in the folder.
    double lat = kUntouched, rv = kUntouched;
    EXPECT_EQ(gc_app_long_rv_planet(8, 2451545.0, 2000, &rv), -101.0);
    EXPECT_EQ(hc_j2000_long_lat_rv_planet(8, 2451545.0, 2000, &lat, &rv), -101.0);
    EXPECT_EQ(lat, kUntouched);
    EXPECT_EQ(rv, kUntouched);
    // The same once Jupiter's file is gone.
    std::filesystem::remove(folder_.path() / "jupiter.dac");
    EXPECT_EQ(gc_app_long_rv_planet(5, 2451545.0, 2000, &rv), -101.0);
    EXPECT_EQ(rv, kUntouched);
}

TEST_F(DataFiles, EmptyFolderFailsBeforeAnyFile) {
    set_datafiles_folder("");
    double rv = kUntouched;
    for (int planet : {5, 6, 7, 8}) {
        EXPECT_EQ(gc_app_long_rv_planet(planet, 2451545.0, 2000, &rv), -104.0);
        EXPECT_EQ(hc_j2000_long_rv_planet(planet, 2451545.0, 2000, &rv), -104.0);
    }
    // The year is checked first, as in the file's span table.
    EXPECT_EQ(hc_j2000_long_rv_planet(7, 2451545.0, 1500, &rv), -99.0);
    EXPECT_EQ(rv, kUntouched);
}

TEST_F(DataFiles, FolderPlusNameLongerThanTheBufferIsAnOpenError) {
    // 245 + strlen("jupiter.dac") = 256 characters: one too many.
    const std::string folder(245, 'a');
    ASSERT_EQ(set_datafiles_folder(folder.c_str()), 246);
    double rv = kUntouched;
    EXPECT_EQ(gc_app_long_rv_planet(5, 2451545.0, 2000, &rv), -101.0);
    EXPECT_EQ(rv, kUntouched);
    // A folder that fills the buffer leaves no room for any file name.
    const std::string longest(255, 'b');
    ASSERT_EQ(set_datafiles_folder(longest.c_str()), 256);
    EXPECT_EQ(pvlt::dac_read_record("x", 0), -101);
}

TEST_F(DataFiles, FolderPlusNameOfExactly255CharactersIsOpened) {
    // Build a real folder whose text is 244 characters, so that folder plus
    // "jupiter.dac" is exactly 255.
    std::string text = folder_.text();
    ASSERT_LT(text.size(), 200u);
    std::filesystem::path deep = folder_.path();
    while (text.size() < 244) {
        const std::size_t remaining = 244 - text.size();
        const std::string part(remaining > 150 ? 100 : remaining - 1, 'd');
        deep /= part;
        text += part + "/";
    }
    ASSERT_EQ(text.size(), 244u);
    std::filesystem::create_directories(deep);
    planets_test::write_numbered_file(deep / "jupiter.dac", -4000, 1360);
    ASSERT_EQ(set_datafiles_folder(text.c_str()), 245);
    const RecordValues v = numbered_record(-4000, 0);
    EXPECT_NEAR(pvlt::hc_long_lat_rv_planet(5, v.t0, -4000, nullptr, nullptr), v.longitude[0],
                1e-12);
}

TEST_F(DataFiles, LongitudeIsReducedIntoTheCircle) {
    // A record whose longitude polynomial gives 2pi, -0.001 and 7 radians.
    for (double c0 : {pvlt::kTwoPiExact, -0.001, 7.0}) {
        RecordValues v = numbered_record(1600, 0);
        v.longitude = {c0, 0, 0, 0, 0, 0, 0};
        planets_test::write_file(folder_.path() / "uranus.dac", planets_test::record_text(v));
        double rv = 0.0;
        const double hc = pvlt::hc_long_lat_rv_planet(7, v.t0, 1600, nullptr, &rv);
        EXPECT_GE(hc, 0.0) << c0;
        EXPECT_LT(hc, pvlt::kTwoPiExact) << c0;
        // The file holds c0 to seven decimals.
        EXPECT_NEAR(std::remainder(hc - c0, pvlt::kTwoPiExact), 0.0, 1e-7) << c0;
        const double gc = gc_app_long_rv_planet(7, v.t0, 1600, &rv);
        EXPECT_GE(gc, 0.0) << c0;
        EXPECT_LT(gc, pvlt::kTwoPiExact) << c0;
    }
}

TEST_F(DataFiles, LongitudeThatWouldPassForACodeIsDamage) {
    // A longitude polynomial that evaluates to -99 or below would come back as
    // if it were an error code; such a record is damaged, whatever the value.
    for (double c0 : {-99.0, -104.0, -104.1, -1000.0}) {
        RecordValues v = numbered_record(1600, 0);
        v.longitude = {c0, 0, 0, 0, 0, 0, 0};
        planets_test::write_file(folder_.path() / "uranus.dac", planets_test::record_text(v));
        double rv = -1.0;
        EXPECT_EQ(pvlt::hc_long_lat_rv_planet(7, v.t0, 1600, nullptr, &rv), PLANETS_VLT_ERR_RECORD)
            << c0;
        EXPECT_EQ(rv, -1.0) << c0;
        EXPECT_EQ(gc_app_long_rv_planet(7, v.t0, 1600, &rv), PLANETS_VLT_ERR_RECORD) << c0;
    }
}

// Field texts as they may stand in a record, and the value each reads as;
// a field that is not wholly a finite number makes the record damaged.
struct FieldCase {
    const char* text;  // exactly 10 characters
    double value;
    bool damaged;
};

TEST_F(DataFiles, FieldReader) {
    const FieldCase cases[] = {
        {"  1.250000", 1.25, false},  {"-0.0012500", -0.00125, false},
        {"+3.5      ", 3.5, false},   {"1.5E-03   ", 0.0015, false},
        {"  -2.5e+01", -25.0, false}, {"      .125", 0.125, false},
        {"42        ", 42.0, false},  {"1234567890", 1234567890.0, false},
        {"7.5xyz    ", 0.0, true},    {"abc       ", 0.0, true},
        {"          ", 0.0, true},    {"inf       ", 0.0, true},
        {"nan       ", 0.0, true},    {"0x10      ", 0.0, true},
        {"1e999     ", 0.0, true},    {"- 5       ", 0.0, true},
        {"1.5e      ", 0.0, true},    {"1.2.3     ", 0.0, true},
        {"12 34     ", 0.0, true},    {"   .      ", 0.0, true},
        {"1\n2.5     ", 0.0, true},   {"\0\0\0\0\0\0\0\0\0\0", 0.0, true},
    };
    for (const FieldCase& c : cases) {
        // Put the text in the first longitude coefficient of a record whose next
        // field starts right after it with digits, so a reader that runs on past
        // the field's width would read a different number.
        std::string record = planets_test::record_text(numbered_record(1600, 0));
        const std::string text(c.text, 10);
        record.replace(25, 10, text);
        record.replace(35, 10, "5555555555");
        planets_test::write_file(folder_.path() / "uranus.dac", record);
        if (c.damaged) {
            EXPECT_EQ(pvlt::dac_read_record("uranus.dac", 0), PLANETS_VLT_ERR_RECORD)
                << '"' << text << '"';
            double rv = kUntouched;
            EXPECT_EQ(hc_j2000_long_rv_planet(7, numbered_record(1600, 0).t0, 1600, &rv),
                      PLANETS_VLT_ERR_RECORD);
            EXPECT_EQ(rv, kUntouched);
            continue;
        }
        ASSERT_EQ(pvlt::dac_read_record("uranus.dac", 0), 0) << '"' << text << '"';
        EXPECT_EQ(pvlt::dac_last_record().coefficients[0][0], c.value) << '"' << text << '"';
        EXPECT_EQ(pvlt::dac_last_record().coefficients[1][0], 5555555555.0);
    }
}

// Every header field is checked as well: a damaged integer, origin or end
// makes the record unusable for any date.
TEST_F(DataFiles, DamagedHeaderFields) {
    const struct {
        int offset;
        int width;
        const char* text;
    } cases[] = {
        {0, 5, "  x00"},          {0, 5, "     "},       {0, 5, "16.5 "},
        {5, 10, "1000000.5x"},    {5, 10, "          "}, {15, 10, "nan       "},
        {225, 10, "0.25\n00000"},
    };
    const RecordValues v = numbered_record(1600, 0);
    for (const auto& c : cases) {
        std::string record = planets_test::record_text(v);
        record.replace(static_cast<std::size_t>(c.offset), static_cast<std::size_t>(c.width),
                       std::string(c.text).substr(0, static_cast<std::size_t>(c.width)));
        planets_test::write_file(folder_.path() / "uranus.dac", record);
        EXPECT_EQ(pvlt::hc_long_lat_rv_planet(7, v.t0, 1600, nullptr, nullptr),
                  PLANETS_VLT_ERR_RECORD)
            << c.offset << " \"" << c.text << '"';
    }
}

// The record must be the one asked for and must cover the date: its header
// year is the block's first year, and jd lies within its block (T0 +- 913
// days here) or 30 days beyond.  Everything else is refused, never
// extrapolated.
TEST_F(DataFiles, RecordMustCoverTheDate) {
    const RecordValues v = numbered_record(1600, 3);  // block 1615..1619
    const struct {
        double jd;
        int year;
        int header;  // written into the record
        double second;
        bool answers;
    } cases[] = {
        {v.t0, 1615, v.header, v.second, true},
        {v.t0 - 943.0, 1617, v.header, v.second, true},
        {v.t0 + 943.0, 1619, v.header, v.second, true},
        {v.t0 - 943.5, 1615, v.header, v.second, false},
        {v.t0 + 943.5, 1619, v.header, v.second, false},
        {0.0, 1615, v.header, v.second, false},
        {1e300, 1615, v.header, v.second, false},
        {-1e300, 1615, v.header, v.second, false},
        {v.t0, 1615, 1610, v.second, false},  // another block's record
        {v.t0, 1615, 1620, v.second, false},
        {v.t0, 1615, v.header, v.t0, false},          // no span at all
        {v.t0, 1615, v.header, v.t0 - 913.0, false},  // runs backwards
        {v.t0, 1615, v.header, v.t0 + 916.0, false},  // longer than five years
    };
    for (const auto& c : cases) {
        RecordValues r = v;
        r.header = c.header;
        r.second = c.second;
        std::string bytes;
        for (int k = 0; k < 3; ++k) bytes += planets_test::record_text(numbered_record(1600, k));
        bytes += planets_test::record_text(r);
        planets_test::write_file(folder_.path() / "uranus.dac", bytes);
        double lat = kUntouched, rv = kUntouched;
        const double l = hc_j2000_long_lat_rv_planet(7, c.jd, c.year, &lat, &rv);
        const double g = gc_app_long_rv_planet(7, c.jd, c.year, &rv);
        if (c.answers) {
            EXPECT_GE(l, 0.0) << c.jd;
            EXPECT_LT(l, pvlt::kTwoPiExact) << c.jd;
            EXPECT_GE(g, 0.0) << c.jd;
            EXPECT_LT(g, pvlt::kTwoPiExact) << c.jd;
        } else {
            EXPECT_EQ(l, PLANETS_VLT_ERR_RECORD) << c.jd << " header " << c.header;
            EXPECT_EQ(g, PLANETS_VLT_ERR_RECORD) << c.jd << " header " << c.header;
            EXPECT_EQ(lat, kUntouched);
            EXPECT_EQ(rv, kUntouched);
        }
    }
}

// A folder, a FIFO or a device in a data file's place is refused before
// anything is read (a FIFO would otherwise wait for a writer for ever, a
// device never end).
TEST_F(DataFiles, OnlyRegularFilesAreRead) {
    std::filesystem::create_directory(folder_.path() / "neptune.dac");
    double rv = kUntouched;
    EXPECT_EQ(hc_j2000_long_rv_planet(8, 2451545.0, 2000, &rv), PLANETS_VLT_ERR_OPEN);
    std::filesystem::remove(folder_.path() / "neptune.dac");
    ASSERT_EQ(::mkfifo((folder_.path() / "neptune.dac").c_str(), 0600), 0);
    EXPECT_EQ(hc_j2000_long_rv_planet(8, 2451545.0, 2000, &rv), PLANETS_VLT_ERR_OPEN);
    std::filesystem::remove(folder_.path() / "neptune.dac");
    std::filesystem::create_symlink("/dev/zero", folder_.path() / "neptune.dac");
    EXPECT_EQ(hc_j2000_long_rv_planet(8, 2451545.0, 2000, &rv), PLANETS_VLT_ERR_OPEN);
    EXPECT_EQ(rv, kUntouched);
}

TEST_F(DataFiles, LastFieldEndsAtTheRecordEnd) {
    // Two records back to back: the last radius coefficient of record 0 fills
    // its field and is followed at once by the digits of record 1's header.
    RecordValues first = numbered_record(1600, 0);
    std::string r0 = planets_test::record_text(first);
    r0.replace(225, 10, "0.25000000");
    RecordValues second = numbered_record(1600, 1);
    second.header = 12345;
    planets_test::write_file(folder_.path() / "uranus.dac", r0 + planets_test::record_text(second));
    ASSERT_EQ(pvlt::dac_read_record("uranus.dac", 0), 0);
    EXPECT_EQ(pvlt::dac_last_record().coefficients[6][2], 0.25);
    ASSERT_EQ(pvlt::dac_read_record("uranus.dac", 1), 0);
    EXPECT_EQ(pvlt::dac_last_record().header, 12345);
}

TEST_F(DataFiles, FieldsReadTheSameUnderACommaDecimalLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"};
    const char* chosen = nullptr;
    for (const char* n : names) {
        if (std::setlocale(LC_NUMERIC, n) != nullptr) {
            chosen = n;
            break;
        }
    }
    if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
    const RecordValues v = numbered_record(1600, 3);
    double lat = 0.0, rv = 0.0;
    const double l = pvlt::hc_long_lat_rv_planet(7, v.t0, 1615, &lat, &rv);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_NEAR(l, v.longitude[0], 1e-12) << chosen;
    EXPECT_NEAR(rv, v.radius[0], 1e-12) << chosen;
}

}  // namespace
