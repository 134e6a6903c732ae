#pragma once
// What the fuzz targets share: a scratch folder of their own for the files a
// target writes, and writing a file whole.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vlt_fuzz {

inline std::string& ScratchPath() {
    static std::string path;
    return path;
}

inline void RemoveScratchFolder() {
    std::error_code ec;
    if (!ScratchPath().empty()) std::filesystem::remove_all(ScratchPath(), ec);
}

// A folder under the temporary folder, made once per process and removed
// when it ends; ends in "/".
inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        const std::filesystem::path p =
            std::filesystem::temp_directory_path() / ("vlt-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        ScratchPath() = p.string();
        std::atexit(RemoveScratchFolder);
        return p.string() + "/";
    }();
    return folder;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Stops the fuzzer with a message: an invariant of the code under test broke.
[[noreturn]] inline void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace vlt_fuzz
