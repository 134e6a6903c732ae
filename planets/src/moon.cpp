// The Moon from its coefficient file: one 16-day record per call, read,
// checked and evaluated; nothing is cached between calls, and the record
// buffer is per thread like the outer planets' one.
#include <cmath>

#include "planets/src/planets_internal.h"

namespace pvlt {
namespace {

thread_local unsigned char t_moon_record[kMoonRecordBytes] = {0};

// A coefficient field: blanks, an optional minus sign and digits only.  A
// decimal point or an exponent means the file is not what the reader
// expects (a point that replaced a digit would otherwise read as a tenth of
// the value).
bool read_whole(const unsigned char* text, int offset, int width, double* out) {
    for (int i = offset; i < offset + width; ++i) {
        const unsigned char c = text[i];
        if (c != ' ' && c != '-' && (c < '0' || c > '9')) return false;
    }
    return read_field(text, offset, width, out);
}

}  // namespace

double chebyshev_sum(const double* c, int count, double x) {
    double b1 = 0.0;
    double b2 = 0.0;
    for (int k = count - 1; k >= 1; --k) {
        const double b = 2.0 * x * b1 - b2 + c[k];
        b2 = b1;
        b1 = b;
    }
    return x * b1 - b2 + c[0];
}

int moon_read_record(int index, MoonRecord* record) {
    const int r = read_fixed_record(kMoonFile, index, kMoonRecordBytes, t_moon_record);
    if (r != 0) return r;
    if (t_moon_record[kMoonRecordBytes - 1] != '\n') return kErrDamagedRecord;
    int offset = 0;
    bool ok = read_whole(t_moon_record, offset, kMoonDayWidth, &record->first_day);
    offset += kMoonDayWidth;
    for (int k = 0; k < kMoonLongitudeTerms; ++k) {
        ok =
            read_whole(t_moon_record, offset, kMoonLongitudeWidths[k], &record->longitude[k]) && ok;
        offset += kMoonLongitudeWidths[k];
    }
    for (int k = 0; k < kMoonDistanceTerms; ++k) {
        ok = read_whole(t_moon_record, offset, kMoonDistanceWidths[k], &record->distance[k]) && ok;
        offset += kMoonDistanceWidths[k];
    }
    // The record must be the one asked for: a file cut or shifted by a byte
    // would otherwise answer for another fortnight.
    const double expected_day = kMoonFirstJd + kMoonBlockDays * index + 0.5;
    if (!ok || record->first_day != expected_day) return kErrDamagedRecord;
    return 0;
}

double moon_app_long_rv(double jd, double* rv) {
    if (!std::isfinite(jd)) return kErrBadJulianDay;
    if (jd < kMoonFirstJd) return kErrYearBeforeData;
    if (jd >= kMoonEndJd) return kErrYearAfterData;
    const int index = static_cast<int>(std::floor((jd - kMoonFirstJd) / kMoonBlockDays));
    MoonRecord record;
    const int r = moon_read_record(index, &record);
    if (r != 0) return r;
    const double start = record.first_day - 0.5;
    const double x = 2.0 * (jd - start) / kMoonBlockDays - 1.0;
    const double longitude =
        kMoonLongitudeUnit * chebyshev_sum(record.longitude, kMoonLongitudeTerms, x);
    const double distance =
        kMoonDistanceUnit * chebyshev_sum(record.distance, kMoonDistanceTerms, x);
    if (!std::isfinite(longitude) || !std::isfinite(distance)) return kErrDamagedRecord;
    if (rv != nullptr) *rv = distance;
    return reduce_angle(longitude);
}

}  // namespace pvlt
