// Simulation records: the exact columns they are written at, the fields read
// back from those columns, the sort key and the ordering of the summary.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/simulation/simulation_record.h"

namespace vlt {
namespace {

TEST(SimulationRecord, FreshRecordHasTheStatedColumns) {
    const SimulationRecord r = NewSimulationRecord(1, 4, 3, 5);
    //                 1234567890123456789012345678
    EXPECT_EQ(r, std::string("  00.00 143 5 0            0"));
    EXPECT_EQ(r.size(), kSimulationRecordWidth);
    const SimulationRecord wide = NewSimulationRecord(9, 8, 7, 15);
    EXPECT_EQ(wide, std::string("  00.00 98715 0            0"));
}

TEST(SimulationRecord, BuildsThreeRecordsPerCheckedAspectInBoxOrder) {
    const std::array<bool, 7> checked{false, true, false, false, true, false, true};
    const auto records = BuildSimulationRecords(1, 4, checked, {10, 5, 2});
    const std::vector<std::string> expected = {
        "  00.00 14210 0            0", "  00.00 142 5 0            0",
        "  00.00 142 2 0            0", "  00.00 14510 0            0",
        "  00.00 145 5 0            0", "  00.00 145 2 0            0",
        "  00.00 14710 0            0", "  00.00 147 5 0            0",
        "  00.00 147 2 0            0",
    };
    EXPECT_EQ(records, expected);
    EXPECT_TRUE(BuildSimulationRecords(1, 4, {}, {10, 5, 2}).empty());
}

TEST(SimulationRecord, OpeningRedeemingAndCancellingKeepTheColumns) {
    const SimulationRecord fresh = NewSimulationRecord(1, 4, 1, 10);
    const SimulationRecord opened = OpenedRecord(fresh, 12474.52, 1);
    EXPECT_EQ(opened, std::string("  00.00 14110 1 12474.52   1"));
    const SimulationRecord redeemed = RedeemedRecord(opened, 3.456, 1);
    EXPECT_EQ(redeemed, std::string("   3.46 14110 0            1"));
    const SimulationRecord shortValue = OpenedRecord(redeemed, 987.5, 2);
    EXPECT_EQ(shortValue, std::string("   3.46 14110 1 987.50     2"));
    const SimulationRecord cancelled = CancelledRecord(shortValue, 1);
    EXPECT_EQ(cancelled, std::string("   3.46 14110 1            1"));
    const SimulationRecord negative = RedeemedRecord(opened, -123.456, 12);
    EXPECT_EQ(negative, std::string("-123.46 14110 0           12"));
    for (const auto& r : {opened, redeemed, shortValue, cancelled, negative}) {
        EXPECT_EQ(r.size(), kSimulationRecordWidth) << r;
    }
}

struct FieldCase {
    std::string record;
    double gain;
    int p1, p2, aspect, orb, flag;
    double purchase;
    int count;
};

TEST(SimulationRecord, FieldsAreReadFromTheirColumns) {
    const std::vector<FieldCase> cases = {
        {"  00.00 14110 0            0", 0.0, 1, 4, 1, 10, 0, 0.0, 0},
        {"  12.34 147 2 1 17823.07  11", 12.34, 1, 4, 7, 2, 1, 17823.07, 11},
        {"-999.99 98315 1 8579.19  999", -999.99, 9, 8, 3, 15, 1, 8579.19, 999},
        // A count past 999 runs beyond column 28 and is still read whole.
        {"   1.00 123 5 0          1234", 1.0, 1, 2, 3, 5, 0, 0.0, 1234},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        EXPECT_DOUBLE_EQ(RecordGain(c.record), c.gain);
        EXPECT_EQ(RecordFirstPlanet(c.record), c.p1);
        EXPECT_EQ(RecordSecondPlanet(c.record), c.p2);
        EXPECT_EQ(RecordAspect(c.record), c.aspect);
        EXPECT_EQ(RecordOrb(c.record), c.orb);
        EXPECT_EQ(RecordInvestedFlag(c.record), c.flag);
        EXPECT_DOUBLE_EQ(RecordPurchaseValue(c.record), c.purchase);
        EXPECT_EQ(RecordCount(c.record), c.count);
    }
}

// A gain outgrowing its 7 columns must not push the other fields out of
// place: they are read from fixed columns.
TEST(SimulationRecord, OversizedGainKeepsOtherColumnsInPlace) {
    const SimulationRecord opened = OpenedRecord(NewSimulationRecord(1, 4, 2, 5), 1000.0, 3);
    struct Case {
        double gain;
        std::string field;
    };
    const std::vector<Case> cases = {
        {9999.994, "9999.99"}, {10000.04, "10000.0"}, {123456.7, " 123457"}, {-1234.56, "-1234.6"},
        {-99999.4, " -99999"}, {5.0e9, "9999999"},    {-5.0e9, "-999999"},
    };
    for (const auto& c : cases) {
        const SimulationRecord r = RedeemedRecord(opened, c.gain, 3);
        SCOPED_TRACE(r);
        ASSERT_EQ(r.size(), kSimulationRecordWidth);
        EXPECT_EQ(r.substr(0, 7), c.field);
        EXPECT_EQ(RecordOrb(r), 5);
        EXPECT_EQ(RecordAspect(r), 2);
        EXPECT_EQ(RecordInvestedFlag(r), 0);
        EXPECT_EQ(RecordCount(r), 3);
    }
    // The same for a purchase value too wide for its 8 columns.
    const SimulationRecord wide = OpenedRecord(NewSimulationRecord(1, 4, 2, 5), 123456.78, 1);
    ASSERT_EQ(wide.size(), kSimulationRecordWidth);
    EXPECT_DOUBLE_EQ(RecordPurchaseValue(wide), 123456.8);
    EXPECT_EQ(RecordCount(wide), 1);
}

TEST(SimulationRecord, KeyReadsGainAndFurtherDigits) {
    struct Case {
        std::string text;
        double key;
    };
    const std::vector<Case> cases = {
        {"  00.00 14110 0            0", 0.001411000},
        {"   4.76 141 5 0            1", 4.76141501},
        {"  12.34 147 2 1 17823.07  11", 12.341472117823},
        {" -12.34 14110 0            2", -12.341411002},
        {"x12", 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(RecordKey(c.text), c.key, 1e-12) << c.text;
    }
}

TEST(SimulationRecord, EqualGainsAreOrderedByTheFurtherDigits) {
    // The further digits of the key decide: aspect number first, then the
    // orb digits, where a one-digit orb 5 reads as .5 and outranks 10 (.10).
    std::vector<SimulationRecord> list = {
        "   4.76 14110 0            1", "   4.76 141 5 0            1",
        "   4.76 141 2 0            1", "   4.76 14310 0            1",
        "   4.76 143 5 0            1", "   4.76 143 2 0            1",
        "  -1.00 14710 0            1", "  20.00 142 2 0            1",
    };
    QuickSort(list, 0, static_cast<int>(list.size()) - 1);
    const std::vector<SimulationRecord> expected = {
        "  20.00 142 2 0            1", "   4.76 143 5 0            1",
        "   4.76 143 2 0            1", "   4.76 14310 0            1",
        "   4.76 141 5 0            1", "   4.76 141 2 0            1",
        "   4.76 14110 0            1", "  -1.00 14710 0            1",
    };
    EXPECT_EQ(list, expected);
}

// The partition scheme against an ordinary sort: any list of keys, including
// many equal ones, ends in non-increasing order with the same entries.
TEST(SimulationRecord, QuickSortOrdersAnyListDescending) {
    std::mt19937 random(20240505);
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 1 + static_cast<int>(random() % 40);
        std::vector<SimulationRecord> list;
        for (int k = 0; k < n; ++k) {
            const int whole = static_cast<int>(random() % 7) - 3;  // many equal gains
            list.push_back(std::to_string(whole) + "." + std::to_string(random() % 3) + " 14" +
                           std::to_string(1 + random() % 7) + std::to_string(random() % 10));
        }
        std::vector<SimulationRecord> sorted = list;
        QuickSort(sorted, 0, n - 1);
        auto expected = list;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return RecordKey(a) > RecordKey(b); });
        ASSERT_EQ(sorted.size(), expected.size());
        for (int k = 0; k < n; ++k) {
            EXPECT_DOUBLE_EQ(RecordKey(sorted[static_cast<std::size_t>(k)]),
                             RecordKey(expected[static_cast<std::size_t>(k)]))
                << "trial " << trial << " position " << k;
        }
        std::sort(sorted.begin(), sorted.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected) << "entries lost or duplicated in trial " << trial;
    }
}

}  // namespace
}  // namespace vlt
