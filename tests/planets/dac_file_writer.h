// Writes small outer-planet data files in the library's record layout, for
// tests and benchmarks that must not depend on the generated data files.
#ifndef VLT_TESTS_PLANETS_DAC_FILE_WRITER_H
#define VLT_TESTS_PLANETS_DAC_FILE_WRITER_H

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace planets_test {

inline constexpr int kRecordLength = 235;

// One record's content as numbers: header integer, T0, second header number
// and the longitude, latitude and radius coefficients c0..c6.
struct RecordValues {
    int header = 0;
    double t0 = 0.0;
    double second = 0.0;
    std::array<double, 7> longitude{};
    std::array<double, 7> latitude{};
    std::array<double, 7> radius{};
};

// A number right-aligned in a field of exactly `width` characters.
inline std::string field(double value, int width, const char* format = "%.6f") {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    std::string s(text);
    if (static_cast<int>(s.size()) > width) s.resize(width);
    return std::string(width - s.size(), ' ') + s;
}

inline std::string record_text(const RecordValues& v) {
    std::string r =
        field(v.header, 5, "%.0f") + field(v.t0, 10, "%.1f") + field(v.second, 10, "%.1f");
    for (const auto* q : {&v.longitude, &v.latitude, &v.radius}) {
        for (double c : *q) r += field(c, 10, "%.7f");
    }
    return r;  // 5 + 10 + 10 + 3 * 70 = 235 characters
}

// Record k of a synthetic file: values that name the record, so that a test
// can tell which record the library read.
inline RecordValues numbered_record(int first_year, int k) {
    RecordValues v;
    v.header = first_year + 5 * k;
    v.t0 = 1000000.5 + 1826.0 * k;
    // The block's end, half a block after its middle, as in the real files.
    v.second = v.t0 + 913.0;
    v.longitude[0] = 1.0 + 0.001 * k;
    v.latitude[0] = -0.01 - 0.00001 * k;
    v.radius[0] = 5.0 + 0.0001 * k;
    v.longitude[1] = 0.25;
    v.latitude[1] = 0.002;
    v.radius[1] = -0.03;
    v.longitude[2] = -0.0125;
    v.radius[6] = 0.0004;
    return v;
}

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void write_numbered_file(const std::filesystem::path& path, int first_year, int records) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(records) * kRecordLength);
    for (int k = 0; k < records; ++k) bytes += record_text(numbered_record(first_year, k));
    write_file(path, bytes);
}

// A fresh folder under the system's temporary folder, removed again at the
// end of its scope.  Its text ends with "/" as the library's folder must.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag) {
        namespace fs = std::filesystem;
        static int serial = 0;
        path_ =
            fs::temp_directory_path() / ("planets_vlt_" + tag + "_" + std::to_string(::getpid()) +
                                         "_" + std::to_string(++serial));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string text() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

}  // namespace planets_test

#endif
