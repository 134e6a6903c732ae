// Every row of the planetary periodic tables compiled into the library must
// equal the published row in the reference CSV (same count, order, values),
// so that a slip in transcription cannot hide.
#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "planets/src/planets_internal.h"

namespace {

struct CsvRow {
    int row = 0;
    std::int32_t amplitude = 0;
    double phase = 0.0;
    double frequency = 0.0;
    std::string text;
};

template <typename T>
bool parse(const std::string& s, T* out) {
    const auto r = std::from_chars(s.data(), s.data() + s.size(), *out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

std::map<std::string, std::vector<CsvRow>> read_csv(std::vector<std::string>* order) {
    std::map<std::string, std::vector<CsvRow>> tables;
    const std::string path = std::string(VLT_SOURCE_DIR) + "/tests/planets/data/series-terms.csv";
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << "cannot open " << path;
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line.substr(0, 35), "table,row,amplitude,phase,frequency");
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, ',')) cells.push_back(cell);
        EXPECT_EQ(cells.size(), 5u) << line;
        if (cells.size() != 5) continue;
        CsvRow r;
        r.text = line;
        EXPECT_TRUE(parse(cells[1], &r.row)) << line;
        EXPECT_TRUE(parse(cells[2], &r.amplitude)) << line;
        EXPECT_TRUE(parse(cells[3], &r.phase)) << line;
        EXPECT_TRUE(parse(cells[4], &r.frequency)) << line;
        if (tables.find(cells[0]) == tables.end()) order->push_back(cells[0]);
        tables[cells[0]].push_back(r);
    }
    return tables;
}

TEST(SeriesTables, EveryRowMatchesTheReferenceCsv) {
    std::vector<std::string> order;
    const auto csv = read_csv(&order);
    ASSERT_EQ(order.size(), static_cast<std::size_t>(pvlt::kPeriodicTableCount));
    const pvlt::PeriodicTable* tables = pvlt::periodic_tables();
    int rows = 0;
    for (int t = 0; t < pvlt::kPeriodicTableCount; ++t) {
        const pvlt::PeriodicTable& table = tables[t];
        SCOPED_TRACE(table.name);
        EXPECT_EQ(order[t], table.name);
        const auto it = csv.find(table.name);
        ASSERT_NE(it, csv.end());
        const std::vector<CsvRow>& expected = it->second;
        ASSERT_EQ(table.count, static_cast<int>(expected.size()));
        for (int i = 0; i < table.count; ++i) {
            const CsvRow& e = expected[i];
            EXPECT_EQ(e.row, i + 1) << e.text;
            EXPECT_EQ(table.terms[i].amplitude, e.amplitude) << e.text;
            EXPECT_EQ(table.terms[i].phase, e.phase) << e.text;
            EXPECT_EQ(table.terms[i].frequency, e.frequency) << e.text;
            ++rows;
        }
    }
    EXPECT_EQ(rows, 25 + 18 + 14 + 20 + 6 + 5 + 60 + 7 + 29);
}

// Rows of the solar table as published (first, a zero-longitude row, the
// negative-frequency rows' neighbours, last), as a guard on the hand-typed
// table that has no CSV of its own; the whole table is checked against the
// oracle through the Sun's positions.
TEST(SeriesTables, SolarTableSpotRows) {
    struct Row {
        int index;
        pvlt::SolarTerm term;
    };
    const Row rows[] = {
        {0, {403406, 0, 4.721964, 1.621043}}, {1, {195207, -97597, 5.937458, 62830.348067}},
        {7, {0, 941, 1.163, 0.813}},          {10, {334, 0, 4.553, -33.931}},
        {11, {314, 309, 5.198, 777137.715}},  {37, {21, 31, 5.98, -55731.43}},
        {49, {10, -9, 2.55, 157208.4}},
    };
    const pvlt::SolarTerm* t = pvlt::solar_terms();
    for (const Row& r : rows) {
        EXPECT_EQ(t[r.index].longitude, r.term.longitude) << r.index;
        EXPECT_EQ(t[r.index].distance, r.term.distance) << r.index;
        EXPECT_EQ(t[r.index].phase, r.term.phase) << r.index;
        EXPECT_EQ(t[r.index].frequency, r.term.frequency) << r.index;
    }
}

}  // namespace
