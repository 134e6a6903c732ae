#pragma once
// The four commands of the program connected to the window: the transit
// commands of the engine and the investment simulation.  Each half lives in
// its own file, so that neither sees the other's headers.

#include <memory>

#include "app/simulation/index_data.h"
#include "app/window/command_handlers.h"

namespace vlt {

class TransitPart;
class SimulationPart;
class IndexLookup;
class InvestmentSimulation;
struct PartDeleter {
    void operator()(TransitPart* part) const;
    void operator()(SimulationPart* part) const;
};
std::unique_ptr<TransitPart, PartDeleter> MakeTransitPart(CommandWindow& window);
void RunTransit(TransitPart& part, int command, int item);  // 0 start, 1 search, 2 show all
std::unique_ptr<SimulationPart, PartDeleter> MakeSimulationPart(CommandWindow& window,
                                                                const IndexData& index);
std::unique_ptr<SimulationPart, PartDeleter> MakeSimulationPart(CommandWindow& window,
                                                                const IndexData& index,
                                                                IndexLookup& prices);
void RunSimulation(SimulationPart& part, CommandWindow& window);
const InvestmentSimulation& SimulationOf(const SimulationPart& part);

class ProgramCommands final : public CommandHandlers {
public:
    // `index` is the index data the window loaded at start-up; it must
    // outlive this object.
    ProgramCommands(CommandWindow& window, const IndexData& index);
    // The same, with the simulation valuing its days from `prices` instead of
    // the index data; `prices` must outlive this object.
    ProgramCommands(CommandWindow& window, const IndexData& index, IndexLookup& prices);
    ~ProgramCommands() override;

    void Start(CommandWindow& window) override;
    void Search(CommandWindow& window) override;
    void ShowAll(CommandWindow& window, int item) override;
    void SimulateInvestment(CommandWindow& window) override;

    // The simulation, with what its last run left.
    const InvestmentSimulation& Simulation() const { return SimulationOf(*simulation_); }

private:
    std::unique_ptr<TransitPart, PartDeleter> transit_;
    std::unique_ptr<SimulationPart, PartDeleter> simulation_;
};

}  // namespace vlt
