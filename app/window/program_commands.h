#pragma once
// The four commands of the program connected to the window: each click
// builds its typed request from the controls and runs the service that
// vlt-report runs for it (the transit services of the engine, the
// simulation service), shown in the window through a WindowRun.

#include <cstdint>

#include "app/engine/transit_service.h"
#include "app/simulation/amount_format.h"
#include "app/simulation/index_data.h"
#include "app/simulation/position_window.h"
#include "app/simulation/simulation_service.h"
#include "app/window/command_handlers.h"

namespace vlt {

class ProgramCommands final : public CommandHandlers {
public:
    // `index` is the index data the window loaded at start-up; it must
    // outlive this object.
    ProgramCommands(CommandWindow& window, const IndexData& index);
    // The same, with the simulation valuing its days from `prices` instead of
    // the index data; `prices` must outlive this object.
    ProgramCommands(CommandWindow& window, const IndexData& index, IndexLookup& prices);

    void Start(CommandWindow& window) override;
    void Search(CommandWindow& window) override;
    void ShowAll(CommandWindow& window, int item) override;
    void SimulateInvestment(CommandWindow& window) override;

    // The simulation, with what its last run left.
    const InvestmentSimulation& Simulation() const { return simulation_.Simulation(); }
    // What the transit commands' last report found.
    const TransitResults& TransitFindings() const { return findings_; }
    // Whether the last command run was the simulation (else a transit
    // command, or none yet).
    bool SimulatedLast() const { return simulatedLast_; }
    // How many runs of a service have ended: what a run leaves here is
    // complete only when its service returns.
    std::uint64_t RunsEnded() const { return runsEnded_; }

private:
    // `prices` null: the simulation values its days from the index data.
    ProgramCommands(const IndexData& index, IndexLookup* prices);
    // What the window takes from a transit run: its findings, and GMT
    // chosen after the zone was refused.
    void Keep(CommandWindow& window, TransitRunResult result);

    // Heliocentric unless a price file lets the window simulate from the
    // Earth too (see PriceChoice).
    CentredEphemerisPositions positions_{true};
    IndexDataLookup indexLookup_;
    SeparatorAmountFormatter amounts_;
    SimulationService simulation_;
    TransitResults findings_;
    bool simulatedLast_ = false;
    std::uint64_t runsEnded_ = 0;
};

}  // namespace vlt
