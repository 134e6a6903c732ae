#include "bench/swe_transit_finder.h"

#include <swephexp.h>

#include <cmath>

namespace vlt::bench {

namespace {

constexpr double kAspectDegrees[7] = {0, 180, 90, 120, 60, 30, 150};
constexpr double kMinute = 1.0 / 1440.0;

class Pair {
public:
    Pair(int first, int second, YardstickCounts& counts)
        : first_(first), second_(second), counts_(counts) {}

    // Longitude of the first planet minus the second's, -180..180 degrees.
    double Difference(double jd) { return Wrap(Longitude(first_, jd) - Longitude(second_, jd)); }

    static double Wrap(double d) {
        while (d > 180.0) d -= 360.0;
        while (d <= -180.0) d += 360.0;
        return d;
    }

    // The minute at which test(difference) changes between a (value
    // before) and b, by halving.
    template <typename Test>
    double Bisect(double a, double b, Test test) {
        const bool before = test(Difference(a));
        while (b - a > kMinute) {
            const double mid = 0.5 * (a + b);
            if (test(Difference(mid)) == before) {
                a = mid;
            } else {
                b = mid;
            }
        }
        return b;
    }

private:
    double Longitude(int body, double jd) {
        double xx[6];
        char error[256];
        ++counts_.longitudes;
        swe_calc_ut(jd, body, SEFLG_SWIEPH, xx, error);
        return xx[0];
    }

    int first_, second_;
    YardstickCounts& counts_;
};

}  // namespace

void OpenYardstickEphemeris() {
    static const bool opened = [] {
        swe_set_ephe_path(const_cast<char*>(VLT_SWE_EPHE_DIR));
        return true;
    }();
    (void)opened;
}

int YardstickBody(int programPlanet) {
    switch (programPlanet) {
        case 1: return SE_SUN;
        case 2: return SE_MERCURY;
        case 3: return SE_VENUS;
        case 4: return SE_MARS;
        case 5: return SE_JUPITER;
        case 6: return SE_SATURN;
        case 7: return SE_URANUS;
        case 8: return SE_NEPTUNE;
        default: return SE_PLUTO;
    }
}

YardstickCounts FindTransits(int firstBody, int secondBody, double firstDay, double lastDay,
                             const double orbDegrees[3]) {
    YardstickCounts counts;
    Pair pair(firstBody, secondBody, counts);
    // The difference reaches an aspect angle at these values.
    constexpr double kTargets[12] = {0, 180, 90, -90, 120, -120, 60, -60, 30, -30, 150, -150};
    double before = pair.Difference(firstDay);
    double found = 0.0;  // keeps the bisections' answers alive
    for (double day = firstDay + 1.0; day <= lastDay; day += 1.0) {
        const double now = pair.Difference(day);
        for (const double angle : kAspectDegrees) {
            const double was = std::fabs(std::fabs(before) - angle);
            const double is = std::fabs(std::fabs(now) - angle);
            for (int level = 0; level < 3; ++level) {
                const double orb = orbDegrees[level];
                if ((was < orb) != (is < orb)) {
                    ++counts.orbEvents;
                    found += pair.Bisect(day - 1.0, day, [&](double d) {
                        return std::fabs(std::fabs(d) - angle) < orb;
                    });
                }
            }
        }
        for (const double target : kTargets) {
            const double was = Pair::Wrap(before - target);
            const double is = Pair::Wrap(now - target);
            if ((was < 0) != (is < 0) && std::fabs(was) < 90 && std::fabs(is) < 90) {
                ++counts.exactAspects;
                found += pair.Bisect(day - 1.0, day,
                                     [&](double d) { return Pair::Wrap(d - target) < 0; });
            }
        }
        before = now;
    }
    if (found < 0) counts.exactAspects = -1;  // never: the answers are days
    return counts;
}

}  // namespace vlt::bench
