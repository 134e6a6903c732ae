#include "app/window/program_commands.h"

namespace vlt {

ProgramCommands::ProgramCommands(CommandWindow& window, const IndexData& index)
    : transit_(MakeTransitPart(window)), simulation_(MakeSimulationPart(window, index)) {}

ProgramCommands::ProgramCommands(CommandWindow& window, const IndexData& index,
                                 IndexLookup& prices)
    : transit_(MakeTransitPart(window)), simulation_(MakeSimulationPart(window, index, prices)) {}

ProgramCommands::~ProgramCommands() = default;

void ProgramCommands::Start(CommandWindow& /*window*/) { RunTransit(*transit_, 0, 0); }
void ProgramCommands::Search(CommandWindow& /*window*/) { RunTransit(*transit_, 1, 0); }
void ProgramCommands::ShowAll(CommandWindow& /*window*/, int item) {
    RunTransit(*transit_, 2, item);
}
void ProgramCommands::SimulateInvestment(CommandWindow& window) {
    RunSimulation(*simulation_, window);
}

}  // namespace vlt
