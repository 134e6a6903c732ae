#pragma once
// The four commands of the program connected to the window: the transit
// commands of the engine and the investment simulation, with what the
// simulation reads its positions, prices and amounts from.

#include "app/engine/transit_commands.h"
#include "app/simulation/amount_format.h"
#include "app/simulation/index_data.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/position_window.h"
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
    const InvestmentSimulation& Simulation() const { return simulation_; }
    // What the transit commands' last report found.
    const TransitResults& TransitFindings() const { return transit_.Scanner().Results(); }
    // Whether the last command run was the simulation (else a transit
    // command, or none yet).
    bool SimulatedLast() const { return simulatedLast_; }

private:
    // `prices` null: the simulation values its days from the index data.
    ProgramCommands(CommandWindow& window, const IndexData& index, IndexLookup* prices);

    TransitCommands transit_;
    // Heliocentric unless a price file lets the window simulate from the
    // Earth too (see PriceChoice).
    CentredEphemerisPositions positions_{true};
    IndexDataLookup indexLookup_;
    SeparatorAmountFormatter amounts_;
    InvestmentSimulation simulation_;
    bool simulatedLast_ = false;
};

}  // namespace vlt
