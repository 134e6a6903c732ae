#pragma once
// A fresh folder per test holding a copy of the index file, in which
// vlt-report runs as a user would start it.

#include <gtest/gtest.h>

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
    std::filesystem::path folder_;
};

}  // namespace vlt::testing
