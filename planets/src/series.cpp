// Heliocentric positions of the Earth (through the Sun), Mercury, Venus and
// Mars from truncated trigonometric series: a mean longitude, the periodic
// tables, and for the planets a few long-period terms whose amplitudes and
// arguments are polynomials in time.
#include <cmath>
#include <initializer_list>

#include "planets/src/planets_internal.h"
#include "planets/src/series_trig.h"

namespace pvlt {
namespace {

// Polynomial in u with coefficients from the constant term upwards,
// evaluated by nested multiplication from the highest power.
double poly(double u, std::initializer_list<double> c) {
    const double* first = c.begin();
    const double* p = c.end();
    double v = *--p;
    while (p != first) v = v * u + *--p;
    return v;
}

// Sum of amplitude * sin(phase + frequency * u) over a table: one sine per
// term.
double sine_sum(const PeriodicTable& t, double u) {
    double s = 0.0;
    for (int i = 0; i < t.count; ++i) {
        const PeriodicTerm& r = t.terms[i];
        s += r.amplitude * series_sin(r.phase + r.frequency * u);
    }
    return s;
}

double cosine_sum(const PeriodicTable& t, double u) {
    double s = 0.0;
    for (int i = 0; i < t.count; ++i) {
        const PeriodicTerm& r = t.terms[i];
        s += r.amplitude * series_cos(r.phase + r.frequency * u);
    }
    return s;
}

enum TableIndex {
    kMercuryL,
    kMercuryB,
    kMercuryR,
    kVenusL,
    kVenusB,
    kVenusR,
    kMarsL,
    kMarsB,
    kMarsR,
};

void put(double* out, double value) {
    if (out != nullptr) *out = value;
}

}  // namespace

double reduce_angle(double angle) {
    // The remainder is exact, so this equals repeated addition or subtraction
    // of 2pi for ordinary angles without looping forever on large ones.
    double r = std::fmod(angle, kTwoPiExact);
    if (r < 0.0) r += kTwoPiExact;
    // A tiny negative remainder plus 2pi can round up to 2pi itself.
    if (r >= kTwoPiExact) r -= kTwoPiExact;
    return r;
}

void solar_sums(double u, double* s, double* c) {
    const SolarTerm* t = solar_terms();
    double ss = 0.0;
    double cc = 0.0;
    for (int i = 0; i < kSolarTermCount; ++i) {
        // Longitude and distance share the argument: one evaluation gives both.
        const SinCos sc = series_sincos(t[i].phase + t[i].frequency * u);
        ss += t[i].longitude * sc.sin;
        cc += t[i].distance * sc.cos;
    }
    *s = ss;
    *c = cc;
}

double sun_long_rv(double jd, double* rv) {
    const double u = julian_millennia(jd);
    double s = 0.0;
    double c = 0.0;
    solar_sums(u, &s, &c);
    put(rv, 1.0001026 + 1e-7 * c);
    return reduce_angle(4.9353929 + 62833.196168 * u + 1e-7 * s);
}

double mercury_long_lat_rv(double jd, double* lat, double* rv) {
    const double u = julian_millennia(jd);
    const PeriodicTable* t = periodic_tables();
    const double p = poly(u, {3.053817, 260878.756773, -0.001093, -0.00093, 0.00043, 0.00014});
    const double a = poly(u, {409894.2, 2435, -1408, 114, 233, -88});
    const double l = 4.4429839 + 260881.4701279 * u + 1e-7 * sine_sum(t[kMercuryL], u) +
                     1e-6 * a * series_sin(p);
    put(lat, 1e-7 * sine_sum(t[kMercuryB], u));
    put(rv, 0.395202 + 1e-7 * cosine_sum(t[kMercuryR], u));
    return reduce_angle(l);
}

double venus_long_lat_rv(double jd, double* lat, double* rv) {
    const double u = julian_millennia(jd);
    const PeriodicTable* t = periodic_tables();

    const double p1 = poly(u, {0.88074, 102132.84648, 0.24082, 0.1004, 0.0355, -0.0017, -0.0151});
    const double a1 = poly(u, {13539.7, -9570, 1987, 927, 230, -51, 10});
    const double p2 = poly(u, {0.5941, 204267.313, 0.014, 0.123, -0.146, 0.052});
    const double a2 = poly(u, {898.9, 112.4, -170, 113, 34, -79, 56});
    const double l = 3.2184413 + 102135.2937764 * u + 1e-7 * sine_sum(t[kVenusL], u) +
                     1e-6 * (a1 * series_sin(p1) + a2 * series_sin(p2));

    const double b1 = poly(u, {101, 26, -64});
    const double q1 = poly(u, {2.66, 306400.49, 0.45});
    const double b2 = poly(u, {4011, -2713, 490, 290, 90});
    const double q2 = poly(u, {2.7182, 204266.568, 0.225, 0.102, 0.035});
    put(lat, 1e-7 * (sine_sum(t[kVenusB], u) + b1 * series_sin(q1) + b2 * series_sin(q2)));

    const double r1 = poly(u, {48982, -34549, 7096, 3360, 890, -210});
    const double s1 = poly(u, {4.02152, 102132.84695, 0.242, 0.0994, 0.0351, -0.0013, -0.015});
    const double r2 = poly(u, {166, -234, 131});
    const double s2 = poly(u, {4.9, 204265.69, 0.48, 0.2});
    put(rv,
        0.7235481 + 1e-7 * (cosine_sum(t[kVenusR], u) + r1 * series_cos(s1) + r2 * series_cos(s2)));
    return reduce_angle(l);
}

double mars_long_lat_rv(double jd, double* lat, double* rv) {
    const double u = julian_millennia(jd);
    const PeriodicTable* t = periodic_tables();

    const double p =
        poly(u, {0.337967, 33405.348759, 0.031676, -0.007354, 0.001143, -0.00029, -0.0001});
    const double a = poly(u, {186563.7, 18135, -1332, -704, -65, -89, 9});
    const double l =
        6.2458611 + 33408.5620646 * u + 1e-7 * sine_sum(t[kMarsL], u) + 1e-6 * a * series_sin(p);

    const double p1 =
        poly(u, {5.339102, 33407.21879, 0.048, -0.04831, 0.01402, 0.029, -0.0073, -0.0112});
    const double a1 = poly(u, {319714, -10277, 24272, -2420, -10850, 3880, 5310, -1050});
    const double p2 = poly(u, {5.67694, 66812.5668, 0.0803, -0.0536, 0.0147, 0.028});
    const double a2 = poly(u, {29803, 1904, 1865, -60, -950, 220, 270});
    const double p3 = poly(u, {6.0173, 100217.928, 0.093, -0.086, 0.037});
    const double a3 = poly(u, {3137, 472, 111, 70});
    put(lat, 1e-7 * (sine_sum(t[kMarsB], u) + a1 * series_sin(p1) + a2 * series_sin(p2) +
                     a3 * series_sin(p3)));

    const double p4 =
        poly(u, {3.479698, 33405.34956, 0.030669, -0.00909, 0.00223, 0.00083, -0.00048});
    const double a4 = poly(u, {141849.5, 13651.8, -1230, -378, 187, -153, -73});
    const double p5 = poly(u, {3.81781, 66810.6991, 0.0613, -0.0182, 0.0044, 0.0012, 0.002});
    const double a5 = poly(u, {6607.8, 1272.8, -53, -46, 14, -12, 99});
    put(rv, 1.529856 + 1e-7 * cosine_sum(t[kMarsR], u) +
                1e-6 * (a4 * series_cos(p4) + a5 * series_cos(p5)));
    return reduce_angle(l);
}

}  // namespace pvlt
