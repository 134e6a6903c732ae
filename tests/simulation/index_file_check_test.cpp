// The build's check of the index file (cmake/CheckIndexFile.cmake): the
// project's file passes and is copied byte for byte; a truncated or damaged
// file stops the build with a message that names it, and nothing is copied.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kIndexFile = fs::path(VLT_DATA_DIR) / "DJIA_data.txt";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct CheckRun {
    int status = -1;
    std::string messages;
};

CheckRun RunCheck(const fs::path& source, const fs::path& destination) {
    const fs::path log = destination.parent_path() / "check.log";
    const std::string command = std::string("\"") + VLT_CMAKE_COMMAND + "\" -DSOURCE=\"" +
                                source.string() + "\" -DDESTINATION=\"" + destination.string() +
                                "\" -P \"" + VLT_CHECK_INDEX_SCRIPT + "\" >\"" + log.string() +
                                "\" 2>&1";
    CheckRun run;
    run.status = std::system(command.c_str());
    run.messages = ReadBytes(log);
    // CMake wraps its messages; one line is easier to search.
    for (char& c : run.messages) {
        if (c == '\n') c = ' ';
    }
    std::string single;
    for (char c : run.messages) {
        if (c == ' ' && !single.empty() && single.back() == ' ') continue;
        single += c;
    }
    run.messages = single;
    return run;
}

std::string Replace(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

TEST(IndexFileCheck, TheProjectsFilePassesAndIsCopiedByteForByte) {
    const fs::path folder = fs::path(::testing::TempDir()) / "vlt_index_check_good";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const CheckRun run = RunCheck(kIndexFile, folder / "DJIA_data.txt");
    EXPECT_EQ(run.status, 0) << run.messages;
    const std::string original = ReadBytes(kIndexFile);
    EXPECT_EQ(original.size(), 42901u);
    EXPECT_EQ(ReadBytes(folder / "DJIA_data.txt"), original);
    fs::remove_all(folder);
}

TEST(IndexFileCheck, DamagedFilesStopTheBuild) {
    const std::string good = ReadBytes(kIndexFile);
    ASSERT_EQ(good.substr(good.size() - 12), "2015-01-01\r\n");
    struct Case {
        const char* name;
        std::string bytes;
        bool create;
        const char* message;
    };
    const Case cases[] = {
        {"last_line_lost", good.substr(0, good.size() - 12), true, "2087 lines (2087 dated)"},
        {"cut_in_half", good.substr(0, good.size() / 2), true, "where 2088 dated lines belong"},
        {"empty", "", true, "0 lines (0 dated)"},
        {"line_blanked", Replace(good, "2008-10-09,8579.19", "   "), true, "2087 lines"},
        {"undated_line", Replace(good, "2008-10-09,8579.19", "8579.19"), true, "(2087 dated)"},
        {"lf_line_ends", Replace(good, "\r\n", "\n"), true, "lost its CR LF line ends (0 of 2088)"},
        {"missing", "", false, "is missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = fs::path(::testing::TempDir()) / "vlt_index_check" / c.name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        const fs::path source = folder / "DJIA_data.txt";
        if (c.create) std::ofstream(source, std::ios::binary) << c.bytes;
        const fs::path copy = folder / "copy" / "DJIA_data.txt";
        fs::create_directories(copy.parent_path());
        const CheckRun run = RunCheck(source, copy);
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.messages.find("Index file " + source.string()), std::string::npos)
            << run.messages;
        EXPECT_NE(run.messages.find(c.message), std::string::npos) << run.messages;
        EXPECT_NE(run.messages.find("git checkout -- data/DJIA_data.txt"), std::string::npos)
            << run.messages;
        EXPECT_FALSE(fs::exists(copy));
        fs::remove_all(folder);
    }
}

}  // namespace
