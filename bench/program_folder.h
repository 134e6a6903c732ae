#pragma once
// The folder of the running benchmark, where the build puts the data files
// and the index file beside it (with a final '/'; "./" when it cannot be
// told).

#include <unistd.h>

#include <string>

namespace vlt::bench {

inline std::string ProgramFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "./";
    std::string folder(path, static_cast<std::size_t>(n));
    return folder.substr(0, folder.rfind('/') + 1);
}

}  // namespace vlt::bench
