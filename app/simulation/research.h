#pragma once
// Research across pairs: every planet pair of two lists, from the Sun, the
// Earth or both, every chosen aspect and orb, simulated on one price series
// and judged as ONE family (family_statistics.h), so that the winner of a
// thousand tries is measured against the best of a thousand tries of chance.
//
// With a hold-out share the family is judged on the earlier part of the
// period only; its ten best are then valued again, as a family of their own,
// on the later part they never saw.  A winner that chance made rarely
// survives that.
//
// A window-less service: a typed request, an observer that hears how far the
// run is, and a stop token in; a typed result out.  The work (the planets'
// positions once per centre, one simulation per pair and centre, the random
// trials) is spread over `jobs` threads; every piece is written to its own
// slot and the trials' draws come from the seed alone, so the result is the
// same for any job count.
//
// Before a run the positions must be set up and the Pluto tables read, as the
// program's start-up does (InitPositions, ReadPlutoData).

#include <array>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/simulation/family_statistics.h"
#include "app/simulation/price_series.h"

namespace vlt {

enum class ResearchCentres { Helio, Geo, Both };

// The largest share of the period a hold-out may take: the family needs the
// greater part to be judged on.
inline constexpr int kResearchMaxHoldoutPercent = 50;
// How many of the family's best are valued again on the hold-out.
inline constexpr std::size_t kResearchHoldoutTop = 10;

struct ResearchRequest {
    PriceSeries prices;
    // The period as Julian day numbers; 0 takes the series' first (last) day.
    std::int32_t startDay = 0;
    std::int32_t endDay = 0;
    ResearchCentres centres = ResearchCentres::Helio;
    // Program planet numbers.  Every first with every second makes a pair,
    // except a planet with itself and a pair already made the other way
    // round (its transits are the same).  Empty takes the whole list: first
    // 1..9 (1 is the Earth heliocentrically, the Sun geocentrically),
    // second 2..9.
    std::vector<int> firstPlanets;
    std::vector<int> secondPlanets;
    // Aspect numbers 1..7 (box b for aspect b + 1); the three orbs in whole
    // degrees, outer > middle > inner, 1..15.
    std::array<bool, 7> aspects{true, true, true, true, true, true, true};
    std::array<int, 3> orbs{10, 5, 2};
    int trials = 1000;
    std::uint64_t seed = 1;
    // Percent of the period held out at its end, 0 for none.
    int holdoutPercent = 0;
    int jobs = 1;
    int minTrades = kDefaultMinTrades;
};

// What a run is doing, for a progress line.
enum class ResearchStage { Positions, Scans, Trials, Holdout };

struct ResearchProgress {
    ResearchStage stage = ResearchStage::Positions;
    int done = 0;  // of the stage
    int total = 0;
    double fraction = 0.0;  // of the whole run, 0..1
};

class ResearchObserver {
public:
    virtual ~ResearchObserver() = default;
    // Called from one thread at a time, from any of the run's threads.
    virtual void Progress(const ResearchProgress& /*progress*/) {}
};

// One combination of the family on the hold-out part.
struct ResearchHoldout {
    int trades = 0;
    double meanGain = 0.0;  // percent per trade
    bool inFamily = false;  // enough trades on the hold-out to be judged
    double p = 1.0;
    double pAdjusted = 1.0;
    double q = 1.0;
};

struct ResearchRow {
    FamilyRow row;                           // the pair, counts, comparisons and p, p_adjusted, q
    std::optional<ResearchHoldout> holdout;  // the hold-out's top ten only
};

enum class ResearchStatus {
    Completed,
    Stopped,       // the stop token was triggered; no rows
    InvalidInput,  // the request cannot be run (ResearchRequestProblem)
    DataFailed,    // a price missing, a data file failing; `error` says which
};

struct ResearchResult {
    ResearchStatus status = ResearchStatus::InvalidInput;
    std::string error;  // one line when not Completed (nothing when Stopped)
    int familySize = 0;
    std::string method;         // the family line: size, null, adjustments
    int combinations = 0;       // tried, the too-few-trades ones included
    std::int32_t startDay = 0;  // the period judged (without the hold-out)
    std::int32_t endDay = 0;
    int trials = 0;
    std::uint64_t seed = 0;
    int minTrades = 0;
    // The hold-out part, when there is one.
    bool haveHoldout = false;
    std::int32_t holdoutStartDay = 0;
    std::int32_t holdoutEndDay = 0;
    int holdoutFamilySize = 0;
    // The family members ranked: smallest p_adjusted first, then smallest p,
    // then largest mean gain, then the order tried; the combinations with
    // too few trades follow in the order tried.
    std::vector<ResearchRow> rows;
    // Buy and hold over the period judged.
    bool haveBuyAndHold = false;
    double buyAndHold = 0.0;  // percent
};

// The pairs a request makes, in the order they are tried: (first, second).
std::vector<std::array<int, 2>> ResearchPairs(const ResearchRequest& request);

// Why a request cannot be run, as one line, or nothing when it can.
std::optional<std::string> ResearchRequestProblem(const ResearchRequest& request);

ResearchResult RunResearch(const ResearchRequest& request, ResearchObserver& observer,
                           std::stop_token stop);

}  // namespace vlt
