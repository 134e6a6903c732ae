// Access to the committed data files of the source tree.
#ifndef VLT_TESTS_TOOLS_COMMITTED_DATA_H
#define VLT_TESTS_TOOLS_COMMITTED_DATA_H

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vlt::datagen::testing {

inline std::string DataFolder() { return std::string(VLT_SOURCE_DIR) + "/data/"; }

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadDataFile(const std::string& name) {
    std::ifstream in(DataFolder() + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Lines of a file whose every line ends in a line feed; the text after the
// last line feed (empty for a well-formed file) is left out and reported.
inline std::vector<std::string> SplitLines(const std::string& contents, std::string* tail) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = contents.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(contents.substr(start, end - start));
    }
    *tail = contents.substr(start);
    return lines;
}

}  // namespace vlt::datagen::testing

#endif
