#include "app/simulation/research.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <mutex>
#include <numeric>
#include <set>
#include <thread>
#include <utility>

#include "app/positions/request_rules.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/position_window.h"
#include "app/simulation/simulation_record.h"
#include "app/simulation/simulation_service.h"
#include "app/support/escaped_text.h"
#include "app/support/service_host.h"

namespace vlt {

namespace {

constexpr int kFirstListFirst = 1;
constexpr int kSecondListFirst = 2;
constexpr int kLastPlanet = 9;
constexpr int kLowestOrb = 1;
constexpr int kHighestOrb = 15;
// The simulation refuses a period shorter than this many days.
constexpr std::int32_t kShortestPeriod = 31;

std::vector<int> ListOr(const std::vector<int>& list, int first) {
    if (!list.empty()) return list;
    std::vector<int> all(static_cast<std::size_t>(kLastPlanet - first + 1));
    std::iota(all.begin(), all.end(), first);
    return all;
}

std::vector<bool> CentresOf(ResearchCentres centres) {
    switch (centres) {
        case ResearchCentres::Helio: return {true};
        case ResearchCentres::Geo: return {false};
        case ResearchCentres::Both: return {true, false};
    }
    return {true};
}

// The period asked for, the series' own ends standing in for 0.
struct Period {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t Days() const { return end - start + 1; }
};

Period WholePeriod(const ResearchRequest& request) {
    return {request.startDay != 0 ? request.startDay : request.prices.FirstDay(),
            request.endDay != 0 ? request.endDay : request.prices.LastDay()};
}

// The judged part and the hold-out after it (empty without a hold-out).
std::pair<Period, Period> SplitPeriod(const ResearchRequest& request) {
    const Period whole = WholePeriod(request);
    if (request.holdoutPercent <= 0) return {whole, Period{0, -1}};
    const std::int64_t held =
        static_cast<std::int64_t>(whole.Days()) * request.holdoutPercent / 100;
    const std::int32_t split = whole.end - static_cast<std::int32_t>(held) + 1;
    return {Period{whole.start, split - 1}, Period{split, whole.end}};
}

int PricesWithin(const PriceSeries& series, const Period& period) {
    int count = 0;
    for (std::size_t i = 0; i < series.days.size(); ++i) {
        if (series.days[i] >= period.start && series.days[i] <= period.end &&
            series.values[i] > 0.0) {
            ++count;
        }
    }
    return count;
}

std::optional<std::string> PeriodProblem(const ResearchRequest& request) {
    const Period whole = WholePeriod(request);
    if (whole.start < request.prices.FirstDay() || whole.end > request.prices.LastDay()) {
        return "the period is not within the price file \"" +
               EscapedForOneLine(request.prices.name) + "\"";
    }
    const auto [judged, held] = SplitPeriod(request);
    const auto fewPrices = [&](const Period& p, const char* part) -> std::optional<std::string> {
        const int count = PricesWithin(request.prices, p);
        if (count >= kStatisticsMinPrices && p.Days() >= kShortestPeriod) return std::nullopt;
        return "price file \"" + EscapedForOneLine(request.prices.name) + "\" holds " +
               std::to_string(count) + " prices in " + part + "; research needs at least " +
               std::to_string(kStatisticsMinPrices) + " over at least " +
               std::to_string(kShortestPeriod) + " days";
    };
    if (auto problem =
            fewPrices(judged, request.holdoutPercent > 0 ? "the part judged" : "the period")) {
        return problem;
    }
    if (request.holdoutPercent > 0) return fewPrices(held, "the hold-out");
    return std::nullopt;
}

}  // namespace

std::vector<std::array<int, 2>> ResearchPairs(const ResearchRequest& request) {
    std::vector<std::array<int, 2>> pairs;
    std::set<std::pair<int, int>> made;
    for (int first : ListOr(request.firstPlanets, kFirstListFirst)) {
        for (int second : ListOr(request.secondPlanets, kSecondListFirst)) {
            if (first == second) continue;
            if (!made.insert({std::min(first, second), std::max(first, second)}).second) continue;
            pairs.push_back({first, second});
        }
    }
    return pairs;
}

std::optional<std::string> ResearchRequestProblem(const ResearchRequest& request) {
    if (request.trials < 1) return "the number of trials must be at least 1";
    if (request.jobs < 1) return "the number of jobs must be at least 1";
    if (request.minTrades < 1) return "the minimum number of trades must be at least 1";
    if (request.holdoutPercent < 0 || request.holdoutPercent > kResearchMaxHoldoutPercent) {
        return "the hold-out must be 0 to " + std::to_string(kResearchMaxHoldoutPercent) +
               " % of the period";
    }
    for (int p : request.firstPlanets) {
        if (p < kFirstListFirst || p > kLastPlanet) return "a first planet is not in the list";
    }
    for (int p : request.secondPlanets) {
        if (p < kSecondListFirst || p > kLastPlanet) return "a second planet is not in the list";
    }
    if (ResearchPairs(request).empty()) return "the planet lists make no pair";
    if (std::none_of(request.aspects.begin(), request.aspects.end(), [](bool b) { return b; })) {
        return "no aspect is chosen";
    }
    const auto& o = request.orbs;
    if (o[2] < kLowestOrb || o[0] > kHighestOrb || !OrbsStrictlyDecreasing(o[0], o[1], o[2])) {
        return "the orbs must be whole degrees 1 to 15, outer > middle > inner";
    }
    return PeriodProblem(request);
}

namespace {

// The longitudes of the nine planets at every step of the simulations of a
// period, computed once per centre and read by every pair's simulation: the
// positions are nearly all of a simulation's time, and every pair asks for
// the same ones.  A time off the grid (none in a run within the period) goes
// to the ephemeris.
class TabulatedPositions final : public HelioPositionSource {
public:
    TabulatedPositions(bool heliocentric, const Period& period)
        : heliocentric_(heliocentric),
          live_(heliocentric),
          // A run steps from start - 0.25 to end + 0.25 and looks one step
          // either side.
          firstJd_(period.start - 0.25 - kSimulationStep),
          count_(static_cast<std::size_t>(period.Days() - 1) * 8 + 4 + 3),
          table_(count_ * static_cast<std::size_t>(kWindowPlanets)) {}

    std::size_t Count() const { return count_; }
    bool Heliocentric() const { return heliocentric_; }

    // Fills the steps first .. last - 1 of every planet.
    void Fill(std::size_t first, std::size_t last) {
        CentredEphemerisPositions source(heliocentric_);
        for (std::int16_t planet = 1; planet <= kWindowPlanets; ++planet) {
            double* row = &table_[static_cast<std::size_t>(planet - 1) * count_];
            for (std::size_t i = first; i < last; ++i) {
                row[i] = source.HelioLongitude(planet, JdOf(i));
            }
        }
    }

    double HelioLongitude(std::int16_t planet, double jd) override {
        const double steps = (jd - firstJd_) / kSimulationStep;
        if (planet >= 1 && planet <= kWindowPlanets && steps >= 0.0 &&
            steps < static_cast<double>(count_)) {
            const auto i = static_cast<std::size_t>(std::llround(steps));
            if (i < count_ && JdOf(i) == jd) {
                return table_[static_cast<std::size_t>(planet - 1) * count_ + i];
            }
        }
        return live_.HelioLongitude(planet, jd);
    }

private:
    double JdOf(std::size_t i) const { return firstJd_ + static_cast<double>(i) * kSimulationStep; }

    bool heliocentric_;
    CentredEphemerisPositions live_;
    double firstJd_;
    std::size_t count_;
    std::vector<double> table_;
};

// Runs work(0) .. work(count - 1) on `jobs` threads, each item once; stops
// handing out items when `stopped` says so.  `done` hears every finished
// item, one call at a time.
void Spread(int jobs, std::size_t count, const std::function<void(std::size_t)>& work,
            const std::function<bool()>& stopped, const std::function<void(std::size_t)>& done) {
    std::atomic<std::size_t> next{0};
    std::mutex doneMutex;
    std::size_t finished = 0;
    const auto worker = [&] {
        while (!stopped()) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count) return;
            work(i);
            const std::lock_guard<std::mutex> lock(doneMutex);
            done(++finished);
        }
    };
    const int threads = std::max(1, std::min<int>(jobs, static_cast<int>(count)));
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
}

// What a simulation tells the research: its messages (a missing price, a
// failing data file) kept as one line each; its report text is not wanted
// beyond the summary the simulation keeps.
class QuietObserver final : public RunObserver, private OutputBox, private MessageBoxes {
public:
    OutputBox& Output() override { return *this; }
    MessageBoxes& Messages() override { return *this; }
    const std::string& FirstMessage() const { return first_; }

private:
    const std::string& Text() const override { return text_; }
    void Append(const std::string& text) override { text_ += text; }
    void Clear() override { text_.clear(); }
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    MsgResult Show(const std::string& text, const std::string& /*title*/, MsgButtons buttons,
                   MsgIcon /*icon*/) override {
        if (first_.empty()) first_ = EscapedForOneLine(text);
        // "Stop?" is answered Yes: a stopped research stops its scans.
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Yes;
    }

    std::string text_;
    std::string first_;
};

// One simulation: a pair from one centre over one period.
struct Scan {
    bool heliocentric = true;
    std::array<int, 2> pair{};
    std::vector<FamilyCombination> combinations;  // its aspects and orbs
    std::string error;                            // when it failed
};

SimulationRequest ScanRequest(const ResearchRequest& request, const Scan& scan,
                              const Period& period) {
    SimulationRequest r;
    r.firstPlanetIndex = FirstListIndexOfPlanet(scan.pair[0]);
    r.secondPlanetIndex = SecondListIndexOfPlanet(scan.pair[1]);
    r.aspectChecked = request.aspects;
    for (std::size_t k = 0; k < 3; ++k) r.orbIndex[k] = OrbListIndexOfDegrees(request.orbs[k]);
    r.startDay = period.start;
    r.endDay = period.end;
    r.heliocentric = scan.heliocentric;
    return r;
}

void RunScan(const ResearchRequest& request, Scan& scan, TabulatedPositions& positions,
             const Period& period, const std::stop_token& stop) {
    PriceSeriesLookup prices(request.prices);
    const SeparatorAmountFormatter amounts;
    SimulationService service(positions, prices, amounts);
    QuietObserver observer;
    const SimulationRunResult run = service.Run(ScanRequest(request, scan, period), observer, stop);
    if (run.outcome != SimulationOutcome::Completed) {
        if (!stop.stop_requested()) {
            scan.error = observer.FirstMessage().empty() ? "a simulation did not complete"
                                                         : observer.FirstMessage();
        }
        return;
    }
    scan.combinations = SimulationFamilyRequest(service.Simulation(), prices).combinations;
}

// How far the whole run is: each stage has its share of the bar.
class ProgressShares {
public:
    ProgressShares(ResearchObserver& observer, bool holdout)
        : observer_(observer), holdout_(holdout) {}

    void Begin(ResearchStage stage) {
        base_ += share_;
        stage_ = stage;
        // The positions are most of the time; the trials grow with the family.
        switch (stage) {
            case ResearchStage::Positions: share_ = holdout_ ? 0.5 : 0.55; break;
            case ResearchStage::Scans: share_ = 0.2; break;
            case ResearchStage::Trials: share_ = holdout_ ? 0.2 : 0.25; break;
            case ResearchStage::Holdout: share_ = 0.1; break;
        }
    }
    void Show(std::size_t done, std::size_t total) {
        const double part = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1;
        observer_.Progress(ResearchProgress{stage_, static_cast<int>(done), static_cast<int>(total),
                                            std::min(1.0, base_ + share_ * part)});
    }

private:
    ResearchObserver& observer_;
    bool holdout_;
    ResearchStage stage_ = ResearchStage::Positions;
    double base_ = 0.0;
    double share_ = 0.0;
};

// The shared state of one run.
struct ResearchRun {
    const ResearchRequest& request;
    const std::stop_token& stop;
    ProgressShares& progress;
    std::vector<std::unique_ptr<TabulatedPositions>> tables;  // per centre

    TabulatedPositions& Table(bool heliocentric) {
        for (auto& t : tables) {
            if (t->Heliocentric() == heliocentric) return *t;
        }
        return *tables.front();
    }
    bool Stopped() const { return stop.stop_requested(); }
};

constexpr std::size_t kStepsPerPiece = 4096;

void FillTables(ResearchRun& run, const Period& whole) {
    for (bool helio : CentresOf(run.request.centres)) {
        run.tables.push_back(std::make_unique<TabulatedPositions>(helio, whole));
    }
    std::vector<std::pair<TabulatedPositions*, std::size_t>> pieces;
    for (auto& table : run.tables) {
        for (std::size_t first = 0; first < table->Count(); first += kStepsPerPiece) {
            pieces.emplace_back(table.get(), first);
        }
    }
    run.progress.Begin(ResearchStage::Positions);
    Spread(
        run.request.jobs, pieces.size(),
        [&](std::size_t i) {
            auto [table, first] = pieces[i];
            table->Fill(first, std::min(table->Count(), first + kStepsPerPiece));
        },
        [&] { return run.Stopped(); },
        [&](std::size_t done) { run.progress.Show(done, pieces.size()); });
}

// Runs the scans over `period`; the first failure's message, or "".
std::string RunScans(ResearchRun& run, std::vector<Scan>& scans, const Period& period) {
    Spread(
        run.request.jobs, scans.size(),
        [&](std::size_t i) {
            RunScan(run.request, scans[i], run.Table(scans[i].heliocentric), period, run.stop);
        },
        [&] { return run.Stopped(); },
        [&](std::size_t done) { run.progress.Show(done, scans.size()); });
    for (const Scan& scan : scans) {
        if (!scan.error.empty()) return scan.error;
    }
    return {};
}

FamilyRequest FamilyOf(ResearchRun& run, std::vector<FamilyCombination> combinations,
                       const Period& period) {
    PriceSeriesLookup prices(run.request.prices);
    FamilyRequest family;
    family.combinations = std::move(combinations);
    family.prices = DailyValuesFrom(prices, period.start, period.end);
    family.trials = run.request.trials;
    family.seed = run.request.seed;
    family.minTrades = run.request.minTrades;
    family.jobs = run.request.jobs;
    family.progress = [&run](int done, int total) {
        run.progress.Show(static_cast<std::size_t>(done), static_cast<std::size_t>(total));
        return !run.Stopped();
    };
    return family;
}

// Family members by p_adjusted, p, mean gain, then as tried; the rest after.
std::vector<ResearchRow> Ranked(const FamilyResult& family) {
    std::vector<std::size_t> order(family.rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const FamilyRow& x = family.rows[a];
        const FamilyRow& y = family.rows[b];
        if (x.inFamily != y.inFamily) return x.inFamily;
        if (!x.inFamily) return false;
        if (x.pAdjusted != y.pAdjusted) return x.pAdjusted < y.pAdjusted;
        if (x.p != y.p) return x.p < y.p;
        return x.meanGain > y.meanGain;
    });
    std::vector<ResearchRow> rows;
    for (std::size_t k : order) rows.push_back(ResearchRow{family.rows[k], std::nullopt});
    return rows;
}

bool SameCombination(const FamilyRow& row, const FamilyCombination& c) {
    return row.first == c.first && row.second == c.second && row.helio == c.helio &&
           row.aspect == c.aspect && row.orbDegrees == c.orbDegrees;
}

// The top ten valued again on the hold-out, as a family of their own.
std::string JudgeHoldout(ResearchRun& run, ResearchResult& result, const Period& held) {
    std::size_t top = 0;
    while (top < result.rows.size() && top < kResearchHoldoutTop && result.rows[top].row.inFamily) {
        ++top;
    }
    std::vector<Scan> scans;
    for (std::size_t k = 0; k < top; ++k) {
        const FamilyRow& row = result.rows[k].row;
        const std::array<int, 2> pair{row.first, row.second};
        const bool made = std::any_of(scans.begin(), scans.end(), [&](const Scan& s) {
            return s.heliocentric == row.helio && s.pair == pair;
        });
        if (!made) scans.push_back(Scan{row.helio, pair, {}, {}});
    }
    run.progress.Begin(ResearchStage::Holdout);
    if (std::string error = RunScans(run, scans, held); !error.empty()) return error;
    if (run.Stopped()) return {};
    std::vector<FamilyCombination> combinations;
    for (std::size_t k = 0; k < top; ++k) {
        const FamilyRow& row = result.rows[k].row;
        // A combination every scan makes; without trades if one did not.
        FamilyCombination found{row.first, row.second, row.helio, row.aspect, row.orbDegrees, {}};
        for (const Scan& scan : scans) {
            for (const FamilyCombination& c : scan.combinations) {
                if (SameCombination(row, c)) found = c;
            }
        }
        combinations.push_back(std::move(found));
    }
    const FamilyResult family = ComputeFamilyStatistics(FamilyOf(run, combinations, held));
    if (family.cancelled) return {};
    result.holdoutFamilySize = family.familySize;
    for (std::size_t k = 0; k < top && k < family.rows.size(); ++k) {
        const FamilyRow& r = family.rows[k];
        result.rows[k].holdout =
            ResearchHoldout{r.trades, r.meanGain, r.inFamily, r.p, r.pAdjusted, r.q};
    }
    return {};
}

std::vector<Scan> ScansOf(const ResearchRequest& request) {
    std::vector<Scan> scans;
    for (bool helio : CentresOf(request.centres)) {
        for (const auto& pair : ResearchPairs(request)) scans.push_back(Scan{helio, pair, {}, {}});
    }
    return scans;
}

void Fail(ResearchResult& result, ResearchStatus status, std::string error) {
    result.status = status;
    result.error = std::move(error);
    result.rows.clear();
}

// Judges the family on `judged`; false when the run stopped or failed.
bool JudgeFamily(ResearchRun& run, ResearchResult& result, const Period& judged) {
    std::vector<Scan> scans = ScansOf(run.request);
    run.progress.Begin(ResearchStage::Scans);
    if (std::string error = RunScans(run, scans, judged); !error.empty()) {
        Fail(result, ResearchStatus::DataFailed, error);
        return false;
    }
    if (run.Stopped()) return false;
    std::vector<FamilyCombination> combinations;
    for (Scan& scan : scans) {
        for (FamilyCombination& c : scan.combinations) combinations.push_back(std::move(c));
    }
    run.progress.Begin(ResearchStage::Trials);
    const FamilyResult family = ComputeFamilyStatistics(FamilyOf(run, combinations, judged));
    if (family.cancelled) return false;
    result.familySize = family.familySize;
    result.method = FamilyMethodLine(family);
    result.combinations = static_cast<int>(family.rows.size());
    result.haveBuyAndHold = family.haveBuyAndHold;
    result.buyAndHold = family.buyAndHold;
    result.rows = Ranked(family);
    return true;
}

}  // namespace

ResearchResult RunResearch(const ResearchRequest& request, ResearchObserver& observer,
                           std::stop_token stop) {
    ResearchResult result;
    result.trials = request.trials;
    result.seed = request.seed;
    result.minTrades = request.minTrades;
    if (auto problem = ResearchRequestProblem(request)) {
        Fail(result, ResearchStatus::InvalidInput, *problem);
        return result;
    }
    const auto [judged, held] = SplitPeriod(request);
    result.startDay = judged.start;
    result.endDay = judged.end;
    ProgressShares progress(observer, request.holdoutPercent > 0);
    ResearchRun run{request, stop, progress, {}};
    FillTables(run, WholePeriod(request));
    result.status = ResearchStatus::Stopped;
    if (run.Stopped() || !JudgeFamily(run, result, judged)) {
        if (result.status == ResearchStatus::Stopped) result.rows.clear();
        return result;
    }
    if (request.holdoutPercent > 0) {
        result.haveHoldout = true;
        result.holdoutStartDay = held.start;
        result.holdoutEndDay = held.end;
        if (std::string error = JudgeHoldout(run, result, held); !error.empty()) {
            Fail(result, ResearchStatus::DataFailed, error);
            return result;
        }
        if (run.Stopped()) {
            result.rows.clear();
            return result;
        }
    }
    result.status = ResearchStatus::Completed;
    return result;
}

}  // namespace vlt
