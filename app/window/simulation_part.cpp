// The investment simulation behind the window's "Simulate investment" button.
#include "app/simulation/amount_format.h"
#include "app/simulation/investment_simulation.h"
#include "app/window/program_commands.h"

namespace vlt {

std::string SimulationReportTitle(const WindowInputs& in);

class SimulationPart {
public:
    SimulationPart(CommandWindow& window, const IndexData& index)
        : indexLookup(index),
          amounts(UserLocaleAmountFormatter()),
          simulation(window, positions, indexLookup, amounts) {}
    SimulationPart(CommandWindow& window, const IndexData& index, IndexLookup& prices)
        : indexLookup(index),
          amounts(UserLocaleAmountFormatter()),
          simulation(window, positions, prices, amounts) {}
    HelioEphemerisPositions positions;
    IndexDataLookup indexLookup;
    SeparatorAmountFormatter amounts;
    InvestmentSimulation simulation;
};

std::unique_ptr<SimulationPart, PartDeleter> MakeSimulationPart(CommandWindow& window,
                                                                const IndexData& index) {
    return std::unique_ptr<SimulationPart, PartDeleter>(new SimulationPart(window, index));
}

std::unique_ptr<SimulationPart, PartDeleter> MakeSimulationPart(CommandWindow& window,
                                                                const IndexData& index,
                                                                IndexLookup& prices) {
    return std::unique_ptr<SimulationPart, PartDeleter>(
        new SimulationPart(window, index, prices));
}

const InvestmentSimulation& SimulationOf(const SimulationPart& part) { return part.simulation; }

void PartDeleter::operator()(SimulationPart* part) const { delete part; }

void RunSimulation(SimulationPart& part, CommandWindow& window) {
    const WindowInputs in = window.Snapshot();
    SimulationRequest request = ToSimulationRequest(in);
    request.reportTitle = SimulationReportTitle(in);
    part.simulation.Click(request);
}

}  // namespace vlt
