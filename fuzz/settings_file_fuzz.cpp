// The settings file: any bytes as settings.ini.  Reading never fails hard; a
// value saved reads back as saved; saving it again leaves the file as it is;
// and no line of the file that is not the value's own is lost.
#include <string>
#include <vector>

#include "app/support/settings_store.h"
#include "fuzz/fuzz_support.h"

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) lf = text.size();
        lines.push_back(text.substr(start, lf - start));
        start = lf + 1;
    }
    return lines;
}

// Whether `after` holds every line of `before` in order, but for at most one
// value line (holding "="): the value's own, which a save rewrites in
// place.  Matching each line at its first possible place and skipping an
// unmatched value line (as this check once did) is not enough: a value line
// can then be matched with a copy further on and push the lines after it
// out of reach (a file with "Fuzz=x" both in the program's section and in
// another one).  Instead, prefix[i] is the shortest stretch of `after` that
// holds before[0..i), suffix[i] the latest start of a stretch that holds
// before[i..n); line i may be the lost one when prefix[i] <= suffix[i + 1].
bool KeptAllButOneValueLine(const std::vector<std::string>& before,
                            const std::vector<std::string>& after) {
    const std::size_t n = before.size();
    std::vector<std::size_t> prefix(n + 1, after.size() + 1);
    prefix[0] = 0;
    for (std::size_t i = 0, j = 0; i < n; ++i) {
        while (j < after.size() && after[j] != before[i]) ++j;
        if (j == after.size()) break;
        prefix[i + 1] = ++j;
    }
    if (prefix[n] <= after.size()) return true;  // nothing lost at all
    std::vector<std::ptrdiff_t> suffix(n + 1, -1);
    suffix[n] = static_cast<std::ptrdiff_t>(after.size());
    for (std::size_t i = n, j = after.size(); i-- > 0;) {
        while (j > 0 && after[j - 1] != before[i]) --j;
        if (j == 0) break;
        suffix[i] = static_cast<std::ptrdiff_t>(--j);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (before[i].find('=') == std::string::npos || prefix[i] > after.size()) continue;
        if (suffix[i + 1] >= 0 && static_cast<std::ptrdiff_t>(prefix[i]) <= suffix[i + 1]) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = vlt_fuzz::ScratchFolder() + "Quillon";
    std::filesystem::create_directories(folder);
    // Setting the folder makes the store forget the file it kept: file
    // times are too coarse to tell this run's file from the last one's.
    vlt::SetSettingsFolder(folder);
    const std::string path = vlt::SettingsFilePath();
    vlt_fuzz::WriteFile(path, data, size);
    const std::string before = FileText(path);
    std::string value;
    vlt::GetStringSetting("\\VLT", "StateSaved", value, false, "");
    vlt::GetStringSetting("\\VLT\\Year", "0", value, false, "");
    const bool readable = vlt::SettingsFileProblem().empty();
    if (!vlt::SaveStringSetting("\\VLT", "Fuzz", "a=b\\c", false)) {
        if (readable) vlt_fuzz::Broken("a readable file could not be saved");
        if (FileText(path) != before) vlt_fuzz::Broken("a refused file was changed");
        return 0;
    }
    if (!vlt::GetStringSetting("\\VLT", "Fuzz", value, false, "") || value != "a=b\\c") {
        vlt_fuzz::Broken("the saved value does not read back");
    }
    const std::string once = FileText(path);
    vlt::SaveStringSetting("\\VLT", "Fuzz", "a=b\\c", false);
    if (FileText(path) != once) vlt_fuzz::Broken("saving the same value changed the file");
    if (!KeptAllButOneValueLine(Lines(before), Lines(once))) {
        vlt_fuzz::Broken("a line of the file was lost");
    }
    return 0;
}
