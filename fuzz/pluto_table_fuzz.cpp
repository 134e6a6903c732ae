// The Pluto table loader: any bytes as both table files.  Every position is a
// longitude in [0, 2pi) or a code, and a table that was read says so.
#include <cmath>
#include <cstring>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "fuzz/fuzz_support.h"

namespace {

class SilentBoxes : public vlt::MessageBoxes {
public:
    vlt::MsgResult Show(const std::string&, const std::string&, vlt::MsgButtons,
                        vlt::MsgIcon) override {
        return vlt::MsgResult::Ok;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& folder = vlt_fuzz::ScratchFolder();
    static const bool init = [&] {
        vlt::InitPositionsWithFolder(folder);
        return true;
    }();
    (void)init;
    const std::size_t half = size / 2;
    vlt_fuzz::WriteFile(folder + vlt::kGeoPlutoFile, data, half);
    vlt_fuzz::WriteFile(folder + vlt::kHelioPlutoFile, data + half, size - half);
    SilentBoxes boxes;
    vlt::ReadPlutoData(boxes);
    if (!vlt::PlutoTableProblem(false).empty() && vlt::GeoPlutoEntryCount() != 0) {
        vlt_fuzz::Broken("a table that was not read holds entries");
    }
    const double first = 2305447.5;
    const double offsets[] = {0.0, 0.5, 1.25, 3.75, 10.0, 54.5, 55.5, 400.0, -1.0};
    for (double o : offsets) {
        for (bool helio : {false, true}) {
            const double v =
                helio ? vlt::HelioPlutoLongitude(first + o) : vlt::GeoPlutoLongitude(first + o);
            const bool longitude = v >= 0.0 && v < 6.28318530717959;
            const bool code =
                v == -99.0 || v == -100.0 || v == -101.0 || v == -103.0 || v == -106.0;
            if (!longitude && !code) vlt_fuzz::Broken("neither a longitude nor a code");
        }
    }
    return 0;
}
