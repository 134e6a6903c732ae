// The scan that jumps over the steps without events against the scan that
// evaluates every step: random requests (planet pairs, centricities, aspect
// subsets, orbs, time zones, start days that often fall inside a transit or
// just before a data file's record change, periods from a day to centuries,
// show-all and ordinary reports), each run both ways; the text written to
// the output box and the way the scan ended must be the same, byte for byte.
// The positions both scans ask for are counted, so that a quicker scan that
// has stopped jumping fails too.
//
// VLT_DIFFERENTIAL_SCALE (default 1) multiplies the number of requests of
// each family, for a longer run by hand or a quick look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>

#include "app/engine/transit_scan.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/calendar.h"
#include "app/support/date_processing.h"
#include "tests/common/data_folder.h"
#include "tests/common/fake_run_host.h"

namespace vlt::testing {
namespace {

// Keeps every piece written but shows the box nearly empty, so that long
// periods are not cut off by the box limit.
class RecordingOutput final : public OutputBox {
public:
    const std::string& Text() const override { return shown_; }
    void Append(const std::string& piece) override {
        written += piece;
        if (shown_.empty()) shown_.push_back('x');
    }
    void Clear() override {
        shown_.clear();
        written += "<clear>";
    }
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    std::string written;

private:
    std::string shown_;
};

class RecordingHost final : public FakeRunHost {
public:
    OutputBox& Output() override { return out; }
    MessageBoxes& Boxes() override { return boxes; }
    void ReportProgress(double) override {}
    RecordingOutput out;
    SilentBoxes boxes;
};

class CountingPositions final : public PositionSource {
public:
    double Longitude(std::int16_t planet, double jd, bool heliocentric) override {
        ++longitudes;
        return PlanetLongitude(planet, jd, heliocentric);
    }
    bool IsRetrograde(std::int16_t planet, double jd) override {
        return inner_.IsRetrograde(planet, jd);
    }
    std::optional<PositionFailure> Failure() const override { return inner_.Failure(); }
    void ClearFailure() override { inner_.ClearFailure(); }
    bool FollowsMotionBounds() const override { return true; }
    long long longitudes = 0;

private:
    EphemerisPositions inner_;
};

// Day numbers of 1 January 1600 and 1 January 2800; the first year the
// program accepts.
constexpr std::int32_t k1600 = 2305448;
constexpr std::int32_t k2800 = 2743739;
constexpr std::int32_t kYear1 = 1721426;

// The days with positions for both planets of a pair, with a margin for the
// samples around the period.
std::pair<std::int32_t, std::int32_t> DataSpan(std::int16_t second, bool helio) {
    if (second == kPluto) return {k1600 + 2, (helio ? kHelioPlutoLastDay : kGeoPlutoLastDay) - 2};
    if (second >= kUranus) return {k1600 + 2, k2800 - 2};
    return {kYear1 + 2, k2800 - 2};
}

// Families of requests: how many, which pairs, how long.  Slow pairs cost
// a data-file read per longitude, so their periods stay short; a few long
// periods use the series planets.
// A family across a record change starts its periods in the days before
// 1 January of a year divisible by 5, where the data files change their
// coefficient record (and the scan its smooth piece).
struct Family {
    const char* name;
    int requests;
    std::int16_t lowestSecond;  // the second planet is drawn from here up
    std::int16_t highestSecond;
    int shortestDays;
    int longestDays;
    bool acrossRecordChange = false;
};
constexpr Family kFamilies[] = {
    {"any pair, days", 8000, kMercury, kPluto, 1, 30},
    {"data-file pairs, new year", 300, kJupiter, kNeptune, 5, 60, true},
    {"any pair, months", 1600, kMercury, kPluto, 30, 200},
    {"series planets, decades", 100, kMercury, kMars, 2000, 15000},
    {"slow pairs, decades", 20, kJupiter, kPluto, 2000, 8000},
    {"slow pairs, centuries", 2, kJupiter, kNeptune, 36000, 73000},
    {"series planets, centuries", 2, kVenus, kMars, 300000, 438000},
};

// Day number of 1 January of a year (Gregorian).
std::int32_t NewYearDay(int year) {
    DateRecord date{year, 1, 1, kCalendarGregorian, 0, 0};
    return DateToDayNumber(date);
}

struct Tally {
    long requests = 0;
    long differences = 0;
    long long fixedLongitudes = 0;
    long long quickLongitudes = 0;
    std::size_t reportBytes = 0;
};

TransitRequest RandomRequest(std::mt19937& random, const Family& family) {
    const auto pick = [&random](int low, int high) {
        return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
    };
    TransitRequest r;
    r.secondPlanet = static_cast<std::int16_t>(pick(family.lowestSecond, family.highestSecond));
    r.firstPlanet = static_cast<std::int16_t>(pick(kSun, r.secondPlanet - 1));
    r.heliocentric = pick(0, 2) == 0;
    do {
        for (int a = 1; a <= 7; ++a) r.aspectEnabled[static_cast<std::size_t>(a)] = pick(0, 2) > 0;
    } while (
        std::none_of(r.aspectEnabled.begin(), r.aspectEnabled.end(), [](bool b) { return b; }));
    const int outer = pick(3, 15);
    const int middle = pick(2, outer - 1);
    r.orbDegrees = {static_cast<std::int16_t>(outer), static_cast<std::int16_t>(middle),
                    static_cast<std::int16_t>(pick(1, middle - 1))};
    r.timezoneIndex = pick(1, 47);
    r.timezoneLabel = "zone " + std::to_string(r.timezoneIndex);
    r.showAllMode = pick(0, 9) == 0;
    r.reportTitle = "differential";
    const auto [low, high] = DataSpan(r.secondPlanet, r.heliocentric);
    const int days = std::min(pick(family.shortestDays, family.longestDays), high - low - 1);
    r.startDay = pick(low, high - days);
    if (family.acrossRecordChange) {
        r.startDay = NewYearDay(5 * pick(321, 558)) - pick(0, days - 1);
    }
    r.endDay = r.startDay + days;
    CompleteRequest(r);
    return r;
}

std::string Describe(const TransitRequest& r) {
    std::ostringstream text;
    text << "planets " << r.firstPlanet << "-" << r.secondPlanet
         << (r.heliocentric ? " helio" : " geo") << " aspects ";
    for (int a = 1; a <= 7; ++a) text << r.aspectEnabled[static_cast<std::size_t>(a)];
    text << " orbs " << r.orbDegrees[0] << " " << r.orbDegrees[1] << " " << r.orbDegrees[2]
         << " zone " << r.timezoneIndex << " days " << r.startDay << ".." << r.endDay
         << (r.showAllMode ? " show-all" : "");
    return text.str();
}

void CompareBothWays(const TransitRequest& r, Tally& tally) {
    std::string text[2];
    ScanEnd end[2];
    long long longitudes[2];
    for (int quick = 0; quick < 2; ++quick) {
        RecordingHost host;
        CountingPositions positions;
        TransitScanner scanner(host, positions);
        scanner.SetFixedStepScan(quick == 0);
        end[quick] = scanner.TransitScan(r);
        text[quick] = std::move(host.out.written);
        longitudes[quick] = positions.longitudes;
    }
    ++tally.requests;
    tally.fixedLongitudes += longitudes[0];
    tally.quickLongitudes += longitudes[1];
    tally.reportBytes += text[0].size();
    if (text[0] == text[1] && end[0] == end[1]) return;
    ++tally.differences;
    const auto cut = std::mismatch(text[0].begin(), text[0].end(), text[1].begin(), text[1].end());
    const auto at = static_cast<std::size_t>(cut.first - text[0].begin());
    const std::size_t from = at < 200 ? 0 : at - 200;
    ADD_FAILURE() << Describe(r) << "\nfixed steps:\n"
                  << text[0].substr(from, 400) << "\njumps:\n"
                  << text[1].substr(from, 400);
}

TEST(FastScanDifferential, RandomRequestsGiveTheSameReportBothWays) {
    const std::string folder = DataFolderWithFiles();
    if (folder.empty()) GTEST_SKIP() << "data files not built";
    InitPositionsWithFolder(folder);
    SilentBoxes boxes;
    ASSERT_TRUE(ReadPlutoData(boxes));
    double scale = 1.0;
    if (const char* s = std::getenv("VLT_DIFFERENTIAL_SCALE"))
        scale = std::max(0.001, std::atof(s));
    std::mt19937 random(20261208);
    Tally total;
    for (const Family& family : kFamilies) {
        Tally tally;
        const std::clock_t start = std::clock();
        const int requests = std::max(1, static_cast<int>(family.requests * scale));
        for (int i = 0; i < requests && tally.differences < 5; ++i) {
            CompareBothWays(RandomRequest(random, family), tally);
        }
        std::printf(
            "%-26s %5ld requests, %7.1f kB of reports, longitudes %lld fixed, %lld "
            "quick, %.1f s\n",
            family.name, tally.requests, static_cast<double>(tally.reportBytes) / 1024,
            tally.fixedLongitudes, tally.quickLongitudes,
            static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
        EXPECT_EQ(tally.differences, 0) << family.name;
        total.requests += tally.requests;
        total.fixedLongitudes += tally.fixedLongitudes;
        total.quickLongitudes += tally.quickLongitudes;
        total.reportBytes += tally.reportBytes;
    }
    EXPECT_GE(static_cast<double>(total.requests), 10000 * std::min(scale, 1.0));
    // The reports are not empty, and the quick scan does jump: fewer than
    // half the longitudes of the fixed steps over all requests.
    EXPECT_GT(static_cast<double>(total.reportBytes), 100000 * std::min(scale, 1.0));
    EXPECT_LT(2 * total.quickLongitudes, total.fixedLongitudes);
}

}  // namespace
}  // namespace vlt::testing
