// Writes the four outer-planet coefficient files, the two Pluto tables and
// the Moon's coefficient file into a folder, from the reference ephemeris:
//
//   vlt_datagen <output folder> [<ephemeris folder>]
//
// The output is the same byte for byte on every run.  Every record is read
// back through the strict parser and every Pluto line is decoded and
// compared with the value it was meant to hold before a file is written.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>

#include "tools/data_format.h"
#include "tools/ephemeris_source.h"
#include "tools/moon_records.h"
#include "tools/pluto_codec.h"

namespace {

using namespace vlt::datagen;

constexpr double kArcsecondsPerRadian = 180.0 * 3600.0 / std::numbers::pi;

bool WriteFile(const std::string& path, const std::string& contents) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        if (!out) return false;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return back == contents;
}

bool GeneratePlanet(const OuterPlanet& planet, const std::string& folder) {
    std::string contents;
    contents.reserve(static_cast<std::size_t>(planet.records) * kRecordLength);
    FitQuality worst;
    for (int k = 0; k < planet.records; ++k) {
        FitQuality quality;
        const auto record = MakeDacRecord(planet, k, &quality);
        if (!record || record->size() != static_cast<std::size_t>(kRecordLength)) {
            std::fprintf(stderr, "%s: record %d could not be made\n", planet.file, k);
            return false;
        }
        const auto parsed = ParseRecord(*record);
        if (!parsed || parsed->first_year != planet.first_year + kYearsPerRecord * k ||
            record->find_first_of("\r\n") != std::string::npos) {
            std::fprintf(stderr, "%s: record %d does not read back\n", planet.file, k);
            return false;
        }
        for (int q = 0; q < 3; ++q)
            worst.max_error[q] = std::max(worst.max_error[q], quality.max_error[q]);
        contents += *record;
    }
    std::printf(
        "%-8s %5d records  largest fit error: longitude %.4f\"  latitude %.4f\"  radius %.2e AU\n",
        planet.name, planet.records, worst.max_error[0] * kArcsecondsPerRadian,
        worst.max_error[1] * kArcsecondsPerRadian, worst.max_error[2]);
    if (!WriteFile(folder + planet.file, contents)) {
        std::fprintf(stderr, "%s: cannot write\n", planet.file);
        return false;
    }
    return true;
}

// The table's lines end in a line feed alone.
bool GeneratePlutoTable(const char* file, int entries, bool geocentric, const std::string& folder) {
    std::string contents;
    for (int i = 0; i < entries; ++i) {
        const auto meant = geocentric ? GeoPlutoMinutes(i) : HelioPlutoSeconds(i);
        if (!meant) {
            std::fprintf(stderr, "%s: no position for entry %d\n", file, i);
            return false;
        }
        const std::string entry =
            geocentric ? EncodeGeoEntry(i, *meant) : EncodeHelioEntry(i, *meant);
        const auto decoded = geocentric ? DecodeGeoEntry(i, entry) : DecodeHelioEntry(i, entry);
        if (!decoded || *decoded != *meant) {
            std::fprintf(stderr, "%s: entry %d does not decode to its value\n", file, i);
            return false;
        }
        contents += entry;
        contents += '\n';
    }
    std::printf("%-16s %7d entries\n", file, entries);
    if (!WriteFile(folder + file, contents)) {
        std::fprintf(stderr, "%s: cannot write\n", file);
        return false;
    }
    return true;
}

bool GenerateMoon(const std::string& folder) {
    const MoonSampler sampler = [](double jd, double* longitude, double* distance) {
        return MoonApparentAtUniversalTime(jd, longitude, distance);
    };
    std::string contents;
    contents.reserve(static_cast<std::size_t>(kMoonRecords) * pvlt::kMoonRecordBytes);
    MoonFitQuality worst;
    for (int k = 0; k < kMoonRecords; ++k) {
        const auto record = FitMoonRecord(k, sampler, &worst);
        const auto line = record ? FormatMoonRecord(*record) : std::nullopt;
        if (!line) {
            std::fprintf(stderr, "%s: record %d could not be made\n", pvlt::kMoonFile, k);
            return false;
        }
        contents += *line;
    }
    std::printf("%-8s %5d records  largest fit error: longitude %.4f\"  distance %.2e AU\n", "Moon",
                kMoonRecords, worst.longitude * kArcsecondsPerRadian, worst.distance);
    if (!WriteFile(folder + pvlt::kMoonFile, contents)) {
        std::fprintf(stderr, "%s: cannot write\n", pvlt::kMoonFile);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <output folder> [<ephemeris folder>]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '/') folder += '/';
    OpenEphemeris(argc == 3 ? argv[2] : VLT_SWE_EPHE_DIR);
    bool ok = true;
    for (const OuterPlanet& planet : OuterPlanets()) ok = ok && GeneratePlanet(planet, folder);
    ok = ok && GeneratePlutoTable("pluto.slx", kGeoPlutoEntries, true, folder);
    ok = ok && GeneratePlutoTable("hpluto.2199.slx", kHelioPlutoEntries, false, folder);
    ok = ok && GenerateMoon(folder);
    CloseEphemeris();
    return ok ? 0 : 1;
}
