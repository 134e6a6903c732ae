#pragma once
// The investment simulation: $100 invested in the DJIA whenever a transit
// between the chosen planets enters an orb, redeemed when it leaves, for every
// checked aspect type and each of the three orbs, stepping every 3 hours
// through a period inside the index data.
//
// The window calls Click() for every click on its simulation button.  While a
// run is under way the run yields to the window once per step
// (RunHost::YieldToEvents); a click arriving then re-enters Click() of the
// same object, which only sets the pause request.  The run asks "Stop?" at
// its next step.  So the window keeps one InvestmentSimulation for its whole
// life, for example:
//
//     HelioEphemerisPositions positions;                 // heliocentric PlanetLongitude
//     IndexDataLookup index(indexData);             // filled by LoadIndexData
//     SeparatorAmountFormatter amounts = UserLocaleAmountFormatter();
//     SimulationTextSink text(host.Output(), amounts);   // simulation_text.h
//     InvestmentSimulation simulation(host, text, positions, index);
//     ...
//     simulation.Click(request);                    // on every click
//
// The run writes no text: it tells its listener what happens (the start, each
// investment, redemption and cancellation, the end), and the listener (the
// text sink, for the output box) formats it as it comes.
//
// The aspect tables (InitPositions) must be filled before the first run.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/simulation/index_data.h"
#include "app/simulation/position_window.h"
#include "app/simulation/price_series.h"
#include "app/simulation/simulation_request.h"
#include "app/simulation/simulation_result.h"
#include "app/support/run_host.h"

namespace vlt {

// Where the simulation gets the index value of a calendar day.
class IndexLookup {
public:
    virtual ~IndexLookup() = default;
    // The value for the day (or the next trading day within four days);
    // false when there is none.
    virtual bool ValueForDay(std::int32_t dayJdn, double& value) = 0;
    // The days the data covers; a simulation's dates must lie within them.
    virtual std::int32_t FirstDay() const { return kIndexFirstDay; }
    virtual std::int32_t LastDay() const { return kIndexLastDay; }
    // What the message about a day without a value calls the data.
    virtual std::string SourceName() const { return "DJIA"; }
};

// The index data loaded at start-up (`IndexValueForDay`).
class IndexDataLookup : public IndexLookup {
public:
    explicit IndexDataLookup(const IndexData& data) : data_(data) {}
    bool ValueForDay(std::int32_t dayJdn, double& value) override;

private:
    const IndexData& data_;
};

// A price series the user chose, by the same rule (that day, else the next
// four), covering its own first to last date.
class PriceSeriesLookup : public IndexLookup {
public:
    explicit PriceSeriesLookup(const PriceSeries& series) : series_(series) {}
    bool ValueForDay(std::int32_t dayJdn, double& value) override {
        return PriceValueForDay(series_, dayJdn, value);
    }
    std::int32_t FirstDay() const override { return series_.FirstDay(); }
    std::int32_t LastDay() const override { return series_.LastDay(); }
    std::string SourceName() const override { return series_.name; }

private:
    const PriceSeries& series_;
};

// One investment, redemption or cancellation of a run, as the detail lines
// report it, kept whether or not the details are shown.
struct SimulationEvent {
    enum class Kind { Investment, Redemption, Cancellation };
    Kind kind = Kind::Investment;
    Aspect aspect = Aspect::Conjunction;
    int orbDegrees = 0;
    int number = 0;                // the investment's number within its record
    std::int32_t day = 0;          // calendar day of the step (cancellation: last day)
    double value = 0.0;            // index value of the day (redemption: the sale)
    std::int32_t purchaseDay = 0;  // redemption and cancellation: when bought
    double purchaseValue = 0.0;    // redemption: the value the gain is measured from
    double gain = 0.0;             // redemption: gain of this investment, dollars
    double totalGain = 0.0;        // redemption: record's accumulated gain after it
};

// Everything a run leaves, whether or not it completed: what the box text,
// the CSV, JSON, statistics and chart are formatted from.
struct SimulationResult {
    // "Simulated investments for selected aspects for ...", the title line.
    std::string title;
    bool heliocentric = true;
    bool includeDetails = false;
    // Every investment, redemption and cancellation, in the order they
    // happened (as the detail lines show them).
    std::vector<SimulationEvent> events;
    // The pairs in their final order (for a completed run, the summary's)
    // and the totals.
    std::vector<SimulationPair> pairs;
    SimulationTotals totals;
    SimulationOutcome outcome = SimulationOutcome::Refused;
    // Ended by quitting the program (or a stop from outside) rather than by
    // the user's "Stop?": nothing more is written.
    bool quit = false;
};

// What a run tells as it goes, in the order of its report, each at the moment
// the report's text would show it: after the run's busy state has begun, the
// start; each event as it happens; the end, after the run's closing message
// (a full box, "Stop?", a failed data file) and before the busy state ends.
// A click the run refuses is heard by none of these.
class SimulationListener {
public:
    virtual ~SimulationListener() = default;
    virtual void Began(const SimulationResult& result, const SimulationRequest& request) = 0;
    virtual void Happened(const SimulationEvent& event) = 0;
    virtual void Ended(const SimulationResult& result) = 0;
};

// Captions of the simulation button.
inline constexpr const char* kSimulateCaption = "Simulate investment";
inline constexpr const char* kSimulationWithoutMoon =
    "The investment simulation takes the planets only, not the Moon.";

// Output box limit checked at the start of every step, in characters.
inline constexpr std::size_t kSimulationOutputLimit = 65000;

class InvestmentSimulation {
public:
    InvestmentSimulation(RunHost& host, SimulationListener& listener,
                         HelioPositionSource& positions, IndexLookup& index);

    // A click on the simulation button: checks the dates, and either starts a
    // run (returning when it has ended) or, while one is under way, sets the
    // pause request.
    SimulationOutcome Click(const SimulationRequest& request);

    // How the last click ended.
    SimulationOutcome LastOutcome() const { return lastOutcome_; }
    // What the last run left (a refused click leaves the run before it).
    const SimulationResult& Result() const { return result_; }
    // The title line of the last report the simulation began.
    const std::string& Title() const { return result_.title; }

    // What the last run left: the pairs in their final (for a completed
    // run, the summary's) order and the totals.
    const std::vector<SimulationPair>& Pairs() const { return result_.pairs; }
    const SimulationTotals& Totals() const { return result_.totals; }
    // Every investment, redemption and cancellation of the last run, in the
    // order the detail lines would show them.
    const std::vector<SimulationEvent>& Events() const { return result_.events; }
    // The first planets and days of the last run.
    std::int16_t FirstPlanet() const { return p1_; }
    bool Heliocentric() const { return result_.heliocentric; }
    std::int16_t SecondPlanet() const { return p2_; }
    std::int32_t StartDay() const { return startDay_; }
    std::int32_t EndDay() const { return endDay_; }

private:
    SimulationOutcome ClickOutcome(const SimulationRequest& request);
    // A run in stages: prepare the records and the window, then for every
    // step check the box and the run control, read the day's index value,
    // sample the positions and step each record; at the end summarise.
    struct RunState;
    SimulationOutcome Run(const SimulationRequest& request);
    void PrepareRun(const SimulationRequest& request, RunState& run);
    std::optional<SimulationOutcome> BeforeStep();
    std::optional<SimulationOutcome> ReadDay(RunState& run, double t, std::int64_t step);
    std::optional<SimulationOutcome> SamplePositions(const RunState& run, double t);
    void StepRecord(RunState& run, std::size_t i, const PairRows& rows);
    void OpenInvestment(RunState& run, std::size_t i);
    void CancelInvestment(RunState& run, std::size_t i);
    void RedeemInvestment(RunState& run, std::size_t i);
    SimulationEvent EventOf(const RunState& run, std::size_t i, SimulationEvent::Kind kind,
                            int number) const;
    void Record(const SimulationEvent& event);
    SimulationOutcome Summarise();
    // Tells the listener how the run ended; then the busy state ends.
    SimulationOutcome End(SimulationOutcome outcome, bool quit = false);
    void CommonEnding();

    RunHost& host_;
    SimulationListener& listener_;
    HelioPositionSource& positions_;
    IndexLookup& index_;

    SimulationOutcome lastOutcome_ = SimulationOutcome::Refused;
    SimulationResult result_;
    std::int16_t p1_ = 0;
    std::int16_t p2_ = 0;
    std::int32_t startDay_ = 0;
    std::int32_t endDay_ = 0;
    PositionWindow window_;
};

// Time step of a run: 3 hours.
inline constexpr double kSimulationStep = 0.125;

}  // namespace vlt
