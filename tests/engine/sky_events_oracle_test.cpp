// Stations, ingresses and phases of the finders against the same events
// found from the Swiss Ephemeris by a search of the test's own (the oracle's
// speed for stations, its longitude for ingresses).  The program's planets
// read a clock time as TT (as the transit tables do), so the oracle's
// planets are read the same way; the Moon is read in universal time.
//
// By default each body is checked over a sample of years spread over
// 1900-2100; VLT_EVENTS_FULL=1 checks every year (the figures of
// docs/accuracy.md) and prints the largest differences.
#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/engine/sky_events.h"
#include "tests/engine/oracle_check.h"
#include "tests/engine/sky_positions.h"

namespace vlt {
namespace {

using testing::OracleLongitude;

constexpr double kJd1900 = 2415020.5;  // 1900-01-01 0h
constexpr double kYear = 365.25;
constexpr double kMinute = 1.0 / 1440.0;

bool FullRun() {
    const char* full = std::getenv("VLT_EVENTS_FULL");
    return full != nullptr && std::string(full) == "1";
}

// The stretches checked: all of 1900-2100, or every 25th year from 1900
// plus that year's neighbour in the sample of slower bodies.
std::vector<EventSpan> Spans(double yearsEach) {
    if (FullRun()) return {{kJd1900, kJd1900 + 200.0 * kYear}};
    std::vector<EventSpan> spans;
    for (int k = 0; k < 8; ++k) {
        const double from = kJd1900 + (25.0 * k + 3.0 * (k % 3)) * kYear;
        spans.push_back({from, from + yearsEach * kYear});
    }
    return spans;
}

double Bisect(const std::function<bool(double)>& before, double a, double b) {
    while (b - a > 1e-6) {
        const double m = 0.5 * (a + b);
        (before(m) ? a : b) = m;
    }
    return 0.5 * (a + b);
}

// The oracle's stations: where its speed changes sign, a day's steps.
std::vector<double> OracleStations(int planet, EventSpan span) {
    std::vector<double> found;
    const auto speed = [&](double jd) { return OracleLongitude(planet, jd, false).second; };
    double a = span.from;
    double sa = speed(a);
    for (double b = a + 1.0; b <= span.to; a = b, b += 1.0) {
        const double sb = speed(b);
        if ((sa < 0.0) != (sb < 0.0)) {
            found.push_back(Bisect([&](double x) { return (speed(x) < 0.0) == (sa < 0.0); }, a, b));
        }
        sa = sb;
    }
    return found;
}

// The oracle's ingresses: where its longitude's sign changes, quarter-day
// steps (no body crosses a boundary and back within six hours in 1900-2100).
std::vector<double> OracleIngresses(int planet, EventSpan span, bool moonUt) {
    const auto sign = [&](double jd) {
        double l = OracleLongitude(planet, jd, false).first;
        if (moonUt) {
            double xx[6] = {};
            char serr[AS_MAXCH] = {};
            swe_calc_ut(jd, SE_MOON, SEFLG_SWIEPH, xx, serr);
            l = xx[0];
        }
        return static_cast<int>(std::floor(l / 30.0));
    };
    std::vector<double> found;
    double a = span.from;
    int sa = sign(a);
    for (double b = a + 0.25; b <= span.to; a = b, b += 0.25) {
        const int sb = sign(b);
        if (sa != sb) found.push_back(Bisect([&](double x) { return sign(x) == sa; }, a, b));
        sa = sb;
    }
    return found;
}

class SkyEventsOracle : public testing::SkyPositionsTest {};

// Each oracle event has one of the finder's within `tolerance` days, and
// the finder has no event the oracle lacks; returns the largest difference.
double Compare(const std::vector<SkyEvent>& ours, const std::vector<double>& oracle, EventSpan span,
               double tolerance, const std::string& what) {
    double worst = 0.0;
    std::size_t matched = 0;
    for (double t : oracle) {
        // Events within a minute of the span's ends may round to either side.
        if (t < span.from + kMinute || t > span.to - kMinute) continue;
        double best = 1e9;
        for (const SkyEvent& e : ours) best = std::min(best, std::fabs(e.jd - t));
        EXPECT_LE(best, tolerance) << what << " at oracle jd " << t;
        worst = std::max(worst, best);
        ++matched;
    }
    EXPECT_NEAR(static_cast<double>(ours.size()), static_cast<double>(matched), 1.0) << what;
    return worst;
}

struct StationCase {
    Planet planet;
    int number;
    double toleranceMinutes;
    double years;
};

// Measured over 1900-2100 (VLT_EVENTS_FULL=1); the tolerances are those
// figures rounded up: a station is where the speed passes 0, so an error
// of the speed of a fraction of an arc second a day moves it by minutes.
// Pluto's geocentric positions come from a daily table of whole arc
// minutes: its longitude stands still for days about a station, which the
// finder takes at the middle of that stretch.
const StationCase kStationCases[] = {
    {Planet::Mercury, 2, 10.0, 2.0},  {Planet::Venus, 3, 10.0, 3.0},
    {Planet::Mars, 4, 15.0, 4.0},     {Planet::Jupiter, 5, 30.0, 3.0},
    {Planet::Saturn, 6, 50.0, 3.0},   {Planet::Uranus, 7, 90.0, 3.0},
    {Planet::Neptune, 8, 150.0, 3.0}, {Planet::Pluto, 9, 900.0, 3.0},
};

// Pluto's table ends with 2099.
constexpr double kPlutoTableEnd = 2488069.5;

TEST_F(SkyEventsOracle, StationsOfMercuryToPlutoMatchTheOracle) {
    for (const StationCase& c : kStationCases) {
        double worst = 0.0;
        for (EventSpan span : Spans(c.years)) {
            if (c.planet == Planet::Pluto) span.to = std::min(span.to, kPlutoTableEnd - 1.0);
            const SkyEventList ours = FindStations(c.planet, span);
            ASSERT_TRUE(ours.failure.empty()) << ours.failure;
            const std::string name(Name(c.planet, Centricity::Geocentric));
            worst = std::max(worst, Compare(ours.events, OracleStations(c.number, span), span,
                                            c.toleranceMinutes * kMinute, name + " station"));
        }
        if (FullRun()) std::printf("stations %d: %.2f min\n", c.number, worst / kMinute);
    }
}

// The Moon's elongation from the Sun in universal time, both from the
// oracle (degrees).
double OracleElongation(double jd) {
    double moon[6] = {};
    double sun[6] = {};
    char serr[AS_MAXCH] = {};
    swe_calc_ut(jd, SE_MOON, SEFLG_SWIEPH, moon, serr);
    swe_calc_ut(jd, SE_SUN, SEFLG_SWIEPH, sun, serr);
    return moon[0] - sun[0];
}

double Wrapped(double x, double period) { return x - period * std::floor(x / period + 0.5); }

// Where a wrapped signal passes 0, quarter-day steps and bisection.
std::vector<double> OracleZeros(const std::function<double(double)>& g, double period,
                                EventSpan span) {
    std::vector<double> found;
    double a = span.from;
    double ga = g(a);
    for (double b = a + 0.25; b <= span.to; a = b, b += 0.25) {
        const double gb = g(b);
        if ((ga < 0.0) != (gb < 0.0) && std::fabs(gb - ga) < period / 2.0) {
            found.push_back(Bisect([&](double x) { return (g(x) < 0.0) == (ga < 0.0); }, a, b));
        }
        ga = gb;
    }
    return found;
}

TEST_F(SkyEventsOracle, LunarPhasesWithinAMinute) {
    std::size_t seen = 0;
    for (EventSpan span : Spans(1.0)) {
        const SkyEventList ours = FindLunarPhases(span);
        ASSERT_TRUE(ours.failure.empty()) << ours.failure;
        const std::vector<double> oracle =
            OracleZeros([](double jd) { return Wrapped(OracleElongation(jd), 90.0); }, 90.0, span);
        // Rounding to the minute leaves half a minute; the Moon's own error
        // a few seconds more.
        Compare(ours.events, oracle, span, 0.75 * kMinute, "phase");
        for (const SkyEvent& e : ours.events) {
            const double elongation = Wrapped(OracleElongation(e.jd), 360.0);
            const int quarter = static_cast<int>(std::lround((elongation + 360.0) / 90.0)) % 4;
            EXPECT_EQ(quarter, static_cast<int>(*e.phase)) << e.jd;
        }
        seen += oracle.size();
    }
    EXPECT_GT(seen, 8u * 45u);
}

// Exact aspects of a few pairs, fast and slow, inner planets that turn
// retrograde among them: each of the oracle's passes through the aspect
// angle has the finder's within the arc the pair's separation covers in the
// time (the pair's position errors), and no more events.
struct AspectCase {
    Planet first, second;
    double arcSeconds;
};

const AspectCase kAspectCases[] = {
    {Planet::Sun, Planet::Mars, 15.0},       {Planet::Mercury, Planet::Venus, 20.0},
    {Planet::Venus, Planet::Saturn, 15.0},   {Planet::Mars, Planet::Jupiter, 20.0},
    {Planet::Jupiter, Planet::Saturn, 10.0},
};

TEST_F(SkyEventsOracle, ExactAspectsOfSamplePairsMatchTheOracle) {
    const std::vector<Aspect> all = {Aspect::Conjunction, Aspect::Opposition, Aspect::Square,
                                     Aspect::Trine,       Aspect::Sextile,    Aspect::Semisextile,
                                     Aspect::Quincunx};
    for (const AspectCase& c : kAspectCases) {
        const std::string name = std::string(Name(c.first, Centricity::Geocentric)) + "-" +
                                 std::string(Name(c.second, Centricity::Geocentric));
        const auto difference = [&](double jd) {
            return OracleLongitude(Number(c.first), jd, false).first -
                   OracleLongitude(Number(c.second), jd, false).first;
        };
        for (EventSpan span : Spans(c.first >= Planet::Mars ? 3.0 : 1.0)) {
            const SkyEventList ours = FindExactAspects(c.first, c.second, all, span);
            ASSERT_TRUE(ours.failure.empty()) << ours.failure;
            // The oracle's difference once per quarter day, shared by the targets.
            std::vector<double> grid;
            for (double t = span.from; t <= span.to; t += 0.25) grid.push_back(difference(t));
            std::size_t oracleCount = 0;
            for (const AspectInfo& info : kAspectTable) {
                std::vector<double> targets = {1.0 * info.degrees};
                if (info.degrees != 0 && info.degrees != 180) targets.push_back(-info.degrees);
                for (double target : targets) {
                    const auto g = [&](double jd) {
                        return Wrapped(difference(jd) - target, 360.0);
                    };
                    for (std::size_t k = 1; k < grid.size(); ++k) {
                        const double ga = Wrapped(grid[k - 1] - target, 360.0);
                        const double gb = Wrapped(grid[k] - target, 360.0);
                        if ((ga < 0.0) == (gb < 0.0) || std::fabs(gb - ga) > 180.0) continue;
                        const double a = span.from + 0.25 * static_cast<double>(k - 1);
                        const double t = Bisect(
                            [&](double x) { return (g(x) < 0.0) == (ga < 0.0); }, a, a + 0.25);
                        ++oracleCount;
                        double dt = 1e9;
                        for (const SkyEvent& e : ours.events) {
                            if (*e.aspect == info.aspect) dt = std::min(dt, std::fabs(e.jd - t));
                        }
                        const double rate = std::fabs(g(t + 0.01) - g(t - 0.01)) / 0.02;
                        EXPECT_LE(std::max(0.0, dt - kMinute) * rate * 3600.0, c.arcSeconds)
                            << name << " " << info.name << " at oracle jd " << t << ", "
                            << dt / kMinute << " min";
                    }
                }
            }
            EXPECT_NEAR(static_cast<double>(ours.events.size()), static_cast<double>(oracleCount),
                        1.0)
                << name;
        }
    }
}

// An ingress is where the longitude passes a multiple of 30°, so its time
// is off by the position's error over the body's speed there: within a
// minute where the body is quick, longer about a station.  Each difference
// is checked as the arc the oracle's body covers in it, against the body's
// measured figure (a minute's worth always passes).
struct IngressCase {
    Planet planet;
    double arcSeconds;
    double years;
};

const IngressCase kIngressCases[] = {
    {Planet::Sun, 0.5, 1.0},    {Planet::Mercury, 9.0, 1.0}, {Planet::Venus, 10.0, 1.0},
    {Planet::Mars, 13.0, 1.0},  {Planet::Jupiter, 4.5, 6.0}, {Planet::Saturn, 1.5, 6.0},
    {Planet::Uranus, 2.0, 6.0}, {Planet::Neptune, 2.0, 6.0},
};

TEST_F(SkyEventsOracle, IngressesOfSunToNeptuneWithinTheirPositionError) {
    for (const IngressCase& c : kIngressCases) {
        double worstArc = 0.0;
        double worstMinutes = 0.0;
        const std::string name(Name(c.planet, Centricity::Geocentric));
        for (EventSpan span : Spans(c.years)) {
            const SkyEventList ours = FindIngresses(c.planet, span);
            ASSERT_TRUE(ours.failure.empty()) << ours.failure;
            const std::vector<double> oracle = OracleIngresses(Number(c.planet), span, false);
            ASSERT_NEAR(static_cast<double>(ours.events.size()), static_cast<double>(oracle.size()),
                        1.0)
                << name;
            for (double t : oracle) {
                if (t < span.from + kMinute || t > span.to - kMinute) continue;
                double dt = 1e9;
                for (const SkyEvent& e : ours.events) dt = std::min(dt, std::fabs(e.jd - t));
                const double speed = std::fabs(OracleLongitude(Number(c.planet), t, false).second);
                const double arc = std::max(0.0, dt - kMinute) * speed * 3600.0;
                EXPECT_LE(arc, c.arcSeconds)
                    << name << " ingress at oracle jd " << t << ", " << dt / kMinute << " min";
                worstArc = std::max(worstArc, arc);
                worstMinutes = std::max(worstMinutes, dt / kMinute);
            }
        }
        if (FullRun())
            std::printf("ingresses %s: %.2f min, %.2f arcsec\n", name.c_str(), worstMinutes,
                        worstArc);
    }
}

}  // namespace
}  // namespace vlt
