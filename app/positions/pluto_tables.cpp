#include "app/positions/pluto_tables.h"

#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/positions/positions.h"
#include "app/support/text_file_reader.h"

namespace vlt {

namespace {

constexpr std::int32_t kGeoEntriesNeeded = kGeoPlutoLastDay - kPlutoFirstDay + 2;
constexpr std::int32_t kHelioEntriesNeeded = kHelioPlutoLastDay - kPlutoFirstDay + 2;
constexpr double kBeforeTable = -99.0;
constexpr double kAfterTable = -100.0;
constexpr double kNotADate = -105.0;  // as the positions library answers a NaN date

// Entries are kept decoded: geocentric ones as whole minutes of arc
// (0..21599, 2 bytes), heliocentric ones as whole seconds of arc
// (0..1295999, 4 bytes).  The decoders below rebuild the degrees with the
// same arithmetic as decoding the text would, so the answers are identical.
constexpr std::uint16_t kBadGeo = 0xFFFF;
constexpr std::int32_t kBadHelio = -1;

std::vector<std::uint16_t> g_geo;
std::vector<std::int32_t> g_helio;
// Whether each table was read, and the reader's error text when not.
bool g_geoRead = false;
bool g_helioRead = false;
std::string g_geoError = "the table has not been read";
std::string g_helioError = "the table has not been read";
// The damaged entries of each table (entry, line of the file), in entry
// order: a message about one names where it stands in the file, which a
// blank line makes differ from its entry number.
std::vector<std::pair<std::int32_t, std::int32_t>> g_geoDamaged;
std::vector<std::pair<std::int32_t, std::int32_t>> g_helioDamaged;

// Code of a character of an entry, or -1 when it lies outside 58..125.
int CodeAt(std::string_view line, std::size_t k) {
    const int code = static_cast<unsigned char>(line[k]);
    return (code >= 58 && code <= 125) ? code : -1;
}

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

std::uint16_t EncodeGeo(std::int32_t i, std::string_view line) {
    if (line.size() < 3) return kBadGeo;
    const int c1 = CodeAt(line, 0);
    const int c2 = CodeAt(line, 1);
    const int c3 = CodeAt(line, 2);
    if (c1 < 0 || c2 < 0 || c3 < 0) return kBadGeo;
    const int sixties = c1 - 58 - static_cast<int>(i % 55);
    const int degrees = c2 - 59;
    const int minutes = c3 - 60;
    if (!InRange(sixties, 0, 5) || !InRange(degrees, 0, 59) || !InRange(minutes, 0, 59)) {
        return kBadGeo;
    }
    return static_cast<std::uint16_t>((60 * sixties + degrees) * 60 + minutes);
}

std::int32_t EncodeHelio(std::int32_t i, std::string_view line) {
    if (line.size() < 4) return kBadHelio;
    const int c1 = CodeAt(line, 0);
    const int c2 = CodeAt(line, 1);
    const int c3 = CodeAt(line, 2);
    const int c4 = CodeAt(line, 3);
    if (c1 < 0 || c2 < 0 || c3 < 0 || c4 < 0) return kBadHelio;
    const int minutes = c1 - 60 - static_cast<int>(i % 7);
    const int seconds = c2 - 60;
    const int sixties = c3 - 58 - static_cast<int>(i % 55);
    const int degrees = c4 - 59;
    if (!InRange(minutes, 0, 59) || !InRange(seconds, 0, 59) || !InRange(sixties, 0, 5) ||
        !InRange(degrees, 0, 59)) {
        return kBadHelio;
    }
    return ((60 * sixties + degrees) * 60 + minutes) * 60 + seconds;
}

template <typename T, typename Encode>
bool LoadTable(const std::string& path, std::vector<T>& table, std::int32_t expected, Encode encode,
               T bad, std::vector<std::pair<std::int32_t, std::int32_t>>& damaged,
               std::string& errorText) {
    table.clear();
    damaged.clear();
    table.reserve(static_cast<std::size_t>(expected));
    std::int32_t count = 0;
    std::int32_t errorNumber = 0;
    // Blank lines are skipped here rather than by the reader, so that each
    // line's number in the file is known.
    ForEachLineOfFile(
        path, false, true,
        [&](std::int32_t order, std::string_view line) {
            if (line.empty()) return;
            const auto entry = static_cast<std::int32_t>(table.size());
            table.push_back(encode(entry, line));
            if (table.back() == bad) damaged.emplace_back(entry, order + 1);
        },
        count, errorText, errorNumber);
    table.shrink_to_fit();
    return errorText.empty();
}

// Longitude at jd from a table whose entry i is the position at 0h of day
// kPlutoFirstDay + i, interpolated linearly within the day.
template <typename Decode>
double TableLongitude(double jd, std::int32_t lastDay, bool read, std::int32_t loaded,
                      Decode decode) {
    if (!std::isfinite(jd)) return kNotADate;
    const double x = jd + 0.5;
    const double n = std::floor(x);
    if (n < kPlutoFirstDay) return kBeforeTable;
    if (n > lastDay) return kAfterTable;
    if (!read) return kPlutoTableNotRead;
    const auto i = static_cast<std::int32_t>(n) - kPlutoFirstDay;
    // A table that ends early is a damaged file, never a date outside the
    // data, and nothing past its end is read.
    if (i + 1 >= loaded) return kPlutoTableShort;
    double a = decode(i);
    double b = decode(i + 1);
    if (a < 0.0) return a;
    if (b < 0.0) return b;
    if (b - a > 355.0) {
        a += 360.0;
    } else if (a - b > 355.0) {
        b += 360.0;
    }
    double v = a + (x - n) * (b - a);
    if (v >= 360.0) v -= 360.0;
    return v / 360.0 * kTwoPi;
}

}  // namespace

bool ReadPlutoData(MessageBoxes& boxes) {
    std::string errorText;
    g_geoRead = LoadTable(DataFolder() + kGeoPlutoFile, g_geo, kGeoEntriesNeeded, EncodeGeo,
                          kBadGeo, g_geoDamaged, errorText);
    g_geoError = errorText;
    if (!g_geoRead) {
        std::vector<std::uint16_t>().swap(g_geo);
        boxes.Show("Error when reading geocentric Pluto data.\n" + errorText, "Read Pluto Data",
                   MsgButtons::Ok, MsgIcon::Exclamation);
    }
    g_helioRead = LoadTable(DataFolder() + kHelioPlutoFile, g_helio, kHelioEntriesNeeded,
                            EncodeHelio, kBadHelio, g_helioDamaged, errorText);
    g_helioError = errorText;
    if (!g_helioRead) std::vector<std::int32_t>().swap(g_helio);
    return g_geoRead && g_helioRead;
}

std::string PlutoTableReadError(bool heliocentric) {
    if (heliocentric ? g_helioRead : g_geoRead) return "";
    const std::string& error = heliocentric ? g_helioError : g_geoError;
    return error.empty() ? std::string("the table has not been read") : error;
}

std::string PlutoTableProblem(bool heliocentric) {
    if (heliocentric ? g_helioRead : g_geoRead) return "";
    return std::string("Cannot read the data file ") +
           (heliocentric ? kHelioPlutoFile : kGeoPlutoFile) + ": " +
           PlutoTableReadError(heliocentric) + ".";
}

void ResetPlutoTables() {
    std::vector<std::uint16_t>().swap(g_geo);
    std::vector<std::int32_t>().swap(g_helio);
    g_geoDamaged.clear();
    g_helioDamaged.clear();
    g_geoRead = false;
    g_helioRead = false;
    g_geoError = "the table has not been read";
    g_helioError = "the table has not been read";
}

std::int32_t GeoPlutoEntryCount() { return static_cast<std::int32_t>(g_geo.size()); }
std::int32_t HelioPlutoEntryCount() { return static_cast<std::int32_t>(g_helio.size()); }

std::int32_t PlutoDamagedLine(bool heliocentric, double jd) {
    if (!std::isfinite(jd)) return 0;
    const double day = std::floor(jd + 0.5) - kPlutoFirstDay;
    if (day < 0.0 || day > kHelioEntriesNeeded) return 0;
    // The longitude at jd is drawn from the entries of its day and the next.
    const auto i = static_cast<std::int32_t>(day);
    for (const auto& [entry, line] : heliocentric ? g_helioDamaged : g_geoDamaged) {
        if (entry == i || entry == i + 1) return line;
    }
    return 0;
}

double DecodeGeoPlutoEntry(std::int32_t i) {
    if (i < 0 || i >= GeoPlutoEntryCount()) return kAfterTable;
    const std::uint16_t v = g_geo[static_cast<std::size_t>(i)];
    if (v == kBadGeo) return kMalformedPlutoEntry;
    const int whole = v / 60;  // 60 S + D
    const int minutes = v % 60;
    return whole + minutes / 60.0;
}

double DecodeHelioPlutoEntry(std::int32_t i) {
    if (i < 0 || i >= HelioPlutoEntryCount()) return kAfterTable;
    const std::int32_t v = g_helio[static_cast<std::size_t>(i)];
    if (v == kBadHelio) return kMalformedPlutoEntry;
    const int whole = v / 3600;  // 60 S + D
    const int minutes = (v / 60) % 60;
    const int seconds = v % 60;
    return whole + minutes / 60.0 + seconds / 3600.0;
}

double GeoPlutoLongitude(double jd) {
    return TableLongitude(jd, kGeoPlutoLastDay, g_geoRead, GeoPlutoEntryCount(),
                          DecodeGeoPlutoEntry);
}

double HelioPlutoLongitude(double jd) {
    return TableLongitude(jd, kHelioPlutoLastDay, g_helioRead, HelioPlutoEntryCount(),
                          DecodeHelioPlutoEntry);
}

}  // namespace vlt
