// Sine and cosine for the arguments of the periodic terms.
//
// A series body takes one sine or cosine per term, and the arguments of
// successive terms fall in unrelated quadrants.  The standard sine chooses
// its path by the size and quadrant of its argument, so in a series the
// branches inside it mispredict on nearly every call and double its cost.
// This version has no data-dependent branch in its usual range: it reduces
// the argument by multiples of pi/2 (Cody-Waite, two pieces) and evaluates
// both the sine and the cosine polynomial of the remainder, then picks the
// quadrant's value from a small table.  The polynomials are the classic
// minimax kernels of fdlibm (error below one unit in the last place on
// [-pi/4, pi/4]); the reduction is exact for |x| < kSeriesTrigLimit, so the
// result stays within a few 1e-16 of the true value there.  Larger arguments
// (only dates far outside the theory's span produce them) go to std::sin and
// std::cos.
#ifndef PLANETS_VLT_SERIES_TRIG_H
#define PLANETS_VLT_SERIES_TRIG_H

#include <cmath>

namespace pvlt {

// Below this, the multiple of pi/2 has at most 20 bits and n * kPio2Hi is
// exact.
inline constexpr double kSeriesTrigLimit = 1.5e6;

struct SinCos {
    double sin;
    double cos;
};

inline SinCos series_sincos(double x) {
    if (!(std::fabs(x) < kSeriesTrigLimit)) return {std::sin(x), std::cos(x)};
    constexpr double kTwoOverPi = 6.36619772367581382433e-01;
    constexpr double kPio2Hi = 1.57079632673412561417e+00;  // first 33 bits of pi/2
    constexpr double kPio2Lo = 6.07710050650619224932e-11;  // pi/2 - kPio2Hi
    const double n = std::nearbyint(x * kTwoOverPi);
    const double r = (x - n * kPio2Hi) - n * kPio2Lo;
    const double z = r * r;
    const double s =
        r +
        r * z *
            (-1.66666666666666324348e-01 +
             z * (8.33333333332248946124e-03 +
                  z * (-1.98412698298579493134e-04 +
                       z * (2.75573137070700676789e-06 +
                            z * (-2.50507602534068634195e-08 + z * 1.58969099521155010221e-10)))));
    const double c =
        1.0 - 0.5 * z +
        z * z *
            (4.16666666666666019037e-02 +
             z * (-1.38888888888741095749e-03 +
                  z * (2.48015872894767294178e-05 +
                       z * (-2.75573143513906633035e-07 +
                            z * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11)))));
    // sin(n pi/2 + r) and cos(n pi/2 + r) for n mod 4 = 0, 1, 2, 3.
    const double sines[4] = {s, c, -s, -c};
    const double cosines[4] = {c, -s, -c, s};
    const int q = static_cast<int>(n) & 3;
    return {sines[q], cosines[q]};
}

inline double series_sin(double x) { return series_sincos(x).sin; }
inline double series_cos(double x) { return series_sincos(x).cos; }

}  // namespace pvlt

#endif
