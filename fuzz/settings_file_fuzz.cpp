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
    // Every line of the old file is still there, but the value's own.
    const std::vector<std::string> after = Lines(once);
    std::size_t k = 0;
    for (const std::string& line : Lines(before)) {
        std::size_t j = k;
        while (j < after.size() && after[j] != line) ++j;
        if (j < after.size()) {
            k = j + 1;
        } else if (line.find('=') == std::string::npos) {
            // Only a value line (holding "=") may be the value's own.
            vlt_fuzz::Broken("a line of the file was lost");
        }
    }
    return 0;
}
