// Text layout of the outer-planet coefficient files and the calendar they are
// indexed by.  Nothing here needs the reference ephemeris, so the unit tests
// that check the committed files use it too.
#ifndef VLT_TOOLS_DATA_FORMAT_H
#define VLT_TOOLS_DATA_FORMAT_H

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vlt::datagen {

// ---- Proleptic Gregorian calendar, astronomical year numbering -----------

// Julian date of 0h on January 1 of `year` (year 0 exists, -1 precedes it).
double JulianDateOfNewYear(int year);
// Calendar year in which the Julian date falls (days start at 0h).
int YearOfJulianDate(double jd);

// ---- Outer-planet files ----------------------------------------------------

inline constexpr int kRecordLength = 235;
inline constexpr int kFieldWidth = 10;
inline constexpr int kYearsPerRecord = 5;
// The fit of a record reaches this many days beyond each end of its five
// years, so that a date whose year another calendar places in the
// neighbouring block still lies inside the fitted interval.
inline constexpr double kFitMarginDays = 30.0;
inline constexpr int kDegree = 6;
inline constexpr int kCoefficients = kDegree + 1;
// Days per unit of the time variable t = (jd - T0) / 2000.
inline constexpr double kDaysPerTimeUnit = 2000.0;

struct OuterPlanet {
    const char* name;    // "Jupiter"
    const char* file;    // "jupiter.dac"
    int library_number;  // 5..8
    int oracle_number;   // the reference ephemeris' body number
    int first_year;
    int records;
};

// Jupiter, Saturn, Uranus, Neptune in that order.
const std::array<OuterPlanet, 4>& OuterPlanets();

// One record: header and three degree-6 polynomials in t = (jd - t0) / 2000,
// quantity 0 longitude (rad), 1 latitude (rad), 2 radius vector (AU).
struct DacRecordData {
    int first_year = 0;  // first calendar year of the block
    double t0 = 0;       // time origin: the middle of the five years
    double end_jd = 0;   // 0h on January 1 of the year after the block
    double coefficients[3][kCoefficients] = {};
};

// Middle of the block and its end, both exact multiples of half a day.
double BlockOrigin(int first_year);
double BlockEnd(int first_year);

// Evaluates one quantity of a record by nested multiplication, the way the
// library does.
double EvaluateQuantity(const DacRecordData& record, int quantity, double jd);

// The 10-character text of a coefficient: begins with a blank or a minus
// sign, then the decimal form that represents the value most closely in the
// remaining nine characters, right aligned.  The forms tried are fixed point
// ("3.1415927"), fixed point without the leading zero below one
// (".02345678") and an integer mantissa with an exponent ("234567e-7"); on a
// tie the earlier form wins.
std::string FormatCoefficient(double value);
// The 10-character text of a header Julian date (one decimal, exact for
// whole and half days).
std::string FormatJulianDate(double jd);

// The 235 characters of a record.
std::string FormatRecord(const DacRecordData& record);

// Reads one field the strict way: optional blanks, then a number that ends
// exactly where the field ends or where blanks up to its end begin.  Empty
// when the field is anything else.
std::optional<double> ParseField(std::string_view field);
// Parses every field of a 235-character record strictly.
std::optional<DacRecordData> ParseRecord(std::string_view text);

}  // namespace vlt::datagen

#endif
