// The library's four exported functions and the heliocentric dispatch they
// share with the geocentric reduction.
#include <cmath>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"

namespace pvlt {

double hc_long_lat_rv_planet(int planet, double jd, int year, double* lat, double* rv) {
    if (planet < 0 || planet > 8) return kErrBadPlanet;
    if (!std::isfinite(jd)) return kErrBadJulianDay;

    // Results go to locals first so that an error leaves the caller's values
    // untouched.
    double b = 0.0;
    double r = 0.0;
    double value = kErrBadPlanet;
    switch (planet) {
        case 0:
        case 3: value = sun_long_rv(jd, &r) - kPi; break;
        case 1: value = mercury_long_lat_rv(jd, &b, &r); break;
        case 2: value = venus_long_lat_rv(jd, &b, &r); break;
        case 4: value = mars_long_lat_rv(jd, &b, &r); break;
        case 5: value = dac_long_lat_rv(jd, year, -4000, 2800, "jupiter.dac", &b, &r); break;
        case 6: value = dac_long_lat_rv(jd, year, -4000, 2800, "saturn.dac", &b, &r); break;
        case 7: value = dac_long_lat_rv(jd, year, 1600, 2800, "uranus.dac", &b, &r); break;
        case 8: value = dac_long_lat_rv(jd, year, 1600, 2800, "neptune.dac", &b, &r); break;
        default: break;
    }
    if (!(value > kErrorLimit)) {
        // An error code; a NaN (which fails every comparison) cannot be one.
        if (!std::isnan(value)) return value;
    }
    // A finite jd so far from the data that the polynomials overflow must not
    // come back as a longitude.
    if (!std::isfinite(value) || !std::isfinite(b) || !std::isfinite(r)) return kErrBadJulianDay;
    if (lat != nullptr) *lat = b;
    if (rv != nullptr) *rv = r;
    return reduce_angle(value);
}

}  // namespace pvlt

extern "C" {

int set_datafiles_folder(const char* folder) { return pvlt::set_data_folder(folder); }

double hc_j2000_long_lat_rv_planet(int planet, double jd, int year, double* lat, double* rv) {
    double l = pvlt::hc_long_lat_rv_planet(planet, jd, year, lat, rv);
    if (l > pvlt::kErrorLimit) {
        // Precession in longitude from the equinox of date back to J2000.0, in
        // degrees, linear in jd; 0.002777... is 1/360.
        const double precession_degrees = 3.8189e-5 * jd - 93.619;
        l = pvlt::reduce_angle(l - precession_degrees * pvlt::kTwoPiExact * 0.002777777777777778);
    }
    return l;
}

double hc_j2000_long_rv_planet(int planet, double jd, int year, double* rv) {
    return hc_j2000_long_lat_rv_planet(planet, jd, year, nullptr, rv);
}

double gc_app_long_rv_planet(int planet, double jd, int year, double* rv) {
    // The Moon's records are indexed by the date alone; year is not needed.
    if (planet == pvlt::kMoonPlanet) return pvlt::moon_app_long_rv(jd, rv);
    if (planet < 0 || planet > 8) return pvlt::kErrBadPlanet;
    if (!std::isfinite(jd)) return pvlt::kErrBadJulianDay;
    double distance = 0.0;
    double l = 0.0;
    if (planet == 0 || planet == 3) {
        l = pvlt::sun_app_long_rv(jd, &distance);
    } else {
        double lat = 0.0;
        l = pvlt::gc_geom_long_lat_rv(planet, jd, year, &lat, &distance);
        if (!(l > pvlt::kErrorLimit) && !std::isnan(l)) return l;
        l = pvlt::reduce_angle(pvlt::app_correction(jd, planet, l));
    }
    // A finite jd so far from the theory's span that the polynomials overflow
    // must not come back as a longitude.
    if (!std::isfinite(l) || !std::isfinite(distance)) return pvlt::kErrBadJulianDay;
    if (rv != nullptr) *rv = distance;
    return l;
}

}  // extern "C"
