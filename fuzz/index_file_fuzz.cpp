// The index-file reader: any bytes as DJIA_data.txt.  Start-up shows at most
// one box, and a lookup gives a value above 0 or none.
#include "app/simulation/index_data.h"
#include "fuzz/fuzz_support.h"

namespace {

class CountingBoxes : public vlt::MessageBoxes {
public:
    int shown = 0;
    vlt::MsgResult Show(const std::string& text, const std::string&, vlt::MsgButtons,
                        vlt::MsgIcon) override {
        ++shown;
        if (text.rfind("Error reading DJIA data file", 0) != 0) vlt_fuzz::Broken("other box");
        return vlt::MsgResult::Ok;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = vlt_fuzz::ScratchFolder() + "DJIA_data.txt";
    vlt_fuzz::WriteFile(path, data, size);
    vlt::IndexData index;
    CountingBoxes boxes;
    vlt::LoadIndexData(index, boxes, path);
    if (boxes.shown > 1) vlt_fuzz::Broken("more than one box at start-up");
    if (index.count < 0 || static_cast<std::size_t>(index.count) + 1 != index.lines.size()) {
        vlt_fuzz::Broken("count and lines disagree");
    }
    for (std::int32_t day : {2454104, 2454105, 2454110, 2455000, 2457023, 2457030}) {
        double value = -1.0;
        if (vlt::IndexValueForDay(index, day, value) && !(value > 0.0)) {
            vlt_fuzz::Broken("a value of 0 or less was given");
        }
    }
    return 0;
}
