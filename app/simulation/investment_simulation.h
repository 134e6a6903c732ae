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
//     InvestmentSimulation simulation(host, positions, index, amounts);
//     ...
//     simulation.Click(request);                    // on every click
//
// The aspect tables (InitPositions) must be filled before the first run.

#include <cstdint>
#include <string>
#include <vector>

#include "app/simulation/amount_format.h"
#include "app/simulation/index_data.h"
#include "app/simulation/position_window.h"
#include "app/simulation/simulation_record.h"
#include "app/simulation/simulation_request.h"
#include "app/support/run_host.h"

namespace vlt {

// Where the simulation gets the index value of a calendar day.
class IndexLookup {
public:
    virtual ~IndexLookup() = default;
    // The value for the day (or the next trading day within four days);
    // false when there is none.
    virtual bool ValueForDay(std::int32_t dayJdn, double& value) = 0;
};

// The index data loaded at start-up (`IndexValueForDay`).
class IndexDataLookup : public IndexLookup {
public:
    explicit IndexDataLookup(const IndexData& data) : data_(data) {}
    bool ValueForDay(std::int32_t dayJdn, double& value) override;

private:
    const IndexData& data_;
};

// Captions of the simulation button.
inline constexpr const char* kSimulateCaption = "Simulate investment";
inline constexpr const char* kPauseCaption = "Pause";

// Output box limit checked at the start of every step, in characters.
inline constexpr std::size_t kSimulationOutputLimit = 65000;

// Per aspect number 1..7 (index 0 unused).
struct SimulationTotals {
    int completedInvestments = 0;
    std::array<int, 8> redemptions{};
    std::array<double, 8> gainSum{};
};

class InvestmentSimulation {
public:
    InvestmentSimulation(RunHost& host, HelioPositionSource& positions, IndexLookup& index,
                         const AmountFormatter& amounts);

    // A click on the simulation button: checks the dates, and either starts a
    // run (returning when it has ended) or, while one is under way, sets the
    // pause request.
    SimulationOutcome Click(const SimulationRequest& request);

    bool Running() const { return running_; }

    // What the last run left: the record list in its final (for a completed
    // run, sorted) order and the totals.
    const std::vector<SimulationRecord>& Records() const { return records_; }
    const SimulationTotals& Totals() const { return totals_; }

private:
    SimulationOutcome Run(const SimulationRequest& request);
    void Append(const std::string& text);
    void AppendLine(const std::string& text);
    void CommonEnding();

    RunHost& host_;
    HelioPositionSource& positions_;
    IndexLookup& index_;
    const AmountFormatter& amounts_;

    bool running_ = false;
    std::vector<SimulationRecord> records_;
    SimulationTotals totals_;
    PositionWindow window_;
};

// Time step of a run: 3 hours.
inline constexpr double kSimulationStep = 0.125;

}  // namespace vlt
