// Reduction of heliocentric positions to apparent geocentric longitudes of
// date: the Sun's geometric position turns a heliocentric place into a
// geocentric one, then a short per-body correction (standing for aberration
// and light time, without iterating) and the nutation in longitude refer it
// to the true equinox of date.
#include <cmath>

#include "planets/src/planets_internal.h"

namespace pvlt {
namespace {

struct CorrectionTerm {
    double amplitude;  // 1e-7 rad
    double phase;
    double frequency;  // rad per 10,000 Julian years
};

struct CorrectionRow {
    double constant;  // 1e-7 rad, subtracted
    int count;
    CorrectionTerm terms[4];
};

// Indexed by library planet number; 0 and 3 are the Sun.
constexpr CorrectionRow kSunRow = {993, 1, {{17, 3.10, 62830.14}}};
constexpr CorrectionRow kCorrections[9] = {
    kSunRow,
    {1261, 3, {{305, 5.71, 458927.03}, {1485, 2.649, 198048.273}, {230, 5.30, 396096.55}}},
    {1304, 3, {{1016, 1.423, 39302.097}, {224, 2.85, 78604.19}, {98, 4.27, 117906.29}}},
    kSunRow,
    {1052, 3, {{187, 3.67, 58849.27}, {84, 3.49, 33405.34}, {877, 1.834, 29424.634}}},
    {527,
     4,
     {{978, 1.154, 57533.849}, {89, 2.30, 115067.70}, {45, 0.76, 52236.94}, {46, 4.64, 62830.76}}},
    {373,
     4,
     {{52, 1.59, 58564.78}, {54, 3.31, 62830.76}, {51, 1.76, 121395.54}, {986, 0.88, 60697.768}}},
    {252, 3, {{45, 0.11, 61335.13}, {46, 1.88, 62830.76}, {990, 2.555, 62082.943}}},
    {198, 1, {{993, 2.725, 62449.428}}},
};

double correction(const CorrectionRow& row, double u) {
    double s = 0.0;
    for (int i = 0; i < row.count; ++i) {
        const CorrectionTerm& t = row.terms[i];
        s += t.amplitude * std::cos(t.phase + t.frequency * u);
    }
    return 1e-7 * (s - row.constant);
}

}  // namespace

double nutation_in_longitude(double jd) {
    const double u = julian_millennia(jd);
    const double node = reduce_angle(2.18 + (-3375.70 + 0.36 * u) * u);
    const double two_l = reduce_angle(3.51 + (125666.39 + 0.10 * u) * u);
    return 1e-7 * (-834.0 * std::sin(node) - 64.0 * std::sin(two_l));
}

double sun_app_long_rv(double jd, double* rv) {
    const double u = julian_millennia(jd);
    double s = 0.0;
    double c = 0.0;
    solar_sums(u, &s, &c);
    if (rv != nullptr) *rv = 1.0001026 + 1e-7 * c;
    const double geometric = 4.9353929 + 62833.196168 * u + 1e-7 * s;
    const double aberration = 1e-7 * (17.0 * std::cos(reduce_angle(3.10 + 62830.14 * u)) - 993.0);
    return reduce_angle(geometric + aberration + nutation_in_longitude(jd));
}

double helio_to_geo(double Ls, double Rs, double L, double B, double R, double* lat, double* rv) {
    const double rc = R * std::cos(B);
    const double x = rc * std::cos(L) + Rs * std::cos(Ls);
    const double y = rc * std::sin(L) + Rs * std::sin(Ls);
    const double z = R * std::sin(B);
    const double rho2 = x * x + y * y;
    // atan2 keeps the pole case (x = y = 0) defined where z / 0 would not be.
    if (lat != nullptr) *lat = std::atan2(z, std::sqrt(rho2));
    if (rv != nullptr) *rv = std::sqrt(rho2 + z * z);
    return std::atan2(y, x);
}

double gc_geom_long_lat_rv(int planet, double jd, int year, double* lat, double* rv) {
    if (planet < 0 || planet > 8) return kErrBadPlanet;
    if (!std::isfinite(jd)) return kErrBadJulianDay;
    double rs = 0.0;
    const double ls = sun_long_rv(jd, &rs);
    if (planet == 0 || planet == 3) {
        if (lat != nullptr) *lat = 0.0;
        if (rv != nullptr) *rv = rs;
        return ls;
    }
    double b = 0.0;
    double r = 0.0;
    const double l = hc_long_lat_rv_planet(planet, jd, year, &b, &r);
    if (!(l > kErrorLimit)) return l;
    return helio_to_geo(ls, rs, l, b, r, lat, rv);
}

double app_correction(double jd, int planet, double longitude) {
    if (!(longitude > kErrorLimit)) return longitude;
    if (planet < 0 || planet > 8) return kErrBadPlanet;
    const double u = julian_millennia(jd);
    return longitude + correction(kCorrections[planet], u) + nutation_in_longitude(jd);
}

}  // namespace pvlt
