#include "tools/pluto_codec.h"

#include <cmath>

namespace vlt::datagen {

namespace {

int RoundToUnits(double degrees, double units_per_degree, int units_per_turn) {
    const double units = std::floor(degrees * units_per_degree + 0.5);
    long long whole = static_cast<long long>(units) % units_per_turn;
    if (whole < 0) whole += units_per_turn;
    return static_cast<int>(whole);
}

bool AllCodesAllowed(std::string_view entry) {
    for (char c : entry) {
        const int code = static_cast<unsigned char>(c);
        if (code < kLowestCode || code > kHighestCode) return false;
    }
    return true;
}

int Code(char c) { return static_cast<unsigned char>(c); }

bool InSixty(int digit) { return digit >= 0 && digit < 60; }

}  // namespace

int RoundToMinutes(double degrees) { return RoundToUnits(degrees, 60.0, kMinutesPerTurn); }

int RoundToSeconds(double degrees) { return RoundToUnits(degrees, 3600.0, kSecondsPerTurn); }

std::string EncodeGeoEntry(int index, int minutes) {
    const int degrees = minutes / 60;
    std::string entry(3, ' ');
    entry[0] = static_cast<char>(58 + degrees / 60 + index % 55);
    entry[1] = static_cast<char>(59 + degrees % 60);
    entry[2] = static_cast<char>(60 + minutes % 60);
    return entry;
}

std::string EncodeHelioEntry(int index, int seconds) {
    const int minutes = seconds / 60;
    const int degrees = minutes / 60;
    std::string entry(4, ' ');
    entry[0] = static_cast<char>(60 + minutes % 60 + index % 7);
    entry[1] = static_cast<char>(60 + seconds % 60);
    entry[2] = static_cast<char>(58 + degrees / 60 + index % 55);
    entry[3] = static_cast<char>(59 + degrees % 60);
    return entry;
}

std::optional<int> DecodeGeoEntry(int index, std::string_view entry) {
    if (index < 0 || entry.size() != 3 || !AllCodesAllowed(entry)) return std::nullopt;
    const int sixties = Code(entry[0]) - 58 - index % 55;
    const int degrees = Code(entry[1]) - 59;
    const int minutes = Code(entry[2]) - 60;
    if (sixties < 0 || sixties > 5 || !InSixty(degrees) || !InSixty(minutes)) return std::nullopt;
    return (sixties * 60 + degrees) * 60 + minutes;
}

std::optional<int> DecodeHelioEntry(int index, std::string_view entry) {
    if (index < 0 || entry.size() != 4 || !AllCodesAllowed(entry)) return std::nullopt;
    const int minutes = Code(entry[0]) - 60 - index % 7;
    const int seconds = Code(entry[1]) - 60;
    const int sixties = Code(entry[2]) - 58 - index % 55;
    const int degrees = Code(entry[3]) - 59;
    if (sixties < 0 || sixties > 5 || !InSixty(degrees) || !InSixty(minutes) || !InSixty(seconds)) {
        return std::nullopt;
    }
    return ((sixties * 60 + degrees) * 60 + minutes) * 60 + seconds;
}

}  // namespace vlt::datagen
