// Research across pairs on markets whose answer is known: a market built to
// rise while the Earth and Mercury stand square (seen from the Sun) must put
// that pair first, beyond chance after the adjustment, and again on the
// hold-out it was not judged on; a random walk must give no combination a
// p_adjusted below 0.05; the result must not depend on the job count; the
// trades of a research row must be those a plain simulation of the pair
// makes with the ephemeris itself (the research reads its positions from a
// table filled once).

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stop_token>
#include <string>
#include <vector>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/simulation/research.h"
#include "app/simulation/simulation_service.h"
#include "app/simulation/simulation_stats.h"
#include "tests/common/data_folder.h"

namespace vlt {
namespace {

constexpr int kEarth = 1;
constexpr int kMercury = 2;
constexpr int kMars = 4;
constexpr int kJupiter = 5;
constexpr int kSquare = 3;
const std::int32_t kStart = GregorianDayNumber(2001, 1, 1);
const std::int32_t kEnd = GregorianDayNumber(2006, 12, 31);

class NoMessages final : public MessageBoxes {
public:
    MsgResult Show(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        return MsgResult::Ok;
    }
};

class ResearchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = vlt::testing::DataFolderWithFiles();
        if (folder_.empty()) return;
        InitPositionsWithFolder(folder_);
        NoMessages none;
        ReadPlutoData(none);
    }
    void SetUp() override {
        if (folder_.empty()) GTEST_SKIP() << "the data files are not at hand";
    }
    static std::string folder_;
};
std::string ResearchTest::folder_;

// Whether the Earth and Mercury stand within `orb` degrees of a square at
// noon of `day`, from the Sun.
bool EarthMercurySquare(std::int32_t day, double orb) {
    const double jd = day + 0.0;
    const double a = HelioLongitude(kEarth, jd);
    const double b = HelioLongitude(kMercury, jd);
    double separation = std::fabs(a - b) * 180.0 / M_PI;
    if (separation > 180.0) separation = 360.0 - separation;
    return std::fabs(separation - 90.0) < orb;
}

// A daily geometric random walk (every calendar day a price), with `boost`
// added to the log return of the days the Earth and Mercury are square.
PriceSeries Market(std::uint64_t seed, double boost) {
    std::mt19937_64 generator(seed);
    std::normal_distribution<double> step(0.0, 0.01);
    PriceSeries series;
    series.name = "synthetic";
    double value = 100.0;
    for (std::int32_t d = kStart; d <= kEnd; ++d) {
        const double drift = boost > 0.0 && EarthMercurySquare(d, 10.0) ? boost : 0.0;
        if (d > kStart) value *= std::exp(drift + step(generator));
        series.days.push_back(d);
        series.values.push_back(value);
    }
    series.firstDay = kStart;
    series.lastDay = kEnd;
    return series;
}

ResearchRequest SmallRequest(PriceSeries prices) {
    ResearchRequest request;
    request.prices = std::move(prices);
    request.firstPlanets = {kEarth, kMars};
    request.secondPlanets = {kMercury, kMars, kJupiter};
    request.trials = 199;
    request.seed = 7;
    request.jobs = 2;
    return request;
}

ResearchResult Research(const ResearchRequest& request) {
    ResearchObserver observer;
    return RunResearch(request, observer, std::stop_token());
}

TEST_F(ResearchTest, PlantedPairWinsAndSurvivesTheHoldout) {
    ResearchRequest request = SmallRequest(Market(11, 0.004));
    request.holdoutPercent = 30;
    const ResearchResult result = Research(request);
    ASSERT_EQ(result.status, ResearchStatus::Completed) << result.error;
    // Earth with Mercury, Mars and Jupiter, Mars with Mercury and Jupiter
    // (Mars with Mars is no pair): 5 pairs, 7 aspects, 3 orbs.
    EXPECT_EQ(result.combinations, 5 * 7 * 3);
    ASSERT_FALSE(result.rows.empty());
    const FamilyRow& best = result.rows.front().row;
    EXPECT_EQ(best.first, kEarth);
    EXPECT_EQ(best.second, kMercury);
    EXPECT_EQ(best.aspect, kSquare);
    EXPECT_LT(best.pAdjusted, 0.01);
    ASSERT_TRUE(result.rows.front().holdout);
    EXPECT_GE(result.rows.front().holdout->trades, 5);
    EXPECT_TRUE(result.rows.front().holdout->inFamily);
    EXPECT_LT(result.rows.front().holdout->p, 0.05);
    // The hold-out is the last 30 % of the period, judged apart.
    EXPECT_EQ(result.holdoutEndDay, kEnd);
    EXPECT_EQ(result.endDay + 1, result.holdoutStartDay);
    EXPECT_NEAR(kEnd - result.holdoutStartDay + 1, 0.3 * (kEnd - kStart + 1), 1.0);
    // Only the top ten carry a hold-out.
    for (std::size_t k = 0; k < result.rows.size(); ++k) {
        EXPECT_EQ(result.rows[k].holdout.has_value(), k < kResearchHoldoutTop) << k;
    }
}

TEST_F(ResearchTest, NoiseHasNoDiscoveryAndTheJobCountChangesNothing) {
    ResearchRequest request = SmallRequest(Market(23, 0.0));
    request.holdoutPercent = 25;
    request.jobs = 1;
    const ResearchResult one = Research(request);
    request.jobs = 2;
    const ResearchResult two = Research(request);
    ASSERT_EQ(one.status, ResearchStatus::Completed) << one.error;
    ASSERT_EQ(two.status, ResearchStatus::Completed) << two.error;
    ASSERT_GT(one.familySize, 50);
    for (const ResearchRow& r : one.rows) {
        if (r.row.inFamily) {
            EXPECT_GE(r.row.pAdjusted, 0.05);
        }
    }
    ASSERT_EQ(one.rows.size(), two.rows.size());
    EXPECT_EQ(one.familySize, two.familySize);
    EXPECT_EQ(one.holdoutFamilySize, two.holdoutFamilySize);
    for (std::size_t k = 0; k < one.rows.size(); ++k) {
        const FamilyRow& a = one.rows[k].row;
        const FamilyRow& b = two.rows[k].row;
        EXPECT_EQ(std::tie(a.first, a.second, a.aspect, a.orbDegrees, a.trades),
                  std::tie(b.first, b.second, b.aspect, b.orbDegrees, b.trades));
        EXPECT_EQ(std::tie(a.p, a.pAdjusted, a.q, a.meanGain),
                  std::tie(b.p, b.pAdjusted, b.q, b.meanGain));
        ASSERT_EQ(one.rows[k].holdout.has_value(), two.rows[k].holdout.has_value());
        if (one.rows[k].holdout) {
            EXPECT_EQ(one.rows[k].holdout->p, two.rows[k].holdout->p);
            EXPECT_EQ(one.rows[k].holdout->trades, two.rows[k].holdout->trades);
        }
    }
}

// A quiet observer for the plain simulation.
class Quiet final : public RunObserver, private OutputBox, private MessageBoxes {
public:
    OutputBox& Output() override { return *this; }
    MessageBoxes& Messages() override { return *this; }

private:
    const std::string& Text() const override { return text_; }
    void Append(const std::string& t) override { text_ += t; }
    void Clear() override { text_.clear(); }
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    MsgResult Show(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        return MsgResult::Ok;
    }
    std::string text_;
};

TEST_F(ResearchTest, RowsHoldTheTradesOfAPlainSimulationFromEitherCentre) {
    ResearchRequest request = SmallRequest(Market(5, 0.0));
    request.firstPlanets = {kEarth};
    request.secondPlanets = {kMars};
    request.centres = ResearchCentres::Both;
    request.trials = 19;
    const ResearchResult result = Research(request);
    ASSERT_EQ(result.status, ResearchStatus::Completed) << result.error;
    ASSERT_EQ(result.combinations, 2 * 21);
    for (const bool helio : {true, false}) {
        CentredEphemerisPositions positions(helio);
        PriceSeriesLookup prices(request.prices);
        const SeparatorAmountFormatter amounts;
        SimulationService service(positions, prices, amounts);
        Quiet observer;
        SimulationRequest plain;
        plain.firstPlanetIndex = 0;   // the Earth (the Sun from the Earth)
        plain.secondPlanetIndex = 2;  // Mars
        plain.aspectChecked.fill(true);
        plain.orbIndex = {9, 4, 1};
        plain.startDay = kStart;
        plain.endDay = kEnd;
        plain.heliocentric = helio;
        ASSERT_EQ(service.Run(plain, observer, std::stop_token()).outcome,
                  SimulationOutcome::Completed);
        const std::vector<Trade> trades = CompletedTrades(service.Simulation().Events());
        for (const ResearchRow& r : result.rows) {
            if (r.row.helio != helio) continue;
            int count = 0;
            double sum = 0.0;
            for (const Trade& t : trades) {
                if (t.aspect != r.row.aspect || t.orbDegrees != r.row.orbDegrees) continue;
                ++count;
                sum += t.gain;
            }
            EXPECT_EQ(r.row.trades, count) << r.row.aspect << " " << r.row.orbDegrees;
            if (count > 0) {
                EXPECT_DOUBLE_EQ(r.row.meanGain, sum / count);
            }
        }
    }
}

struct BadCase {
    const char* name;
    void (*change)(ResearchRequest&);
    const char* says;
};

TEST_F(ResearchTest, RequestsThatCannotRunAreRefusedWithOneLine) {
    const BadCase cases[] = {
        {"no trials", [](ResearchRequest& r) { r.trials = 0; }, "trials"},
        {"no jobs", [](ResearchRequest& r) { r.jobs = 0; }, "jobs"},
        {"hold-out too large", [](ResearchRequest& r) { r.holdoutPercent = 95; }, "hold-out"},
        {"planet with itself", [](ResearchRequest& r) { r.firstPlanets = r.secondPlanets = {4}; },
         "no pair"},
        {"orbs not decreasing",
         [](ResearchRequest& r) {
             r.orbs = {5, 5, 2};
         },
         "orbs"},
        {"no aspect", [](ResearchRequest& r) { r.aspects.fill(false); }, "aspect"},
        {"29 prices",
         [](ResearchRequest& r) {
             r.prices.days.resize(29);
             r.prices.values.resize(29);
             r.prices.lastDay = r.prices.days.back();
         },
         "29 prices"},
        {"hold-out of too few prices",
         [](ResearchRequest& r) {
             r.endDay = r.prices.firstDay + 80;
             r.holdoutPercent = 30;
         },
         "the hold-out"},
        {"period outside the file", [](ResearchRequest& r) { r.endDay = kEnd + 1; }, "not within"},
    };
    for (const BadCase& c : cases) {
        ResearchRequest request = SmallRequest(Market(1, 0.0));
        c.change(request);
        const ResearchResult result = Research(request);
        EXPECT_EQ(result.status, ResearchStatus::InvalidInput) << c.name;
        EXPECT_NE(result.error.find(c.says), std::string::npos) << c.name << ": " << result.error;
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << c.name;
        EXPECT_TRUE(result.rows.empty()) << c.name;
    }
}

TEST_F(ResearchTest, AStopBeforeTheStartLeavesNoRows) {
    std::stop_source source;
    source.request_stop();
    ResearchObserver observer;
    const ResearchResult result =
        RunResearch(SmallRequest(Market(1, 0.0)), observer, source.get_token());
    EXPECT_EQ(result.status, ResearchStatus::Stopped);
    EXPECT_TRUE(result.rows.empty());
}

}  // namespace
}  // namespace vlt
