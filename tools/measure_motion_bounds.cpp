// Measures how fast each body's longitude moves on the grids the transit
// scan walks, from the program's own positions:
//
//   vlt_motion_bounds [<data folder> [<planet number>]]
//
// A scan's grid points lie on whole half hours of universal time (its steps
// of 1/8, 1/4 or 1/2 day start a quarter day before a day number, and time
// zones are whole half hours), so every base point here lies on that lattice
// too.  For each body and centricity, over the span where its positions
// exist (years 1 to 2799; the data-file planets and Pluto over their files),
// it takes the longitudes at x, x + 1/8, x + 1/4, x + 3/8, x + 1/2, x + 3/4,
// x + 1 and x + 3/2 and records the largest move |L(x+h) - L(x)| / h over the
// three steps h and, for each step, the largest change of the move
// |L(x+2h) - 2 L(x+h) + L(x)| / h^2 (by step: where positions are
// interpolated between table days, the change at a bend grows as the step
// shrinks) and the largest third difference
// |L(x+3h) - 3 L(x+2h) + 3 L(x+h) - L(x)| / h^3 of four points in one smooth
// piece (app/engine/motion_bounds.h: SmoothPiece).  Base points
// run through the span at a stride that is not a whole fraction of a day (so
// that every hour of the day is met) and through every half hour of the day
// before each new year, where the data files change records; Pluto's
// daily table is walked at every half hour.  Prints the table rows of
// app/engine/motion_bounds.cpp, rounded up.  Takes a few minutes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/engine/motion_bounds.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"
#include "app/support/message_box.h"

namespace {

using namespace vlt;

constexpr double kLattice = 1.0 / 48.0;
constexpr double kFirstDay = 1721426.0;      // 1 January of the year 1
constexpr double kLastDay = 2743739.0;       // 1 January 2800
constexpr double kFirstFileDay = 2305448.0;  // 1 January 1600
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

class SilentBoxes final : public MessageBoxes {
public:
    MsgResult Show(const std::string& text, const std::string&, MsgButtons, MsgIcon) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return MsgResult::Ok;
    }
};

double Wrap(double a) {
    const double pi = kTwoPi / 2;
    while (a > pi) a -= kTwoPi;
    while (a <= -pi) a += kTwoPi;
    return a;
}

struct Extremes {
    double rate = 0.0;            // radians per day
    double acceleration[3] = {};  // radians per day squared, by grid
    double jerk[3] = {};          // radians per day cubed, by grid, inside one piece
    long samples = 0;
};

// Longitudes at x + k/8 for k = 0, 1, 2, 3, 4, 6, 8, 12: the three grids'
// quadruples.
void Measure(std::int16_t planet, bool helio, double x, Extremes& e) {
    const double offsets[8] = {0.0, 0.125, 0.25, 0.375, 0.5, 0.75, 1.0, 1.5};
    double lon[8];
    for (int i = 0; i < 8; ++i) {
        lon[i] = PlanetLongitude(planet, x + offsets[i], helio);
        if (!(lon[i] >= 0.0)) return;
    }
    // Indices of the grids of 1/8, 1/4 and 1/2 day.
    const int quadruples[3][4] = {{0, 1, 2, 3}, {0, 2, 4, 5}, {0, 4, 6, 7}};
    const double steps[3] = {0.125, 0.25, 0.5};
    for (int g = 0; g < 3; ++g) {
        const double h = steps[g];
        const int* q = quadruples[g];
        const double m1 = Wrap(lon[q[1]] - lon[q[0]]);
        const double m2 = Wrap(lon[q[2]] - lon[q[1]]);
        const double m3 = Wrap(lon[q[3]] - lon[q[2]]);
        e.rate = std::max({e.rate, std::fabs(m1) / h, std::fabs(m2) / h});
        e.acceleration[g] = std::max(e.acceleration[g], std::fabs(m2 - m1) / (h * h));
        // The third difference only where all four points share a piece.
        if (SmoothPiece(planet, x) != SmoothPiece(planet, x + 3 * h)) continue;
        e.jerk[g] = std::max(e.jerk[g], std::fabs(m3 - 2 * m2 + m1) / (h * h * h));
    }
    ++e.samples;
}

struct Span {
    double first;
    double last;
    double stride;  // days between base points, a whole number of half hours
};

Span SpanOf(std::int16_t planet, bool helio) {
    if (planet == kPluto) {
        const std::int32_t last = helio ? kHelioPlutoLastDay : kGeoPlutoLastDay;
        return {static_cast<double>(kPlutoFirstDay), static_cast<double>(last), kLattice};
    }
    if (planet == kUranus || planet == kNeptune) return {kFirstFileDay, kLastDay, 181 * kLattice};
    if (planet >= kJupiter) return {kFirstDay, kLastDay, 181 * kLattice};
    return {kFirstDay, kLastDay, 37 * kLattice};
}

Extremes MeasureBody(std::int16_t planet, bool helio) {
    const Span span = SpanOf(planet, helio);
    Extremes e;
    const long count = std::lround((span.last - span.first - 1.0) / span.stride);
    for (long i = 0; i < count; ++i) Measure(planet, helio, span.first + i * span.stride, e);
    if (span.stride == kLattice) return e;
    // Around every new year: the records of the data files and the year
    // the positions are told change there.
    for (int year = 1; year < 2800; ++year) {
        DateRecord date{year, 1, 1, kCalendarGregorian, 0, 0};
        const double newYear = DateToDayNumber(date) - 0.5;  // 0h universal time
        if (newYear - 1.5 < span.first || newYear + 0.5 > span.last) continue;
        for (int k = -48; k <= 0; ++k) Measure(planet, helio, newYear + k * kLattice, e);
    }
    return e;
}

double RoundUp(double value) {
    if (value <= 0.0) return 0.0;
    const double scale = std::pow(10.0, std::floor(std::log10(value)) - 3);
    return std::ceil(value / scale) * scale;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : VLT_SOURCE_DATA_DIR;
    const int only = argc > 2 ? std::atoi(argv[2]) : 0;
    InitPositionsWithFolder(folder);
    SilentBoxes boxes;
    if (!ReadPlutoData(boxes)) return 1;
    std::printf(
        "    // planet, heliocentric, rate (deg/day), acceleration on grids of 1/8,\n"
        "    // 1/4 and 1/2 day (deg/day^2), third difference inside one piece on\n"
        "    // the same grids (deg/day^3)\n");
    for (bool helio : {false, true}) {
        for (std::int16_t planet = kSun; planet <= kPluto; ++planet) {
            if (only != 0 && planet != only) continue;
            const Extremes e = MeasureBody(planet, helio);
            if (e.samples == 0) continue;
            std::printf(
                "    {%d, %s, {%.4g, {%.4g, %.4g, %.4g}, {%.4g, %.4g, %.4g}}},  // %ld samples\n",
                planet, helio ? "true" : "false", RoundUp(e.rate * kDegreesPerRadian),
                RoundUp(e.acceleration[0] * kDegreesPerRadian),
                RoundUp(e.acceleration[1] * kDegreesPerRadian),
                RoundUp(e.acceleration[2] * kDegreesPerRadian),
                RoundUp(e.jerk[0] * kDegreesPerRadian), RoundUp(e.jerk[1] * kDegreesPerRadian),
                RoundUp(e.jerk[2] * kDegreesPerRadian), e.samples);
            std::fflush(stdout);
        }
    }
    return 0;
}
