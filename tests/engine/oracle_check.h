#pragma once
// Checks a transit report against the Swiss Ephemeris, independently of the
// scan: every exact minimum against the instant the oracle's separation
// reaches the aspect angle, every orb entry and exit date against the
// oracle's crossing of that orb, every "r" against the sign of the oracle's
// geocentric speed of the first planet.  Positions are read at the report's
// instants taken as TT, as the program takes them; the Moon's as universal
// time, as its file gives them.

#include <gtest/gtest.h>
#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/support/calendar.h"
#include "app/support/date_processing.h"
#include "tests/engine/report_parsing.h"

namespace vlt::testing {

inline void OpenOracle() {
    static bool opened = false;
    if (!opened) {
        static char path[] = VLT_SWE_EPHE_DIR;
        swe_set_ephe_path(path);
        opened = true;
    }
}

inline int OracleBody(int planet, bool heliocentric) {
    switch (planet) {
        case 2: return SE_MERCURY;
        case 3: return SE_VENUS;
        case 4: return SE_MARS;
        case 5: return SE_JUPITER;
        case 6: return SE_SATURN;
        case 7: return SE_URANUS;
        case 8: return SE_NEPTUNE;
        case 9: return SE_PLUTO;
        case 10: return SE_MOON;
        default: return heliocentric ? SE_EARTH : SE_SUN;
    }
}

// Longitude in degrees and its speed in degrees per day.
inline std::pair<double, double> OracleLongitude(int planet, double jd, bool heliocentric) {
    OpenOracle();
    const int32 flags =
        heliocentric ? (SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_TRUEPOS | SEFLG_J2000 | SEFLG_SPEED)
                     : (SEFLG_SWIEPH | SEFLG_SPEED);
    double xx[6] = {};
    char serr[AS_MAXCH] = {};
    // The Moon's file was fitted in universal time: its jd is read as such.
    const int32 got = planet == 10 && !heliocentric
                          ? swe_calc_ut(jd, SE_MOON, flags, xx, serr)
                          : swe_calc(jd, OracleBody(planet, heliocentric), flags, xx, serr);
    EXPECT_TRUE(got >= 0 && (got & SEFLG_SWIEPH)) << serr;
    return {xx[0], xx[3]};
}

// The oracle's angular separation in degrees, 0..180.
inline double OracleSeparation(int first, int second, double jd, bool helio) {
    const double a = OracleLongitude(first, jd, helio).first;
    const double b = OracleLongitude(second, jd, helio).first;
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

// Rate of change of the longitude difference, degrees per day.
inline double OracleRelativeRate(int first, int second, double jd, bool helio) {
    return std::fabs(OracleLongitude(first, jd, helio).second -
                     OracleLongitude(second, jd, helio).second);
}

struct OracleFigures {
    int exactMinima = 0;
    double largestMinimumMinutes = 0;    // |report - oracle| of an exact minimum
    double largestMinimumExcess = -1e9;  // that minus its tolerance (must stay <= 0)
    int orbDates = 0;
    double largestOutsideHours = 0;  // oracle crossing outside the reported day
    int orbDatesOffByOneDay = 0;     // crossing in the day before, at the boundary
    int markersChecked = 0;          // "r" or no "r" where the oracle is clear
    int markersSkippedNearStation = 0;
    std::vector<std::string> failures;

    std::string Summary() const {
        std::ostringstream s;
        s << exactMinima << " exact minima, largest difference " << largestMinimumMinutes
          << " min (largest excess over tolerance " << largestMinimumExcess << " min); " << orbDates
          << " orb dates, " << orbDatesOffByOneDay
          << " a day late at a day boundary, largest crossing outside its reported day "
          << largestOutsideHours << " h; " << markersChecked << " retrograde cells checked, "
          << markersSkippedNearStation << " skipped near stations";
        return s.str();
    }
};

struct ReportContext {
    int first, second;
    bool heliocentric;
    bool markersShown;  // geocentric single run
    double step;
    std::map<std::string, double> aspectDegrees;  // "Conjunction" -> 0
    std::array<int, 3> orbs;                      // outer, middle, inner degrees
};

inline std::int32_t DayOfText(const std::string& cell) {
    DateRecord r{};
    r.year = std::stoi(cell.substr(0, 4));
    r.month = std::stoi(cell.substr(5, 2));
    r.day = std::stoi(cell.substr(8, 2));
    r.calendar = kCalendarGregorian;
    return DateToDayNumber(r);
}

// Time of the smallest |separation - angle| near jd (within a day), degrees.
inline double OracleMinimum(const ReportContext& c, double angle, double around) {
    auto f = [&](double x) {
        return std::fabs(OracleSeparation(c.first, c.second, x, c.heliocentric) - angle);
    };
    double best = around;
    double bestValue = 1e9;
    for (int k = -48; k <= 48; ++k) {
        const double x = around + k / 48.0;
        const double v = f(x);
        if (v < bestValue) {
            bestValue = v;
            best = x;
        }
    }
    double lo = best - 1.0 / 48, hi = best + 1.0 / 48;
    for (int i = 0; i < 60; ++i) {
        const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
        if (f(m1) < f(m2))
            hi = m2;
        else
            lo = m1;
    }
    return (lo + hi) / 2;
}

// Instants near the day (UT) at which the oracle's distance crosses the orb.
inline std::vector<double> OracleCrossings(const ReportContext& c, double angle, double orb,
                                           std::int32_t day) {
    auto g = [&](double x) {
        return std::fabs(OracleSeparation(c.first, c.second, x, c.heliocentric) - angle) - orb;
    };
    std::vector<double> out;
    double x0 = day - 2.5;
    double g0 = g(x0);
    for (double x1 = x0 + 0.125; x1 <= day + 1.5 + 1e-9; x1 += 0.125) {
        const double g1 = g(x1);
        if ((g0 < 0) != (g1 < 0)) {
            double lo = x0, hi = x1, glo = g0;
            for (int i = 0; i < 30; ++i) {
                const double m = (lo + hi) / 2;
                const double gm = g(m);
                if ((gm < 0) == (glo < 0)) {
                    lo = m;
                    glo = gm;
                } else {
                    hi = m;
                }
            }
            out.push_back((lo + hi) / 2);
        }
        x0 = x1;
        g0 = g1;
    }
    return out;
}

// 20 arc-seconds at the pair's relative rate, in days.
inline double TwentyArcSecondsDays(const ReportContext& c, double jd) {
    const double rate = std::max(OracleRelativeRate(c.first, c.second, jd, c.heliocentric), 1e-6);
    return (20.0 / 3600.0) / rate;
}

inline void CheckMarker(const ReportContext& c, const std::string& cell, std::int32_t day,
                        OracleFigures& fig) {
    const bool marked = !cell.empty() && cell.back() == 'r';
    if (!c.markersShown) {
        if (marked) fig.failures.push_back("retrograde marker where none is shown: " + cell);
        return;
    }
    int negative = 0, positive = 0;
    for (double x : {day - 2.0, day - 1.5, day - 0.5, day + 0.5, day + 1.0}) {
        (OracleLongitude(c.first, x, false).second < 0 ? negative : positive)++;
    }
    if (negative != 0 && positive != 0) {
        ++fig.markersSkippedNearStation;
        return;
    }
    ++fig.markersChecked;
    if (marked != (negative != 0)) {
        fig.failures.push_back("retrograde marker disagrees with the oracle: " + cell);
    }
}

inline OracleFigures CheckReportAgainstOracle(const std::vector<Cells>& rows,
                                              const ReportContext& c) {
    OracleFigures fig;
    std::string aspect;
    static const int levelOfColumn[9] = {-1, 0, 1, 2, -1, 2, 1, 0, -1};
    for (const Cells& row : rows) {
        if (!row[0].empty()) aspect = row[0];
        const auto found = c.aspectDegrees.find(aspect);
        if (found == c.aspectDegrees.end()) {
            fig.failures.push_back("row without a known aspect: " + aspect);
            continue;
        }
        const double angle = found->second;
        for (int col = 1; col <= 7; ++col) {
            const std::string& cell = row[static_cast<std::size_t>(col)];
            if (cell.empty()) continue;
            const std::int32_t day = DayOfText(cell);
            CheckMarker(c, cell, day, fig);
            if (col == 4) {
                if (cell.find('*') == std::string::npos) continue;
                // Exact minimum: date and clock time (GMT) against the oracle.
                const std::string& time = row[8];
                const double reported = day - 0.5 + std::stoi(time.substr(0, 2)) / 24.0 +
                                        std::stoi(time.substr(3, 2)) / 1440.0;
                const double oracle = OracleMinimum(c, angle, reported);
                const double minutes = std::fabs(reported - oracle) * 1440.0;
                const double tolerance = 2.0 + TwentyArcSecondsDays(c, oracle) * 1440.0;
                ++fig.exactMinima;
                fig.largestMinimumMinutes = std::max(fig.largestMinimumMinutes, minutes);
                fig.largestMinimumExcess = std::max(fig.largestMinimumExcess, minutes - tolerance);
                const double least =
                    std::fabs(OracleSeparation(c.first, c.second, oracle, c.heliocentric) - angle);
                if (minutes > tolerance || least > 1.0 / 60 + 20.0 / 3600) {
                    fig.failures.push_back(aspect + " minimum " + cell + " " + time + ": oracle " +
                                           std::to_string(minutes) + " min away, distance " +
                                           std::to_string(least * 3600) + "\"");
                }
                continue;
            }
            const double orb = c.orbs[static_cast<std::size_t>(levelOfColumn[col])];
            const std::vector<double> crossings = OracleCrossings(c, angle, orb, day);
            ++fig.orbDates;
            // The scan dates an event by its first sample past the crossing,
            // at most one step later: the reported day or the one after.
            double bestOutside = 1e9;
            bool dayLate = false;
            for (double x : crossings) {
                const double lo = day - 0.5 - c.step, hi = day + 0.5;
                const double slack = TwentyArcSecondsDays(c, x);
                double outside = 0;
                if (x < lo) outside = lo - x;
                if (x > hi) outside = x - hi;
                if (outside > slack) continue;
                const double outsideDay = x < day - 0.5 ? day - 0.5 - x : (x > hi ? x - hi : 0);
                if (outsideDay < bestOutside) {
                    bestOutside = outsideDay;
                    dayLate = x < day - 0.5;
                }
            }
            if (bestOutside > 1e8) {
                fig.failures.push_back(aspect + " column " + std::to_string(col) + " " + cell +
                                       ": no oracle crossing of " + std::to_string(orb) +
                                       " degrees on that day");
                continue;
            }
            fig.orbDatesOffByOneDay += dayLate;
            fig.largestOutsideHours = std::max(fig.largestOutsideHours, bestOutside * 24);
        }
    }
    return fig;
}

}  // namespace vlt::testing
