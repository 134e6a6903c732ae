// The full investment simulation Earth-Mars, all aspect types, orbs 10/5/2,
// 2007-01-03 to 2014-12-31 with details, against the real index file:
//  - its output is the checked-in expected text;
//  - every investment, redemption and cancellation in it, and its summary,
//    agree with an independent recount from the Swiss Ephemeris's positions
//    at the same instants and the index file read here on its own.

#include <gtest/gtest.h>
#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/positions/positions.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/simulation_text.h"
#include "simulation_fakes.h"

namespace vlt {
namespace {

constexpr std::int32_t kFirstDay = 2454104;  // 2007-01-03
constexpr std::int32_t kLastDay = 2457023;   // 2014-12-31
const std::string kIndexFile = std::string(VLT_DATA_DIR) + "/DJIA_data.txt";
const std::string kGoldenFile =
    std::string(VLT_SOURCE_DIR) + "/tests/simulation/golden/earth_mars_2007_2014.txt";
// The title the transit commands give this request.
constexpr const char* kTitle =
    "Heliocentric transits for Earth and Mars from January 3, 2007, to December 31, 2014";

const char* kAspectNames[] = {"",      "Conjunction", "Opposition",  "Square",
                              "Trine", "Sextile",     "Semisextile", "Quincunx"};
const double kAspectDegrees[] = {0, 0, 180, 90, 120, 60, 30, 150};
const int kOrbs[] = {10, 5, 2};

// ---- The run under test --------------------------------------------------

struct RunResult {
    SimulationOutcome outcome;
    std::string text;
};

const RunResult& FullRun() {
    static const RunResult result = [] {
        InitPositionsWithFolder(std::string(VLT_BIN_DIR) + "/");
        testing::FakeRunHost host{RunKind::Simulation};
        IndexData data;
        LoadIndexData(data, host.boxes, kIndexFile);
        HelioEphemerisPositions positions;
        IndexDataLookup index(data);
        SeparatorAmountFormatter amounts;
        SimulationTextSink text(host.Output(), amounts);
        InvestmentSimulation simulation(host, text, positions, index);
        SimulationRequest request;
        request.firstPlanetIndex = 0;   // Earth
        request.secondPlanetIndex = 2;  // Mars
        request.aspectChecked.fill(true);
        request.orbIndex = {9, 4, 1};
        request.startDay = kFirstDay;
        request.endDay = kLastDay;
        request.includeDetails = true;
        request.reportTitle = kTitle;
        RunResult r{simulation.Click(request), host.output.text};
        return r;
    }();
    return result;
}

bool IndexFilePresent() { return std::ifstream(kIndexFile).good(); }

// ---- The independent recount ----------------------------------------------

// Gregorian calendar date of a Julian day number (Fliegel and Van Flandern).
std::string DateOfDay(std::int32_t jdn) {
    long l = jdn + 68569;
    const long n = 4 * l / 146097;
    l = l - (146097 * n + 3) / 4;
    const long i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const long j = 80 * l / 2447;
    const long day = l - 2447 * j / 80;
    l = j / 11;
    const long month = j + 2 - 12 * l;
    const long year = 100 * (n - 49) + i + l;
    char text[48];
    std::snprintf(text, sizeof text, "%04ld-%02ld-%02ld", year, month, day);
    return text;
}

// Julian day number of a "YYYY-MM-DD" Gregorian date.
std::int32_t DayOfDate(const std::string& date) {
    const long y = std::atol(date.substr(0, 4).c_str());
    const long m = std::atol(date.substr(5, 2).c_str());
    const long d = std::atol(date.substr(8, 2).c_str());
    const long a = (m - 14) / 12;
    return static_cast<std::int32_t>((1461 * (y + 4800 + a)) / 4 + (367 * (m - 2 - 12 * a)) / 12 -
                                     (3 * ((y + 4900 + a) / 100)) / 4 + d - 32075);
}

// Date text -> value, read from the file with nothing of the program's code.
std::map<std::string, double> ReadIndexFile() {
    std::map<std::string, double> values;
    std::ifstream in(kIndexFile, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.size() < 10) continue;
        values[line.substr(0, 10)] = line.size() > 11 ? std::atof(line.c_str() + 11) : 0.0;
    }
    return values;
}

double IndexValue(const std::map<std::string, double>& values, std::int32_t day) {
    for (int k = 0; k < 5; ++k) {
        const auto it = values.find(DateOfDay(day + k));
        if (it != values.end() && it->second > 0) return it->second;
    }
    ADD_FAILURE() << "no index value for " << DateOfDay(day);
    return 1.0;
}

// Heliocentric ecliptic longitude of the J2000 equinox, geometric, in
// degrees, jd read as TT.
double OracleLongitude(int body, double jd) {
    double xx[6];
    char error[256];
    const int flags = SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_TRUEPOS | SEFLG_J2000 | SEFLG_NONUT;
    if (swe_calc(jd, body, flags, xx, error) < 0) ADD_FAILURE() << error;
    return xx[0];
}

// The library's longitudes differ from the oracle's by a few arc seconds;
// where a deviation lies closer than this to its orb at a deciding step, the
// program may rightly decide one step earlier or later than the oracle.
constexpr double kToleranceArcsec = 10.0;

struct Event {
    int aspect;
    int orb;
    char kind;  // 'i' investment, 'r' redemption, 'c' cancellation
    int number;
    std::string date;
    // Recount only: the date of the neighbouring step that the decision
    // could also have fallen on (empty when the decision is clear), and the
    // gain and running total as the oracle counts them.
    std::string otherDate;
    double gain = 0.0;
    double total = 0.0;
};

struct Recount {
    std::vector<Event> events;
    std::map<std::pair<int, int>, std::vector<Event>> byRecord;  // (aspect, orb)
    int completed = 0;
    std::map<int, int> redemptionsByAspect;
    int closeCalls = 0;
};

Recount RecountFromOracle(const std::map<std::string, double>& values) {
    swe_set_ephe_path(const_cast<char*>(VLT_SWE_EPHE_DIR));
    Recount result;
    struct State {
        bool open = false;
        double purchase = 0.0;
        int count = 0;
        double total = 0.0;
    };
    std::map<std::pair<int, int>, State> states;
    const auto separation = [](double jd) {
        const double d = std::fabs(OracleLongitude(SE_MARS, jd) - OracleLongitude(SE_EARTH, jd));
        return d > 180.0 ? 360.0 - d : d;
    };
    const auto dayOf = [](int step) {
        return static_cast<std::int32_t>(std::floor(kFirstDay - 0.25 + step / 8.0 + 0.5));
    };
    const int lastStep = (kLastDay - kFirstDay) * 8 + 4;
    double sepPrev = separation(kFirstDay - 0.375);
    double sepNow = separation(kFirstDay - 0.25);
    for (int step = 0; step <= lastStep; ++step) {
        const double t = kFirstDay - 0.25 + step / 8.0;
        const double sepNext = separation(t + 0.125);
        const std::int32_t day = dayOf(step);
        const double value = IndexValue(values, day);
        const std::string date = DateOfDay(day);
        for (int a = 1; a <= 7; ++a) {
            const double devPrev = std::fabs(sepPrev - kAspectDegrees[a]);
            const double devNow = std::fabs(sepNow - kAspectDegrees[a]);
            const double devNext = std::fabs(sepNext - kAspectDegrees[a]);
            for (int orb : kOrbs) {
                State& s = states[{a, orb}];
                const bool inPrev = devPrev < orb;
                const bool inNow = devNow < orb;
                const bool applying = devNow <= orb && devNext < devNow;
                const bool separating = devNow <= orb && devNext > devNow;
                // A crossing seen at this step could be seen a step later
                // when row 0 lies within the tolerance of the orb, or a step
                // earlier when row -1 does.
                std::string otherDate;
                if (inPrev != inNow) {
                    if (std::fabs(devNow - orb) * 3600.0 < kToleranceArcsec && step < lastStep) {
                        otherDate = DateOfDay(dayOf(step + 1));
                    } else if (std::fabs(devPrev - orb) * 3600.0 < kToleranceArcsec && step > 0) {
                        otherDate = DateOfDay(dayOf(step - 1));
                    }
                    if (!otherDate.empty()) ++result.closeCalls;
                }
                if (!s.open) {
                    if ((!inPrev && inNow) || (step == 0 && applying)) {
                        s.open = true;
                        s.purchase = value;
                        ++s.count;
                        result.events.push_back({a, orb, 'i', s.count, date, otherDate});
                    }
                    continue;
                }
                bool redeem = inPrev && !inNow;
                if (!redeem && step == lastStep) {
                    if (separating) {
                        redeem = true;
                    } else {
                        s.open = false;
                        --s.count;
                        result.events.push_back({a, orb, 'c', s.count + 1, date, ""});
                        continue;
                    }
                }
                if (!redeem) continue;
                const double gain = (value - s.purchase) / s.purchase * 100.0;
                s.total += gain;
                s.open = false;
                ++result.completed;
                ++result.redemptionsByAspect[a];
                result.events.push_back({a, orb, 'r', s.count, date, otherDate, gain, s.total});
            }
        }
        sepPrev = sepNow;
        sepNow = sepNext;
    }
    for (const auto& e : result.events) result.byRecord[{e.aspect, e.orb}].push_back(e);
    return result;
}

// ---- Reading the run's output ------------------------------------------------

double Amount(const std::string& text) { return std::atof(text.c_str()); }

int AspectNumber(const std::string& name) {
    for (int a = 1; a <= 7; ++a) {
        if (name == kAspectNames[a]) return a;
    }
    return 0;
}

std::vector<Event> DetailEvents(const std::vector<std::string>& lines) {
    const std::regex investment(R"(^(\w+) +(\d+)°, investment #(\d+) on (\S+) of \$100$)");
    const std::regex redemption(
        R"(^(\w+) +(\d+)°, redemption #(\d+) on (\S+), (gained|lost) \$([\d.]+), total (gain|loss) is \$([\d.]+)$)");
    const std::regex cancellation(R"(^(\w+) +(\d+)°, investment #(\d+) cancelled\.$)");
    std::vector<Event> events;
    std::smatch m;
    for (const auto& line : lines) {
        if (std::regex_match(line, m, investment)) {
            events.push_back({AspectNumber(m[1]), std::stoi(m[2]), 'i', std::stoi(m[3]), m[4], ""});
        } else if (std::regex_match(line, m, redemption)) {
            const double gain = (m[5] == "lost" ? -1 : 1) * Amount(m[6]);
            const double total = (m[7] == "loss" ? -1 : 1) * Amount(m[8]);
            events.push_back(
                {AspectNumber(m[1]), std::stoi(m[2]), 'r', std::stoi(m[3]), m[4], "", gain, total});
        } else if (std::regex_match(line, m, cancellation)) {
            events.push_back({AspectNumber(m[1]), std::stoi(m[2]), 'c', std::stoi(m[3]), "", ""});
        }
    }
    return events;
}

// ---- Tests -------------------------------------------------------------------

TEST(SimulationOracle, FullRunMatchesTheExpectedText) {
    ASSERT_TRUE(IndexFilePresent()) << "index file not found: " << kIndexFile;
    const RunResult& run = FullRun();
    ASSERT_EQ(run.outcome, SimulationOutcome::Completed);
    // The box holds CR LF line ends; the expected text is kept with LF.
    std::string text = run.text;
    std::string lf;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\r') {
            ASSERT_TRUE(k + 1 < text.size() && text[k + 1] == '\n') << "bare CR at " << k;
            continue;
        }
        if (text[k] == '\n') {
            ASSERT_TRUE(k > 0 && text[k - 1] == '\r') << "bare LF at " << k;
        }
        lf += text[k];
    }
    if (std::getenv("VLT_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(kGoldenFile, std::ios::binary) << lf;
        GTEST_SKIP() << "expected text rewritten: " << kGoldenFile;
    }
    std::ifstream in(kGoldenFile, std::ios::binary);
    ASSERT_TRUE(in.good()) << "missing " << kGoldenFile;
    std::stringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(lf, golden.str());
}

TEST(SimulationOracle, FullRunAgreesWithARecountFromTheSwissEphemeris) {
    ASSERT_TRUE(IndexFilePresent()) << "index file not found: " << kIndexFile;
    const RunResult& run = FullRun();
    ASSERT_EQ(run.outcome, SimulationOutcome::Completed);
    const auto values = ReadIndexFile();
    const Recount recount = RecountFromOracle(values);

    const auto lines = testing::Lines(run.text);
    const auto events = DetailEvents(lines);
    ASSERT_EQ(events.size(), recount.events.size());
    std::map<std::pair<int, int>, std::vector<Event>> printed;
    for (const auto& e : events) printed[{e.aspect, e.orb}].push_back(e);
    ASSERT_EQ(printed.size(), recount.byRecord.size());

    // Per record: the same investments, redemptions and cancellations on the
    // oracle's dates (or, for a decision within the tolerance, the
    // neighbouring step's date); gains recomputed here from the printed
    // dates and the index file.
    std::map<std::pair<int, int>, double> totals;  // from the printed dates
    std::map<int, double> byAspect;
    int shifted = 0;
    for (const auto& [key, want] : recount.byRecord) {
        const auto& got = printed[key];
        SCOPED_TRACE(std::string(kAspectNames[key.first]) + " " + std::to_string(key.second));
        ASSERT_EQ(got.size(), want.size());
        double purchase = 0.0;
        double total = 0.0;
        for (std::size_t k = 0; k < want.size(); ++k) {
            SCOPED_TRACE("event " + std::to_string(k) + " " + want[k].kind + " " + want[k].date);
            EXPECT_EQ(got[k].kind, want[k].kind);
            EXPECT_EQ(got[k].number, want[k].number);
            if (want[k].kind == 'c') continue;
            if (got[k].date != want[k].date) {
                EXPECT_EQ(got[k].date, want[k].otherDate) << "not the oracle's date";
                ++shifted;
            }
            // A printed date is the step's calendar day; its value may come
            // from a later trading day.
            double value = 0.0;
            for (int d = 0; d < 5 && value <= 0.0; ++d) {
                const auto v = values.find(DateOfDay(DayOfDate(got[k].date) + d));
                if (v != values.end()) value = v->second;
            }
            if (want[k].kind == 'i') {
                purchase = value;
                continue;
            }
            const double gain = (value - purchase) * 100.0 / purchase;
            total += gain;
            EXPECT_NEAR(got[k].gain, gain, 0.005 + 1e-9);
            // The record keeps its total to the cent after every redemption.
            EXPECT_NEAR(got[k].total, total, 0.005 * got[k].number + 1e-9);
            byAspect[key.first] += gain;
        }
        totals[key] = total;
    }
    EXPECT_LE(shifted, recount.closeCalls);

    // Summary: one line per record, best first, each with its total.
    const std::regex summary(
        R"(^Ea (\w{3}) Ma, *(\d+)°, (no investments|ends with \$(-?[\d.]+))$)");
    const char* abbreviations[] = {"", "con", "opp", "sqr", "tri", "sxt", "ssx", "qui"};
    std::vector<double> order;
    std::map<std::pair<int, int>, int> seen;
    std::smatch m;
    for (const auto& line : lines) {
        if (!std::regex_match(line, m, summary)) continue;
        int a = 0;
        for (int k = 1; k <= 7; ++k) {
            if (m[1] == abbreviations[k]) a = k;
        }
        const int orb = std::stoi(m[2]);
        ASSERT_NE(a, 0) << line;
        ++seen[{a, orb}];
        const auto found = recount.byRecord.find({a, orb});
        ASSERT_NE(found, recount.byRecord.end()) << line;
        const auto& want = found->second;
        const int count = want.empty() ? 0 : want.back().number;
        SCOPED_TRACE(line);
        if (count < 1) {
            EXPECT_EQ(m[3], "no investments");
            order.push_back(0.0);
        } else {
            ASSERT_TRUE(m[4].matched);
            const double total = Amount(m[4]);
            const double expected = totals[{a, orb}];
            EXPECT_NEAR(total, expected, 0.005 * count + 1e-9);
            order.push_back(total);
        }
    }
    EXPECT_EQ(seen.size(), 21u);
    for (const auto& [key, n] : seen) {
        EXPECT_EQ(n, 1) << key.first << " " << key.second;
    }
    EXPECT_TRUE(std::is_sorted(order.rbegin(), order.rend())) << "summary not best first";

    const std::string total = "Total number of investments = " + std::to_string(recount.completed);
    EXPECT_NE(std::find(lines.begin(), lines.end(), total), lines.end()) << total;

    const std::regex aspectLine(R"(^(\w+) +(\d+)  \$(-?[\d.]+)$)");
    int aspectLines = 0;
    for (const auto& line : lines) {
        if (!std::regex_match(line, m, aspectLine)) continue;
        const int a = AspectNumber(m[1]);
        ASSERT_NE(a, 0) << line;
        ++aspectLines;
        EXPECT_EQ(std::stoi(m[2]), recount.redemptionsByAspect.at(a)) << line;
        EXPECT_NEAR(Amount(m[3]), byAspect[a], 0.005 + 1e-9) << line;
    }
    EXPECT_EQ(aspectLines, static_cast<int>(recount.redemptionsByAspect.size()));
    std::printf(
        "recount: %d investments, %zu detail events, %d decisions within %.0f\" of "
        "an orb, %d of them on the neighbouring step's date\n",
        recount.completed, recount.events.size(), recount.closeCalls, kToleranceArcsec, shifted);
}

}  // namespace
}  // namespace vlt
