// The Moon's coefficient file moon.chb: one 16-day record per line, the
// Chebyshev series of its apparent longitude and distance, fitted to a
// reference ephemeris.  The layout constants are the positions library's
// (planets/src/planets_internal.h), so that writer and reader cannot drift
// apart; the writing and fitting here are the generator's own.
#ifndef VLT_TOOLS_MOON_RECORDS_H
#define VLT_TOOLS_MOON_RECORDS_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "planets/src/planets_internal.h"

namespace vlt::datagen {

// Records from 1600-01-01 0h to the first past 2800-01-01 0h.
inline constexpr int kMoonRecords = 27405;

// Apparent geocentric longitude (rad, any branch) and distance (AU) of the
// Moon at a universal Julian date; false when the ephemeris cannot answer.
using MoonSampler = std::function<bool(double jd, double* longitude, double* distance)>;

// Whole-number coefficients as written (units of pvlt::kMoonLongitudeUnit
// and pvlt::kMoonDistanceUnit).
struct MoonRecordData {
    std::int64_t first_day = 0;  // Julian date + 0.5 of the record's first 0h
    std::int64_t longitude[pvlt::kMoonLongitudeTerms] = {};
    std::int64_t distance[pvlt::kMoonDistanceTerms] = {};
};

// Largest difference between the record as written and the ephemeris, over
// points between the fitting nodes (longitude in rad, distance in AU).
struct MoonFitQuality {
    double longitude = 0.0;
    double distance = 0.0;
};

// Fits record k: each quantity interpolated at the Chebyshev nodes of the
// record's 16 days (the longitude unwrapped onto the branch of its value at
// the record's middle, taken in [0, 2pi)), rounded to whole units.
std::optional<MoonRecordData> FitMoonRecord(int k, const MoonSampler& sampler,
                                            MoonFitQuality* quality);

// The record's line (pvlt::kMoonRecordBytes characters with its line feed);
// nullopt when a coefficient does not fit its field.
std::optional<std::string> FormatMoonRecord(const MoonRecordData& record);

// The record's value at jd (longitude in rad, not reduced; distance in AU).
void EvaluateMoonRecord(const MoonRecordData& record, double jd, double* longitude,
                        double* distance);

}  // namespace vlt::datagen

#endif
