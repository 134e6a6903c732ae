// The price-file reader: any bytes as a --prices file, in either layout.
// The answer is a series or one line of message, never both; a series has
// ascending days and prices within the taken range, so every gain between
// two of them is finite; reading the file from disk gives what parsing its
// text gives; and a file written with CR line ends instead of LF reads the
// same, message included.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/simulation/price_series.h"
#include "fuzz/fuzz_support.h"

namespace {

struct Outcome {
    bool ok = false;
    vlt::PriceSeries series;
    std::string error;
};

Outcome Parse(const std::string& text, const std::string& name) {
    Outcome o;
    o.ok = vlt::ParsePriceSeries(text, name, "Close", o.series, o.error);
    return o;
}

bool Same(const Outcome& a, const Outcome& b) {
    return a.ok == b.ok && a.error == b.error && a.series.days == b.series.days &&
           a.series.values == b.series.values && a.series.firstDay == b.series.firstDay &&
           a.series.lastDay == b.series.lastDay;
}

void CheckSeries(const Outcome& o) {
    if (o.ok != o.error.empty()) vlt_fuzz::Broken("success and message disagree");
    if (!o.ok) {
        if (o.error.rfind("price file \"", 0) != 0) vlt_fuzz::Broken("message does not name file");
        for (const char c : o.error) {
            if (static_cast<unsigned char>(c) < 32 || c == 127) {
                vlt_fuzz::Broken("a control character in the message");
            }
        }
        return;
    }
    const vlt::PriceSeries& s = o.series;
    if (s.days.size() != s.values.size() || s.days.empty()) vlt_fuzz::Broken("days and values");
    if (!std::is_sorted(s.days.begin(), s.days.end()) ||
        std::adjacent_find(s.days.begin(), s.days.end()) != s.days.end()) {
        vlt_fuzz::Broken("days do not ascend strictly");
    }
    double lowest = vlt::kHighestPrice;
    double highest = vlt::kLowestPrice;
    for (const double v : s.values) {
        if (v == 0.0) continue;
        if (!(v >= vlt::kLowestPrice && v <= vlt::kHighestPrice)) vlt_fuzz::Broken("price range");
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    if (!std::isfinite((highest - lowest) * 100.0 / lowest)) vlt_fuzz::Broken("a gain not finite");
    double first = 0.0;
    double last = 0.0;
    if (!vlt::PriceValueForDay(s, s.firstDay, first) ||
        !vlt::PriceValueForDay(s, s.lastDay, last) || s.firstDay > s.lastDay) {
        vlt_fuzz::Broken("the covered range has no price at an end");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = vlt_fuzz::ScratchFolder() + "prices.csv";
    const Outcome parsed = Parse(text, path);
    CheckSeries(parsed);

    vlt_fuzz::WriteFile(path, data, size);
    Outcome loaded;
    loaded.ok = vlt::LoadPriceSeries(path, "Close", loaded.series, loaded.error);
    if (!Same(parsed, loaded)) vlt_fuzz::Broken("reading the file differs from parsing its text");

    if (text.find('\r') == std::string::npos) {
        std::string cr = text;
        std::replace(cr.begin(), cr.end(), '\n', '\r');
        if (!Same(parsed, Parse(cr, path))) vlt_fuzz::Broken("CR line ends read differently");
    }
    return 0;
}
