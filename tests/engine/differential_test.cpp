// The quick exact-minimum search against the walk over every minute, on the
// searches that real scans make: every planet pair in both centricities, four
// time zones, periods spread over 1600-2799.  Each search the scans ask for
// is recorded (step time and aspect type) and answered again both ways; not
// one answer may differ, neither the grid minute nor the distance nor the
// text.
//
// VLT_DIFFERENTIAL_SCALE (default 1) multiplies the periods scanned, for a
// longer run by hand (periods past the end of Pluto's tables then meet its
// error codes, so the count asked for stays at 100,000).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/engine/transit_scan.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"
#include "tests/common/data_folder.h"
#include "tests/common/fake_run_host.h"
#include "tests/engine/fake_host.h"

namespace vlt::testing {
namespace {

class SilentBoxes final : public MessageBoxes {
public:
    MsgResult Show(const std::string&, const std::string&, MsgButtons buttons, MsgIcon) override {
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    }
};

// Lets the box look nearly empty so that long periods are not cut off.
class CountingOutput final : public OutputBox {
public:
    const std::string& Text() const override { return shown_; }
    void Append(const std::string&) override {
        if (shown_.empty()) shown_.push_back('x');
    }
    void Clear() override { shown_.clear(); }
    void MoveCaretToEnd() override {}
    void Refresh() override {}

private:
    std::string shown_;
};

class SilentHost final : public FakeRunHost {
public:
    OutputBox& Output() override { return out; }
    MessageBoxes& Boxes() override { return boxes; }
    CountingOutput out;
    SilentBoxes boxes;
};

std::int32_t Day(int y, int m, int d) {
    DateRecord r{y, m, d, kCalendarGregorian, 0, 0};
    return DateToDayNumber(r);
}

struct Zone {
    int index;
    const char* label;
};
constexpr Zone kZones[] = {{24, "GMT"}, {14, "GMT-5:00"}, {26, "GMT+1:00"}, {43, "GMT+9:30"}};

// The last year with data for both planets of a request.
int LastYear(std::int16_t second, bool heliocentric) {
    if (second == kPluto) return heliocentric ? 2199 : 2099;
    return 2799;
}

// Days scanned per time zone.  A search of a slow pair costs the walk up to
// 2,160 minutes of outer-planet positions (each read from its data file);
// Mercury's heliocentric pairs make a search every few days and walk a few
// hundred minutes of cheap series positions, so they carry the count.
int DaysPerZone(std::int16_t first, std::int16_t second, bool heliocentric) {
    const auto outer = [](std::int16_t p) { return p >= kJupiter && p <= kNeptune; };
    // Pluto's table is cheap, but its aspects with the outer planets are rare.
    if (outer(first) && second == kPluto) return first == kNeptune ? 8000 : 6000;
    if (first == kUranus && second == kNeptune) return 6000;
    if (outer(first) && outer(second)) return 800;
    if (outer(first) || outer(second)) return 150;
    if (first == kMercury || second == kMercury) {
        if (!heliocentric || second == kMars) return 8000;
        return second == kPluto ? 150000 : 20000;
    }
    return 3000;
}

struct Tally {
    long calls = 0;
    long exact = 0;
    long differences = 0;
};

void CompareScan(TransitRequest r, Tally& tally) {
    SilentHost host;
    TransitScanner scanner(host, DefaultPositions());
    std::vector<std::pair<double, int>> searches;
    scanner.SetExactMinimumObserver(
        [&searches](double t, int type) { searches.emplace_back(t, type); });
    scanner.TransitScan(r);
    scanner.SetExactMinimumObserver(nullptr);
    scanner.UseRequest(r);
    const double step = ScanStep(r.firstPlanet, r.secondPlanet);
    for (const auto& [t, type] : searches) {
        const GridMinimum quick =
            scanner.ExactMinute(t, r.firstPlanet, r.secondPlanet, type, step, false);
        const GridMinimum walk =
            scanner.ExactMinute(t, r.firstPlanet, r.secondPlanet, type, step, true);
        const std::string quickText =
            scanner.FindExactMinimum(t, r.firstPlanet, r.secondPlanet, type, step);
        const std::string walkText = scanner.ExactMinimumText(t, r.firstPlanet, step, walk);
        ++tally.calls;
        if (!walkText.empty()) ++tally.exact;
        if (quick == walk && quickText == walkText) continue;
        ++tally.differences;
        ADD_FAILURE() << "planets " << r.firstPlanet << "-" << r.secondPlanet
                      << (r.heliocentric ? " helio" : " geo") << " zone " << r.timezoneIndex
                      << " t=" << std::to_string(t) << " aspect " << type << ": quick minute "
                      << quick.minute << " distance " << quick.distance << " \"" << quickText
                      << "\", walk minute " << walk.minute << " distance " << walk.distance << " \""
                      << walkText << "\"";
    }
}

TEST(ExactMinimumDifferential, RealSearchesOfEveryPairAgreeWithTheWalk) {
    const std::string folder = DataFolderWithFiles();
    if (folder.empty()) GTEST_SKIP() << "data files not built";
    InitPositionsWithFolder(folder);
    SilentBoxes boxes;
    ASSERT_TRUE(ReadPlutoData(boxes));
    double scale = 1.0;
    if (const char* s = std::getenv("VLT_DIFFERENTIAL_SCALE")) scale = std::max(0.01, std::atof(s));

    Tally total;
    int combination = 0;
    for (bool helio : {false, true}) {
        for (std::int16_t first = kSun; first <= kNeptune; ++first) {
            for (std::int16_t second = static_cast<std::int16_t>(first + 1); second <= kPluto;
                 ++second) {
                Tally pair;
                const std::clock_t pairStart = std::clock();
                for (const Zone& zone : kZones) {
                    TransitRequest r;
                    r.firstPlanet = first;
                    r.secondPlanet = second;
                    r.heliocentric = helio;
                    for (int a = 1; a <= 7; ++a)
                        r.aspectEnabled[static_cast<std::size_t>(a)] = true;
                    r.orbDegrees = {10, 5, 2};
                    r.timezoneIndex = zone.index;
                    r.timezoneLabel = zone.label;
                    r.reportTitle = "differential";
                    const int days = static_cast<int>(DaysPerZone(first, second, helio) * scale);
                    // Start years spread over the period, different for
                    // every pair and zone.
                    const int span = LastYear(second, helio) - 1600 - days / 365 - 1;
                    const int year = 1600 + (combination * 389 + 131) % std::max(1, span);
                    ++combination;
                    r.startDay = Day(year, 1 + combination % 12, 1 + combination % 28);
                    r.endDay = r.startDay + days;
                    CompleteRequest(r);
                    CompareScan(r, pair);
                }
                std::printf("%-8s %-8s %-5s %6ld searches, %6ld exact, %.2f s\n",
                            PlanetName(first, helio, false).c_str(),
                            PlanetName(second, helio, false).c_str(), helio ? "helio" : "geo",
                            pair.calls, pair.exact,
                            static_cast<double>(std::clock() - pairStart) / CLOCKS_PER_SEC);
                EXPECT_GT(pair.calls, 0) << first << "-" << second;
                total.calls += pair.calls;
                total.exact += pair.exact;
                total.differences += pair.differences;
            }
        }
    }
    std::printf("%ld searches, %ld exact, %ld differences\n", total.calls, total.exact,
                total.differences);
    EXPECT_GE(static_cast<double>(total.calls), 100000 * std::min(scale, 1.0));
    EXPECT_EQ(total.differences, 0);
}

}  // namespace
}  // namespace vlt::testing
