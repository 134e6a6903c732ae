// vlt-positions: prints one line with today's (now, UTC) apparent geocentric
// longitudes of the Sun and the planets Mercury to Neptune, in degrees, as
// computed by libplanets_vlt.  The data files are looked up beside the
// program.  Outer planets whose data file is missing show "n/a" and the
// library's error code.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "planets/include/planets_vlt.h"

namespace {

std::string program_folder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

}  // namespace

int main() {
    set_datafiles_folder(program_folder().c_str());

    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto day = floor<days>(now);
    const year_month_day ymd{day};
    const auto since_midnight = duration_cast<minutes>(now - day).count();
    // 1970-01-01 00:00 UTC is Julian date 2440587.5.
    const double jd =
        2440587.5 +
        duration_cast<duration<double, std::ratio<86400>>>(now.time_since_epoch()).count();
    const int year = static_cast<int>(ymd.year());

    std::printf("%04d-%02u-%02u %02lld:%02lld UTC  jd %.5f", year,
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<long long>(since_midnight / 60),
                static_cast<long long>(since_midnight % 60), jd);

    struct Body {
        const char* name;
        int number;
    };
    constexpr Body bodies[] = {{"Sun", 0},     {"Mercury", 1}, {"Venus", 2},  {"Mars", 4},
                               {"Jupiter", 5}, {"Saturn", 6},  {"Uranus", 7}, {"Neptune", 8}};
    for (const Body& b : bodies) {
        double rv = 0.0;
        const double longitude = gc_app_long_rv_planet(b.number, jd, year, &rv);
        if (longitude > -99.0) {
            std::printf("  %s %.4f", b.name, longitude * 57.29577951308232);
        } else {
            // The library's code, printed as the number it is (never cast: a value
            // beyond int's range would print as a different number).
            std::printf("  %s n/a (%.0f)", b.name, longitude);
        }
    }
    std::printf("\n");
    return 0;
}
