#pragma once
// The fixture of the tests of the event finders: the program's positions
// read from the data folder, Pluto's tables included; the tests are skipped
// where the data files are not built.

#include <gtest/gtest.h>

#include <string>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "tests/common/data_folder.h"
#include "tests/common/fake_run_host.h"

namespace vlt::testing {

class SkyPositionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string folder = DataFolderWithFiles();
        if (folder.empty()) GTEST_SKIP() << "data files not built";
        InitPositionsWithFolder(folder);
        SilentBoxes boxes;
        ReadPlutoData(boxes);
    }
};

}  // namespace vlt::testing
