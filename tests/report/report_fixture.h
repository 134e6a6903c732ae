#pragma once
// A fresh folder per test holding a copy of the index file, in which
// vlt-report runs as a user would start it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/report/run_program.h"

namespace vlt::testing {

class ReportFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = FreshTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        const std::filesystem::path index = std::filesystem::path(VLT_BIN_DIR) / "DJIA_data.txt";
        ASSERT_TRUE(std::filesystem::exists(index))
            << "the build puts the index file beside the program";
        std::filesystem::copy_file(index, folder_ / "DJIA_data.txt");
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    ProgramRun Run(const std::vector<std::string>& args) {
        return RunProgram(VLT_REPORT_PROGRAM, args, folder_);
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    // A refused command line: the exit status, one line on standard error
    // that says `says`, nothing on standard output.
    struct Refusal {
        const char* name;
        std::vector<std::string> args;
        int exit;
        const char* says;
    };
    void ExpectRefused(const Refusal& c) {
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exit) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
    }
    std::filesystem::path folder_;
};

// The arguments with more after them.
inline std::vector<std::string> With(std::vector<std::string> args,
                                     const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

}  // namespace vlt::testing
