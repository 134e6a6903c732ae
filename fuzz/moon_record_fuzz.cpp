// The Moon's record reader: any bytes as moon.chb, any date, and the same
// bytes asked for a date in their first three records.  Every answer is a
// longitude in [0, 2pi) or one of the documented codes, and nothing is
// written through the distance pointer on a code.
#include <cmath>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "planets/include/planets_vlt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    double jd = 0.0;
    std::memcpy(&jd, data, 8);
    const std::string& folder = vlt_fuzz::ScratchFolder();
    vlt_fuzz::WriteFile(folder + "moon.chb", data + 8, size - 8);
    set_datafiles_folder(folder.c_str());
    const double near = std::isfinite(jd) ? 2305447.5 + std::fmod(std::fabs(jd), 48.0) : jd;
    for (double when : {jd, near}) {
        double rv = -12345.0;
        const double v = gc_app_long_rv_planet(10, when, 2000, &rv);
        const bool longitude = v >= 0.0 && v < 6.283185307179586;
        const bool code = v == -99.0 || v == -100.0 || v == -101.0 || v == -102.0 || v == -103.0 ||
                          v == -104.0 || v == -105.0 || v == -107.0;
        if (!longitude && !code) vlt_fuzz::Broken("neither a longitude nor a code");
        if (code && rv != -12345.0) vlt_fuzz::Broken("written on a code");
        if (longitude && !std::isfinite(rv)) vlt_fuzz::Broken("a distance that is not a number");
    }
    return 0;
}
