#pragma once
// What the oracle tests of whole transit reports share: a scan of whole
// years with every aspect, on the program's own positions from the data
// folder, and the context that checks its rows against the Swiss Ephemeris
// (oracle_check.h).

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/engine/transit_scan.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"
#include "tests/common/data_folder.h"
#include "tests/common/fake_run_host.h"
#include "tests/engine/oracle_check.h"

namespace vlt::testing {

// Keeps every line but lets the box look nearly empty, so that a long report
// (a century of transits, a year of the Moon's) is not cut at the box's size
// limit.
class ArchiveOutput final : public OutputBox {
public:
    const std::string& Text() const override { return shown; }
    void Append(const std::string& piece) override {
        all += piece;
        shown = all.empty() ? "" : "x";
    }
    void Clear() override { shown.clear(); }
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    std::string all, shown;
};

class ArchiveHost final : public FakeRunHost {
public:
    OutputBox& Output() override { return out; }
    ArchiveOutput out;
};

// Skips the test where the data files are not built; else the positions
// read them.
template <class Case>
class DataFolderScan : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        const std::string folder = DataFolderWithFiles();
        if (folder.empty()) GTEST_SKIP() << "outer-planet data files not built";
        InitPositionsWithFolder(folder);
    }
};

struct YearsScan {
    const char* name;
    std::int16_t first, second;
    int fromYear, toYear;  // the first of January of one to the last of December of the other
    std::array<std::int16_t, 3> orbs;
    bool heliocentric = false;
};

// The rows of the whole report of a scan with every aspect; none where the
// scan does not complete.
inline std::vector<Cells> ScannedRows(const YearsScan& s) {
    TransitRequest r;
    r.firstPlanet = s.first;
    r.secondPlanet = s.second;
    r.heliocentric = s.heliocentric;
    for (int a = 1; a <= 7; ++a) r.aspectEnabled[static_cast<std::size_t>(a)] = true;
    r.orbDegrees = s.orbs;
    DateRecord from{s.fromYear, 1, 1, kCalendarGregorian, 0, 0};
    DateRecord to{s.toYear, 12, 31, kCalendarGregorian, 0, 0};
    r.startDay = DateToDayNumber(from);
    r.endDay = DateToDayNumber(to);
    r.reportTitle = s.name;
    CompleteRequest(r);

    ArchiveHost host;
    TransitScanner scanner(host, DefaultPositions());
    const ScanEnd end = scanner.TransitScan(r);
    EXPECT_EQ(end, ScanEnd::Completed);
    return end == ScanEnd::Completed ? TransitRows(host.out.all) : std::vector<Cells>();
}

// The degrees of every aspect by the name the report gives it.
inline std::map<std::string, double> EveryAspectDegrees() {
    std::map<std::string, double> degrees;
    for (int a = 1; a <= 7; ++a) {
        degrees[AspectNames[static_cast<std::size_t>(a)].name] =
            AspectAngles[static_cast<std::size_t>(a)] * 360.0 / kTwoPi;
    }
    return degrees;
}

// The context of the report of ScannedRows(s): retrograde markers in a
// geocentric report.
inline ReportContext ContextOf(const YearsScan& s) {
    return {s.first,
            s.second,
            s.heliocentric,
            !s.heliocentric,
            ScanStep(s.first, s.second),
            EveryAspectDegrees(),
            {s.orbs[0], s.orbs[1], s.orbs[2]}};
}

}  // namespace vlt::testing
