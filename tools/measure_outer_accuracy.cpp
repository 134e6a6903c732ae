// Measures Jupiter to Neptune as the positions library computes them from the
// data files against the reference ephemeris, at random dates:
//
//   vlt_outer_accuracy [<data folder>] [<dates per planet>]
//
// Heliocentric: longitude, latitude and radius vector of date over each
// file's whole span.  Geocentric: the library's apparent longitude over
// 1600-2799 against the reference's apparent longitude.  Prints a Markdown
// table (arc seconds, AU).  Then the two Pluto tables: every entry against
// the reference at 0h of its day, and random instants interpolated linearly
// between two days as the program does.  The dates come from a fixed seed,
// so the figures are the same on every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"
#include "tools/data_format.h"
#include "tools/ephemeris_source.h"
#include "tools/pluto_codec.h"

namespace {

using namespace vlt::datagen;

constexpr double kArcsecondsPerRadian = 180.0 * 3600.0 / std::numbers::pi;
constexpr double kArcsecondsPerDegree = 3600.0;

struct Statistic {
    double max = 0;
    double sum_of_squares = 0;
    long count = 0;
    void Add(double difference) {
        max = std::max(max, std::fabs(difference));
        sum_of_squares += difference * difference;
        ++count;
    }
    double Rms() const { return count ? std::sqrt(sum_of_squares / count) : 0; }
};

// Uniform in [0, 1) from the top 53 bits: the same on every platform.
double Uniform(std::mt19937_64& rng) { return static_cast<double>(rng() >> 11) * 0x1.0p-53; }

double WrapDegrees(double d) { return std::remainder(d, 360.0); }

// Decoded entries of a Pluto table in degrees; empty when a line is invalid.
std::vector<double> ReadPlutoTable(const std::string& path, bool geocentric) {
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<double> degrees;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const int i = static_cast<int>(degrees.size());
        const std::string line = text.substr(start, end - start);
        const auto units = geocentric ? DecodeGeoEntry(i, line) : DecodeHelioEntry(i, line);
        if (!units) return {};
        degrees.push_back(geocentric ? *units / 60.0 : *units / 3600.0);
    }
    return degrees;
}

// Linear interpolation between the entries of the day and the next day,
// across 0 degrees where needed.
double Interpolate(const std::vector<double>& table, double jd) {
    const double x = jd + 0.5;
    const double n = std::floor(x);
    const std::size_t i = static_cast<std::size_t>(n - (kPlutoFirstJulianDate + 0.5));
    double a = table[i], b = table[i + 1];
    if (b - a > 355)
        a += 360;
    else if (a - b > 355)
        b += 360;
    return a + (x - n) * (b - a);
}

bool MeasurePluto(const std::string& folder, long dates) {
    struct Table {
        const char* file;
        bool geocentric;
    };
    std::printf(
        "\n| Pluto table | Entries | Entry at 0h max / RMS (\") | Interpolated max / RMS (\") |\n");
    std::printf("|---|---|---|---|\n");
    for (const Table& t : {Table{"pluto.slx", true}, Table{"hpluto.2199.slx", false}}) {
        const std::vector<double> table = ReadPlutoTable(folder + t.file, t.geocentric);
        if (table.size() < 2) {
            std::fprintf(stderr, "%s: cannot read\n", t.file);
            return false;
        }
        auto reference = [&](double jd) {
            return t.geocentric ? GeocentricApparentLongitude(kPlutoBody, jd)
                                : HeliocentricJ2000Longitude(kPlutoBody, jd);
        };
        Statistic entry, interpolated;
        for (std::size_t i = 0; i < table.size(); ++i) {
            const auto r = reference(kPlutoFirstJulianDate + static_cast<double>(i));
            if (!r) return false;
            entry.Add(WrapDegrees(table[i] - *r) * kArcsecondsPerDegree);
        }
        std::mt19937_64 rng(0x9107u + (t.geocentric ? 1u : 2u));
        const double span = static_cast<double>(table.size() - 1);
        for (long n = 0; n < dates; ++n) {
            const double jd = kPlutoFirstJulianDate + span * Uniform(rng);
            const auto r = reference(jd);
            if (!r) return false;
            interpolated.Add(WrapDegrees(Interpolate(table, jd) - *r) * kArcsecondsPerDegree);
        }
        std::printf("| %s | %zu | %.3f / %.3f | %.3f / %.3f |\n", t.file, table.size(), entry.max,
                    entry.Rms(), interpolated.max, interpolated.Rms());
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : VLT_SOURCE_DATA_DIR;
    if (folder.back() != '/') folder += '/';
    const long dates = argc > 2 ? std::atol(argv[2]) : 20000;
    set_datafiles_folder(folder.c_str());
    OpenEphemeris(VLT_SWE_EPHE_DIR);

    std::printf(
        "| Planet | Span | Helio longitude max / RMS (\") | Latitude max / RMS (\") "
        "| Radius max / RMS (AU) | Geo apparent 1600-2799 max / RMS (\") |\n");
    std::printf("|---|---|---|---|---|---|\n");
    bool failed = false;
    for (const OuterPlanet& planet : OuterPlanets()) {
        std::mt19937_64 rng(0x5eed0000u + static_cast<unsigned>(planet.library_number));
        const double start = JulianDateOfNewYear(planet.first_year);
        const double end =
            JulianDateOfNewYear(planet.first_year + kYearsPerRecord * planet.records);
        Statistic lon, lat, rad, geo;
        for (long n = 0; n < dates; ++n) {
            const double jd = start + (end - start) * Uniform(rng);
            double b = 0, r = 0, reference[3];
            const double l = pvlt::hc_long_lat_rv_planet(planet.library_number, jd,
                                                         YearOfJulianDate(jd), &b, &r);
            if (l <= pvlt::kErrorLimit ||
                !HeliocentricOfDate(planet.oracle_number, jd, reference)) {
                std::fprintf(stderr, "%s: no position at %.5f (%g)\n", planet.name, jd, l);
                failed = true;
                continue;
            }
            lon.Add(std::remainder(l - reference[0], 2 * std::numbers::pi) * kArcsecondsPerRadian);
            lat.Add((b - reference[1]) * kArcsecondsPerRadian);
            rad.Add(r - reference[2]);
        }
        const double geo_start = JulianDateOfNewYear(1600);
        const double geo_end = JulianDateOfNewYear(2800);
        for (long n = 0; n < dates; ++n) {
            const double jd = geo_start + (geo_end - geo_start) * Uniform(rng);
            double distance = 0;
            const double l =
                gc_app_long_rv_planet(planet.library_number, jd, YearOfJulianDate(jd), &distance);
            const auto reference = GeocentricApparentLongitude(planet.oracle_number, jd);
            if (l <= pvlt::kErrorLimit || !reference) {
                std::fprintf(stderr, "%s: no apparent position at %.5f (%g)\n", planet.name, jd, l);
                failed = true;
                continue;
            }
            geo.Add(WrapDegrees(l * 180.0 / std::numbers::pi - *reference) * kArcsecondsPerDegree);
        }
        std::printf("| %s | %d..%d | %.3f / %.3f | %.3f / %.3f | %.2e / %.2e | %.2f / %.2f |\n",
                    planet.name, planet.first_year,
                    planet.first_year + kYearsPerRecord * planet.records - 1, lon.max, lon.Rms(),
                    lat.max, lat.Rms(), rad.max, rad.Rms(), geo.max, geo.Rms());
    }
    if (!MeasurePluto(folder, dates)) failed = true;
    CloseEphemeris();
    return failed ? 1 : 0;
}
