// The outer planets' record reader: any bytes as a data file, any date and
// year.  Every answer is a longitude in [0, 2pi) or one of the documented
// codes, and nothing is written through the out-pointers on a code.
#include <cmath>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "planets/include/planets_vlt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 12) return 0;
    double jd = 0.0;
    std::int32_t year = 0;
    std::memcpy(&jd, data, 8);
    std::memcpy(&year, data + 8, 4);
    const std::string& folder = vlt_fuzz::ScratchFolder();
    vlt_fuzz::WriteFile(folder + "uranus.dac", data + 12, size - 12);
    set_datafiles_folder(folder.c_str());
    // A year that reaches the records the bytes can hold now and then.
    const int years[] = {year, 1600 + static_cast<int>(static_cast<std::uint32_t>(year) % 20)};
    for (int y : years) {
        double lat = -12345.0;
        double rv = -12345.0;
        const double l = hc_j2000_long_lat_rv_planet(7, jd, y, &lat, &rv);
        const double g = gc_app_long_rv_planet(7, jd, y, nullptr);
        for (double v : {l, g}) {
            const bool longitude = v >= 0.0 && v < 6.283185307179586;
            const bool code = v == -99.0 || v == -100.0 || v == -101.0 || v == -102.0 ||
                              v == -103.0 || v == -104.0 || v == -105.0 || v == -107.0;
            if (!longitude && !code) vlt_fuzz::Broken("neither a longitude nor a code");
        }
        if (l < 0.0 && (lat != -12345.0 || rv != -12345.0)) vlt_fuzz::Broken("written on a code");
    }
    return 0;
}
