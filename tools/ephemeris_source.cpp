#include "tools/ephemeris_source.h"

#include <swephexp.h>

#include <cmath>
#include <numbers>

#include "tools/pluto_codec.h"

namespace vlt::datagen {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Only positions read from the ephemeris files count: the returned flags
// must still say so, otherwise the library fell back on another theory.
std::optional<std::array<double, 3>> Calc(int body, double jd, int flags) {
    double xx[6] = {0, 0, 0, 0, 0, 0};
    char error[AS_MAXCH] = "";
    const int result = swe_calc(jd, body, flags | SEFLG_SWIEPH, xx, error);
    if (result < 0 || (result & SEFLG_SWIEPH) == 0) return std::nullopt;
    return std::array<double, 3>{xx[0], xx[1], xx[2]};
}

}  // namespace

void OpenEphemeris(const char* ephemeris_folder) { swe_set_ephe_path(ephemeris_folder); }

void CloseEphemeris() { swe_close(); }

bool HeliocentricOfDate(int body, double jd, double position[3]) {
    const auto p = Calc(body, jd, SEFLG_HELCTR | SEFLG_TRUEPOS | SEFLG_NONUT);
    if (!p) return false;
    position[0] = (*p)[0] * kRadiansPerDegree;
    position[1] = (*p)[1] * kRadiansPerDegree;
    position[2] = (*p)[2];
    return true;
}

std::optional<double> GeocentricApparentLongitude(int body, double jd) {
    const auto p = Calc(body, jd, 0);
    if (!p) return std::nullopt;
    return (*p)[0];
}

bool MoonApparentAtUniversalTime(double jd_ut, double* longitude, double* distance) {
    double xx[6] = {0, 0, 0, 0, 0, 0};
    char error[AS_MAXCH] = "";
    const int result = swe_calc_ut(jd_ut, SE_MOON, SEFLG_SWIEPH, xx, error);
    if (result < 0 || (result & SEFLG_SWIEPH) == 0) return false;
    *longitude = xx[0] * kRadiansPerDegree;
    *distance = xx[2];
    return true;
}

std::optional<double> HeliocentricJ2000Longitude(int body, double jd) {
    const auto p = Calc(body, jd, SEFLG_HELCTR | SEFLG_TRUEPOS | SEFLG_J2000 | SEFLG_NONUT);
    if (!p) return std::nullopt;
    return (*p)[0];
}

std::optional<std::string> MakeDacRecord(const OuterPlanet& planet, int k, FitQuality* quality) {
    const int body = planet.oracle_number;
    const PositionSampler sampler = [body](double jd, double position[3]) {
        return HeliocentricOfDate(body, jd, position);
    };
    DacRecordData record;
    if (!FitRecord(planet.first_year + kYearsPerRecord * k, sampler, &record, quality)) {
        return std::nullopt;
    }
    return FormatRecord(record);
}

std::optional<int> GeoPlutoMinutes(int index) {
    const auto degrees = GeocentricApparentLongitude(kPlutoBody, kPlutoFirstJulianDate + index);
    if (!degrees) return std::nullopt;
    return RoundToMinutes(*degrees);
}

std::optional<int> HelioPlutoSeconds(int index) {
    const auto degrees = HeliocentricJ2000Longitude(kPlutoBody, kPlutoFirstJulianDate + index);
    if (!degrees) return std::nullopt;
    return RoundToSeconds(*degrees);
}

std::optional<std::string> MakeGeoPlutoEntry(int index) {
    const auto minutes = GeoPlutoMinutes(index);
    if (!minutes) return std::nullopt;
    return EncodeGeoEntry(index, *minutes);
}

std::optional<std::string> MakeHelioPlutoEntry(int index) {
    const auto seconds = HelioPlutoSeconds(index);
    if (!seconds) return std::nullopt;
    return EncodeHelioEntry(index, *seconds);
}

}  // namespace vlt::datagen
