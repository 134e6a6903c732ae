#pragma once
// The folder that holds every data file the positions read: beside the test
// programs (the build copies them there), else the source tree's data
// folder; "" when neither holds them all.

#include <filesystem>
#include <string>

namespace vlt::testing {

inline std::string DataFolderWithFiles() {
    const char* names[] = {"jupiter.dac", "saturn.dac",      "uranus.dac", "neptune.dac",
                           "pluto.slx",   "hpluto.2199.slx", "moon.chb"};
    for (const std::string& folder :
         {std::string(VLT_BIN_DIR) + "/", std::string(VLT_SOURCE_DIR) + "/data/"}) {
        bool all = true;
        for (const char* n : names) all = all && std::filesystem::exists(folder + n);
        if (all) return folder;
    }
    return std::string();
}

}  // namespace vlt::testing
