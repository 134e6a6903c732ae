// Fitting of one outer-planet record: three degree-6 polynomials that follow
// a reference ephemeris over a five-year block with the smallest largest
// error the representation allows.
#ifndef VLT_TOOLS_DAC_FIT_H
#define VLT_TOOLS_DAC_FIT_H

#include <functional>

#include "tools/data_format.h"

namespace vlt::datagen {

// Heliocentric longitude (rad, any branch), latitude (rad) and radius vector
// (AU) of date at a Julian date; false when the ephemeris has no answer.
using PositionSampler = std::function<bool(double jd, double position[3])>;

// Largest difference between the written record (after its coefficients
// went through their decimal text) and the samples, per quantity.
struct FitQuality {
    double max_error[3] = {0, 0, 0};
};

// Points sampled per record: the extrema of a Chebyshev polynomial over the
// fitted interval, denser towards its ends where the error peaks.
inline constexpr int kSamplesPerRecord = 1025;

// Fits the record whose block starts on January 1 of `first_year`.  The
// interval runs from 30 days before the block to 30 days after it; the
// longitude is made continuous and taken on the branch where its value at
// the origin lies in [0, 2pi).  False when a sample is missing.
bool FitRecord(int first_year, const PositionSampler& sampler, DacRecordData* record,
               FitQuality* quality);

// Minimax polynomial of degree `degree` on the points x (in [-1, 1], sorted)
// with values f, found by the exchange method starting from a least-squares
// fit.  Returns the Chebyshev-series coefficients a[0..degree] of the best
// polynomial seen and its largest error.
double MinimaxChebyshevFit(const double* x, const double* f, int count, int degree, double* a);

// Coefficients of sum a[k] T_k(x) in powers of x.
void ChebyshevToPowers(const double* a, int degree, double* powers);

}  // namespace vlt::datagen

#endif
