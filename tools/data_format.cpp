#include "tools/data_format.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vlt::datagen {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (valid for any year,
// negative ones included).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

long long YearFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    return yoe + era * 400 + (m <= 2 ? 1 : 0);
}

constexpr long long kJulianDayNumberOf1970 = 2440588;

// A candidate text is kept only if it fits in the nine characters after the
// sign position and reads back as a finite number.
bool Fits(const std::string& body) { return !body.empty() && body.size() <= kFieldWidth - 1; }

double ReadBack(const std::string& body) { return std::strtod(body.c_str(), nullptr); }

// Scientific form with an integer mantissa: "234567e-7".  The mantissa digits
// come from printf's correctly rounded %e conversion.
std::string IntegerMantissaForm(double magnitude, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, magnitude);
    const std::string text(buf);
    const std::size_t e = text.find('e');
    std::string mantissa;
    for (std::size_t k = 0; k < e; ++k) {
        if (text[k] != '.') mantissa += text[k];
    }
    int exponent = std::atoi(text.c_str() + e + 1) - (digits - 1);
    // Trailing zeros of the mantissa move into the exponent: "1e-12", not
    // "10000e-16".
    while (mantissa.size() > 1 && mantissa.back() == '0') {
        mantissa.pop_back();
        ++exponent;
    }
    return mantissa + "e" + std::to_string(exponent);
}

}  // namespace

double JulianDateOfNewYear(int year) {
    return static_cast<double>(DaysFromCivil(year, 1, 1) + kJulianDayNumberOf1970) - 0.5;
}

int YearOfJulianDate(double jd) {
    const long long day_number = static_cast<long long>(std::floor(jd + 0.5));
    return static_cast<int>(YearFromDays(day_number - kJulianDayNumberOf1970));
}

const std::array<OuterPlanet, 4>& OuterPlanets() {
    static const std::array<OuterPlanet, 4> planets{{
        {"Jupiter", "jupiter.dac", 5, 5, -4000, 1360},
        {"Saturn", "saturn.dac", 6, 6, -4000, 1360},
        {"Uranus", "uranus.dac", 7, 7, 1600, 240},
        {"Neptune", "neptune.dac", 8, 8, 1600, 240},
    }};
    return planets;
}

double BlockOrigin(int first_year) {
    return 0.5 *
           (JulianDateOfNewYear(first_year) + JulianDateOfNewYear(first_year + kYearsPerRecord));
}

double BlockEnd(int first_year) { return JulianDateOfNewYear(first_year + kYearsPerRecord); }

double EvaluateQuantity(const DacRecordData& record, int quantity, double jd) {
    const double t = (jd - record.t0) * 0.0005;
    double value = record.coefficients[quantity][kDegree];
    for (int j = kDegree - 1; j >= 0; --j) value = value * t + record.coefficients[quantity][j];
    return value;
}

std::string FormatCoefficient(double value) {
    const double magnitude = std::fabs(value);
    std::string best = "0";
    double best_error = magnitude;
    auto consider = [&](const std::string& body) {
        if (!Fits(body)) return;
        const double error = std::fabs(ReadBack(body) - magnitude);
        // Strictly better only: on a tie the earlier (fixed) form stays.
        if (error < best_error) {
            best = body;
            best_error = error;
        }
    };
    if (magnitude != 0.0) {
        // Fixed point with as many decimals as fit.
        for (int decimals = kFieldWidth - 2; decimals >= 0; --decimals) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*f", decimals, magnitude);
            if (Fits(buf)) {
                consider(buf);
                break;
            }
        }
        // Below one the leading zero carries nothing: ".02345678".
        if (magnitude < 1.0) {
            for (int decimals = kFieldWidth - 2; decimals >= 1; --decimals) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.*f", decimals, magnitude);
                const std::string text(buf);
                if (text[0] == '0' && Fits(text.substr(1))) {
                    consider(text.substr(1));
                    break;
                }
            }
        }
        // Integer mantissa with an exponent, as many digits as fit.
        for (int digits = kFieldWidth - 1; digits >= 1; --digits) {
            const std::string body = IntegerMantissaForm(magnitude, digits);
            if (Fits(body)) {
                consider(body);
                break;
            }
        }
    }
    const bool negative = std::signbit(value) && best != "0";
    std::string sign_and_body = (negative ? "-" : "") + best;
    return std::string(kFieldWidth - sign_and_body.size(), ' ') + sign_and_body;
}

std::string FormatJulianDate(double jd) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%10.1f", jd);
    return buf;
}

std::string FormatRecord(const DacRecordData& record) {
    char year[16];
    std::snprintf(year, sizeof year, "%5d", record.first_year);
    std::string text = year;
    text += FormatJulianDate(record.t0);
    text += FormatJulianDate(record.end_jd);
    for (const auto& quantity : record.coefficients) {
        for (double c : quantity) text += FormatCoefficient(c);
    }
    return text;
}

std::optional<double> ParseField(std::string_view field) {
    std::size_t start = 0;
    while (start < field.size() && field[start] == ' ') ++start;
    if (start == field.size()) return std::nullopt;
    const std::string text(field.substr(start));
    // The grammar the library reads: sign, digits with at most one point,
    // optional exponent.  No hexadecimal, infinity or NaN spellings.
    for (char c : text) {
        const bool allowed = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' ||
                             c == 'e' || c == 'E' || c == ' ';
        if (!allowed) return std::nullopt;
    }
    if (!(text[0] == '-' || text[0] == '+' || text[0] == '.' ||
          (text[0] >= '0' && text[0] <= '9'))) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || errno == ERANGE || !std::isfinite(value)) return std::nullopt;
    for (const char* p = end; *p != '\0'; ++p) {
        if (*p != ' ') return std::nullopt;
    }
    return value;
}

std::optional<DacRecordData> ParseRecord(std::string_view text) {
    if (text.size() != kRecordLength) return std::nullopt;
    DacRecordData record;
    const auto year = ParseField(text.substr(0, 5));
    if (!year || *year != std::floor(*year)) return std::nullopt;
    record.first_year = static_cast<int>(*year);
    const auto t0 = ParseField(text.substr(5, kFieldWidth));
    const auto end_jd = ParseField(text.substr(15, kFieldWidth));
    if (!t0 || !end_jd) return std::nullopt;
    record.t0 = *t0;
    record.end_jd = *end_jd;
    std::size_t offset = 25;
    for (auto& quantity : record.coefficients) {
        for (double& c : quantity) {
            const auto value = ParseField(text.substr(offset, kFieldWidth));
            if (!value) return std::nullopt;
            c = *value;
            offset += kFieldWidth;
        }
    }
    return record;
}

}  // namespace vlt::datagen
