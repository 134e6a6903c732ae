#include "app/positions/positions.h"

#include <unistd.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/positions/pluto_tables.h"
#include "app/positions/position_failure.h"
#include "app/positions/vocabulary.h"
#include "app/support/calendar.h"
#include "app/support/numbers.h"
#include "planets/include/planets_vlt.h"

namespace vlt {

namespace {

// Set at start-up, before any scan; read-only while scans run.
std::string g_dataFolder;

// Program planet number to the positions library's.
std::int32_t LibraryPlanet(std::int16_t planet) {
    switch (planet) {
        case kSun: return 3;
        case kMercury: return 1;
        case kVenus: return 2;
        default: return planet;  // Mars .. Neptune keep their number; Pluto 9, Moon 10
    }
}

constexpr std::int32_t kLibraryPluto = 9;

// The running program's own folder, with a trailing "/".
std::string ProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return "./";
    path.resize(static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "./";
    return path.substr(0, slash + 1);
}

}  // namespace

double PlanetLongitude(std::int16_t planet, double jd, bool heliocentric) {
    const std::int32_t mapped = LibraryPlanet(planet);
    const std::int16_t year = YearOfJulianDay(jd);
    double longitude = 0.0;
    // The library's distance is not needed; a local slot, so that scans on
    // several threads do not write to one shared variable.
    double droppedDistance = 0.0;
    if (mapped == kLibraryPluto) {
        longitude = heliocentric ? HelioPlutoLongitude(jd) : GeoPlutoLongitude(jd);
    } else if (heliocentric) {
        longitude = hc_j2000_long_rv_planet(mapped, jd, year, &droppedDistance);
    } else {
        longitude = gc_app_long_rv_planet(mapped, jd, year, &droppedDistance);
    }
    if (longitude < 0.0) NotePositionCode(planet, jd, heliocentric, longitude);
    return longitude;
}

double HelioLongitude(std::int16_t planet, double jd) { return PlanetLongitude(planet, jd, true); }

double GeoLongitude(std::int16_t planet, double jd) { return PlanetLongitude(planet, jd, false); }

PositionResult PlanetPosition(std::int16_t planet, double jd, bool heliocentric) {
    return PositionResult::FromAnswer(PlanetLongitude(planet, jd, heliocentric));
}

GeoMotion GeoLongitudeAndSpeed(std::int16_t planet, double jd) {
    constexpr double kHour = 1.0 / 24.0;
    GeoMotion motion;
    motion.longitude = GeoLongitude(planet, jd);
    if (motion.longitude < 0.0) return motion;
    const double before = GeoLongitude(planet, jd - kHour);
    const double after = GeoLongitude(planet, jd + kHour);
    if (before < 0.0 || after < 0.0) return motion;
    // The nearest difference across longitude 0: no body moves half a turn
    // in two hours.
    motion.speed = std::remainder(after - before, kTwoPi) / (2.0 * kHour);
    return motion;
}

std::int16_t YearOfJulianDay(double jd) {
    const std::int32_t year = JulDatYear(jd, "A");
    // A year beyond 16 bits must not wrap round into the data span.
    if (year > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    if (year < std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(year);
}

double ReduceAngle(double x) {
    if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
    // Far angles are brought near first, so that the loops stay short.
    if (std::fabs(x) > 1024.0 * kTwoPi) x = std::fmod(x, kTwoPi);
    while (x < 0.0) x += kTwoPi;
    while (x >= kTwoPi) x -= kTwoPi;
    return x;
}

double AngularSeparation(double a, double b, std::int16_t& direction) {
    double d1 = a - b;
    if (d1 < 0.0) d1 += kTwoPi;
    double d2 = b - a;
    if (d2 < 0.0) d2 += kTwoPi;
    const double s = d1 <= d2 ? d1 : d2;
    if (RoundHalfEven(ReduceAngle(a + s), 6) == RoundHalfEven(b, 6)) {
        direction = -1;
    } else if (RoundHalfEven(ReduceAngle(b + s), 6) == RoundHalfEven(a, 6)) {
        direction = 1;
    }
    return s;
}

bool IsRetrograde(std::int16_t planet, double jd) {
    if (planet == kSun || planet == kMoon) return false;
    return IsRetrogradeAt(planet, GeoLongitude(planet, jd), jd);
}

bool IsRetrogradeAt(std::int16_t planet, double longitude, double jd) {
    if (longitude < 0.0) return false;
    if (planet == kSun || planet == kMoon) return false;
    const double later = GeoLongitude(planet, jd + 1.0 / 48.0);
    const double d = later - longitude;
    if (std::fabs(d) >= kWrapThreshold) return false;
    return d < 0.0;
}

void InitPositions() { InitPositionsWithFolder(ProgramFolder()); }

void InitPositionsWithFolder(const std::string& folder) {
    g_dataFolder = folder;
    set_datafiles_folder(g_dataFolder.c_str());
    SetUpAspectNames();
}

const std::string& DataFolder() { return g_dataFolder; }

}  // namespace vlt
