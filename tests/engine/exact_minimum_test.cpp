// The quick exact-minimum search against the walk over every minute on
// constructed distances made to catch it out: level stretches, minima on the
// bounds, a best distance of exactly one minute of arc and just below it,
// stations, two minima in one search, jumps at 0h universal time, positions
// that are error codes.  Every answer (grid minute, distance, text) must be
// the walk's.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "app/engine/exact_minimum.h"
#include "app/engine/transit_scan.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "tests/engine/fake_host.h"

namespace vlt::testing {
namespace {

constexpr double kLimit = kExactMinimumLimit;
constexpr std::int32_t S = 2451545;  // 2000-01-01

// The first planet stays at longitude 0, the second lies `shape` radians
// ahead of it, `shape` being a function of the minutes since the search's
// lower bound (as a real number, so shapes may fall between grid minutes).
struct Shape;

class ShapePositions final : public PositionSource {
public:
    ShapePositions(double lowerBound, std::function<double(double)> shape, double midnightJump)
        : lowerBound_(lowerBound), shape_(std::move(shape)), midnightJump_(midnightJump) {}
    double Longitude(std::int16_t planet, double jd, bool) override {
        ++calls;
        if (planet == kMars) return 0.0;
        const bool pastMidnight = std::floor(jd + 0.5) > std::floor(lowerBound_ + 0.5);
        return shape_((jd - lowerBound_) * 1440.0) + (pastMidnight ? midnightJump_ : 0.0);
    }
    bool IsRetrograde(std::int16_t, double jd) override { return std::fmod(jd, 2.0) < 1.0; }
    long calls = 0;

private:
    double lowerBound_;
    std::function<double(double)> shape_;
    double midnightJump_;
};

struct Shape {
    std::string name;
    std::function<double(double)> at;  // radians at minute m
    double midnightJump = 0.0;         // added from the first 0h universal time on
};

double V(double m, double center, double floor, double slope) {
    return floor + slope * std::fabs(m - center);
}

// Shapes over a search of `last` minutes whose first 0h universal time
// falls at minute `midnight`.
std::vector<Shape> Shapes(long last, double midnight) {
    std::vector<Shape> shapes;
    const double mid = static_cast<double>(last) * 0.55;
    const double slope = 2e-6;  // radians per minute, about a slow pair's
    // Level stretches: in the fall, and at the bottom (the walk keeps the
    // first minute of a level bottom).
    for (double width : {1.0, 3.0, 40.0}) {
        shapes.push_back({"level stretch in the fall " + std::to_string(width), [=](double m) {
                              const double r = std::round(m);
                              if (r > mid - 200 && r <= mid - 200 + width)
                                  return V(mid - 200, mid, 0, slope);
                              return V(r, mid, 0, slope);
                          }});
        shapes.push_back({"level bottom " + std::to_string(width), [=](double m) {
                              const double r = std::round(m);
                              if (r >= mid && r <= mid + width) return 1e-5;
                              return r < mid ? V(r, mid, 1e-5, slope)
                                             : V(r, mid + width, 1e-5, slope);
                          }});
    }
    // A level start: the walk goes on over equal distances.
    shapes.push_back({"level start", [=](double m) {
                          return std::round(m) < 5 ? V(5, mid, 0, slope)
                                                   : V(std::round(m), mid, 0, slope);
                      }});
    // Minima on the bounds and just inside them.
    for (double at : {0.0, 1.0, 2.0, static_cast<double>(last) - 2, static_cast<double>(last) - 1,
                      static_cast<double>(last), static_cast<double>(last) + 30}) {
        shapes.push_back({"minimum at minute " + std::to_string(at),
                          [=](double m) { return V(m, at, 0, slope); }});
    }
    // Best distance exactly one minute of arc, and the double just below.
    for (double floor : {kLimit, std::nextafter(kLimit, 0.0), std::nextafter(kLimit, 1.0)}) {
        shapes.push_back({"best distance " + std::to_string(floor), [=](double m) {
                              return V(std::round(m), std::round(mid), floor, slope);
                          }});
        shapes.push_back({"station with best distance " + std::to_string(floor), [=](double m) {
                              const double r = std::round(m) - std::round(mid);
                              return floor + 1e-12 * r * r;
                          }});
    }
    // Stations: the relative speed goes through zero, so that the bottom is
    // flat down to the last bits (many minutes of equal distances).
    for (double floor : {0.0, 1e-4, 2e-3}) {
        for (double offset : {0.0, 0.3, 0.5}) {
            shapes.push_back(
                {"station " + std::to_string(floor) + " " + std::to_string(offset), [=](double m) {
                     const double x = (m - mid - offset) / 1440.0;
                     return floor + 3e-5 * x * x + 2e-6 * x * x * x * x;
                 }});
        }
    }
    // A station away from the aspect, with the exact crossing after it: the
    // distance turns twice, falling, rising a little and falling again.
    shapes.push_back({"station then crossing", [=](double m) {
                          const double x = (m - mid) / 1440.0;
                          return std::fabs(1e-5 - 2e-4 * x + 3e-4 * x * x * x);
                      }});
    // Two minima in one search, at least 30 minutes apart, either deeper,
    // as sharp crossings or smooth dips, anywhere in the search.
    for (double gap : {30.0, 31.0, 45.0, 64.0, 90.0, 150.0, 300.0, 700.0}) {
        for (double first :
             {10.0, 200.0, mid - gap / 2, mid, static_cast<double>(last) - gap - 20}) {
            for (int deeper = 0; deeper < 2; ++deeper) {
                const double f1 = deeper == 0 ? 1e-5 : 5e-5;
                const double f2 = deeper == 0 ? 5e-5 : 1e-5;
                const std::string what = std::to_string(gap) + " after " + std::to_string(first) +
                                         (deeper == 0 ? " first deeper" : " second deeper");
                shapes.push_back({"two crossings " + what, [=](double m) {
                                      return std::min(V(m, first, f1, slope),
                                                      V(m, first + gap, f2, slope));
                                  }});
                shapes.push_back({"two dips " + what, [=](double m) {
                                      const double w = gap / 4;
                                      const double a = (m - first) / w;
                                      const double b = (m - first - gap) / w;
                                      return 1e-3 - (1e-3 - f1) * std::exp(-a * a) -
                                             (1e-3 - f2) * std::exp(-b * b) +
                                             1e-8 * (m - mid) * (m - mid) / 1e4;
                                  }});
            }
        }
    }
    // A jump at 0h universal time, as where a new data record starts: up
    // or down, in the fall or after the bottom (the minimum placed before,
    // near or after the first midnight of the search).
    for (double jump : {3e-6, -3e-6, 1e-9, 4e-4}) {
        for (double center : {100.0, mid, static_cast<double>(last) - 100}) {
            shapes.push_back(
                {"jump " + std::to_string(jump) + " minimum at " + std::to_string(center),
                 [=](double m) { return V(m, center, 2e-5, slope); }, jump});
        }
    }
    // A bend at 0h universal time, as Pluto's daily table makes: the fall
    // slows, stops or turns back there, before or after an exact crossing.
    for (double after : {0.5, 0.0, -0.5}) {
        for (double floor : {0.0, 3e-4}) {
            shapes.push_back({"bend " + std::to_string(after) + " floor " + std::to_string(floor),
                              [=](double m) {
                                  const double fall =
                                      m < midnight
                                          ? slope * m
                                          : slope * midnight + after * slope * (m - midnight);
                                  return std::fabs(slope * midnight + 200 * slope - fall) + floor;
                              }});
        }
    }
    // Error codes for positions: the second planet has none before or after
    // a minute (a negative longitude far from any distance).
    for (double at : {0.5, 300.0, mid + 5}) {
        shapes.push_back({"error code before " + std::to_string(at),
                          [=](double m) { return m < at ? -99.0 : V(m, mid, 0, slope); }});
        shapes.push_back({"error code after " + std::to_string(at),
                          [=](double m) { return m > at ? -100.0 : V(m, mid, 0, slope); }});
    }
    shapes.push_back({"not a number", [=](double m) {
                          return std::round(m) == 400 ? std::numeric_limits<double>::quiet_NaN()
                                                      : V(m, mid, 0, slope);
                      }});
    return shapes;
}

struct StepCase {
    std::int16_t second;  // Mercury: 0.125-day steps, Venus 0.25, Jupiter 0.5
    int timezoneIndex;
    double t;  // local step time
};

class ConstructedSearch : public ::testing::TestWithParam<StepCase> {};

// Through the scan's own entry, so that the grid, the breaks at 0h
// universal time, the day, the clock time and the markers are the real ones.
TEST_P(ConstructedSearch, AnswersAsTheWalk) {
    const StepCase c = GetParam();
    const double step = ScanStep(kMars, c.second);
    TransitRequest r;
    r.firstPlanet = kMars;
    r.secondPlanet = c.second;
    r.aspectEnabled[1] = true;
    r.timezoneIndex = c.timezoneIndex;
    r.timezoneLabel = "zone";
    r.startDay = S;
    r.endDay = S + 10;
    CompleteRequest(r);
    const double lowerBound = c.t - 1.5 * step - r.TimezoneMinutes() / 1440.0;
    const long last = std::lround(3 * step * 1440);
    int exact = 0;
    const double midnight = (std::floor(lowerBound + 0.5) + 0.5 - lowerBound) * 1440.0;
    for (const Shape& shape : Shapes(last, midnight)) {
        ShapePositions positions(lowerBound, shape.at, shape.midnightJump);
        FakeRunHost host;
        TransitScanner scanner(host, positions);
        scanner.UseRequest(r);
        const GridMinimum quick = scanner.ExactMinute(c.t, kMars, c.second, 1, step, false);
        const GridMinimum walk = scanner.ExactMinute(c.t, kMars, c.second, 1, step, true);
        EXPECT_EQ(quick.minute, walk.minute) << shape.name;
        EXPECT_TRUE(quick.distance == walk.distance ||
                    (std::isnan(quick.distance) && std::isnan(walk.distance)))
            << shape.name << ": " << quick.distance << " " << walk.distance;
        const std::string text = scanner.FindExactMinimum(c.t, kMars, c.second, 1, step);
        EXPECT_EQ(text, scanner.FindExactMinimumMinuteByMinute(c.t, kMars, c.second, 1, step))
            << shape.name;
        exact += !text.empty();
    }
    // The shapes cover both answers.
    EXPECT_GT(exact, 20);
    // One plain crossing in mid-search: a small share of the walk's positions.
    ShapePositions plain(
        lowerBound, [&](double m) { return V(m, last * 0.55, 0, 2e-6); }, 0.0);
    FakeRunHost host;
    TransitScanner scanner(host, plain);
    scanner.UseRequest(r);
    scanner.ExactMinute(c.t, kMars, c.second, 1, step, false);
    const long quick = plain.calls;
    plain.calls = 0;
    scanner.ExactMinute(c.t, kMars, c.second, 1, step, true);
    EXPECT_LT(quick * 5, plain.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ConstructedSearch,
    ::testing::Values(StepCase{kJupiter, 24, S + 0.25}, StepCase{kJupiter, 43, S + 3.75},
                      StepCase{kJupiter, 14, S - 0.25}, StepCase{kVenus, 26, S + 1.5},
                      StepCase{kVenus, 24, S + 0.125 * 3}, StepCase{kMercury, 24, S + 0.125},
                      StepCase{kMercury, 1, S + 2.0}));

// The walk's rule itself on short lists of distances.
TEST(MinuteByMinuteMinimum, FirstOfTheBestUntilTheFirstRise) {
    struct Case {
        std::vector<double> d;
        GridMinimum expected;
    };
    const Case cases[] = {
        {{5, 4, 3, 3, 2, 2, 3, 1}, {4, 2}},  // equal goes on, first of the bottom
        {{5, 5, 5}, {0, 5}},                 // level all the way
        {{1, 2, 0}, {0, 1}},                 // rises at once
        {{11, 1, 0}, {0, 10}},               // 10 or above: nothing found
        {{10, 9, 8}, {2, 8}},                // 10 itself goes on
        {{3, std::numeric_limits<double>::quiet_NaN(), 2, 4}, {2, 2}},  // not a number goes on
        {{3, 2, 1}, {2, 1}},                                            // falls to the upper bound
    };
    for (const Case& c : cases) {
        const auto at = [&c](long k) { return c.d[static_cast<std::size_t>(k)]; };
        const long last = static_cast<long>(c.d.size()) - 1;
        EXPECT_EQ(MinuteByMinuteMinimum(at, last), c.expected);
        EXPECT_EQ(FastGridMinimum(at, last, {}), c.expected);
    }
}

}  // namespace
}  // namespace vlt::testing

namespace vlt::testing {
namespace {

// The search from known samples and a curvature bound, on signed functions f
// of the minute whose |f''| stays within the bound given: the distance is
// |f|.  The walk is the oracle; the plain crossings must also be cheap.
TEST(SmoothGridMinimum, AnswersAsTheWalk) {
    constexpr long kLast = 2160;
    constexpr double kSlope = 2e-6;  // radians per minute: a slow pair's relative motion
    constexpr double kBend = 1e-10;  // radians per minute squared
    // |f''| of the wave is kBend, its slope up to 3e-8.
    const auto wave = [](double x) { return kBend * 9e4 * std::sin(x / 300); };
    struct Case {
        const char* name;
        std::function<double(double)> f;
        double curvature;
        int mostDistances;  // 0: any number (the proof may fail, the answer may not)
    };
    const Case cases[] = {
        {"plain crossing", [](double x) { return kSlope * (1000.3 - x); }, kBend, 7},
        {"bent crossing",
         [](double x) { return kSlope * (1400.8 - x) + 0.5 * kBend * (x - 500) * (x - 500); },
         kBend, 8},
        {"crossing between two minutes, equal distances",
         [](double x) { return std::ldexp(1.0, -20) * (1000.5 - x); }, kBend, 0},
        {"falls to the upper bound", [](double x) { return kSlope * (2400 - x); }, kBend, 8},
        {"falls to just before the upper bound", [](double x) { return kSlope * (2159.2 - x); },
         kBend, 8},
        {"crossing at the lower bound", [](double x) { return kSlope * (0.7 - x); }, kBend, 0},
        {"crossing in the second minute", [](double x) { return kSlope * (1.6 - x); }, kBend, 0},
        {"station without a crossing",
         [](double x) { return 1e-5 + 0.5 * kBend * (x - 1100) * (x - 1100); }, kBend, 0},
        {"two crossings 60 minutes apart",
         [](double x) { return 0.5 * kBend * ((x - 1000) * (x - 1000) - 900); }, kBend, 0},
        {"slow crossing near a station", [](double x) { return 1e-8 * (1000.2 - x); }, kBend, 0},
        {"wave that does not turn", [&](double x) { return 1e-7 * (1200.4 - x) + wave(x); }, kBend,
         0},
        {"wave that turns before the crossing",
         [&](double x) { return 2e-8 * (1900.4 - x) + wave(x); }, kBend, 0},
    };
    for (const Case& c : cases) {
        long distances = 0;
        const auto at = [&](long k) {
            ++distances;
            return std::fabs(c.f(static_cast<double>(k)));
        };
        // The scan's samples lie a hair off the grid minutes.
        std::vector<KnownDistance> known;
        for (const double x : {360.0000002, 1079.9999999, 1800.0000003}) {
            known.push_back({x, std::fabs(c.f(x))});
        }
        const GridMinimum walk = MinuteByMinuteMinimum(at, kLast);
        distances = 0;
        EXPECT_EQ(SmoothGridMinimum(at, kLast, {}, known, c.curvature), walk) << c.name;
        if (c.mostDistances > 0) {
            EXPECT_LE(distances, c.mostDistances) << c.name;
        }
    }
}

}  // namespace
}  // namespace vlt::testing

namespace vlt::testing {
namespace {

// Whether three samples and the curvature bound prove the distance stays at
// or above a floor: never where the dense minimum of |f| lies below it, and
// yes for a station well above it.
TEST(StaysAtOrAbove, OnlyWhereTheDistanceCannotReachTheFloor) {
    constexpr long kLast = 2160;
    constexpr double kBend = 2.5e-10;       // radians per minute squared
    constexpr double kFloor = 0.000290888;  // one minute of arc
    const auto parabola = [](double bottom, double at, double bend) {
        return [=](double x) { return bottom + 0.5 * bend * (x - at) * (x - at); };
    };
    struct Case {
        const char* name;
        std::function<double(double)> f;
        bool expected;
    };
    const Case cases[] = {
        {"station ten minutes of arc away", parabola(0.0029, 1100, kBend), true},
        {"station two minutes away, flat", parabola(0.00058, 1000, 0.2 * kBend), true},
        {"station just above the floor", parabola(kFloor * 1.001, 1100, kBend), false},
        {"station below the floor", parabola(0.0002, 1100, kBend), false},
        {"bottom near the lower bound", parabola(0.0006, 40, kBend), true},
        {"bottom past the last sample", parabola(0.0004, 2100, 0.9 * kBend), true},
        {"bottom past the last sample, near the floor", parabola(0.0003, 2100, kBend), false},
        {"crossing between the samples", [](double x) { return 2e-6 * (1000 - x); }, false},
        {"fast crossing, every sample far from the floor",
         [](double x) { return 1e-5 * (1000 - x); }, false},
        {"curve through zero", parabola(-0.0001, 1080, kBend), false},
        {"sign change at the middle sample",
         [](double x) { return 2e-6 * (1080 - x) + 1e-10 * (x - 1080) * (x - 1080); }, false},
    };
    for (const Case& c : cases) {
        std::array<KnownDistance, 3> known;
        for (std::size_t i = 0; i < 3; ++i) {
            const double x = 360.0 + 720.0 * static_cast<double>(i) + 1e-7;
            known[i] = {x, std::fabs(c.f(x))};
        }
        double lowest = 10.0;
        for (double x = 0; x <= kLast; x += 0.25) lowest = std::min(lowest, std::fabs(c.f(x)));
        const bool claim = StaysAtOrAbove(known, kLast, kBend, kFloor);
        EXPECT_EQ(claim, c.expected) << c.name << ", lowest " << lowest;
        if (claim) {
            EXPECT_GE(lowest, kFloor) << c.name;
        }
    }
}

}  // namespace
}  // namespace vlt::testing
