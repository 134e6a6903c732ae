#include "app/window/program_commands.h"

#include "app/engine/report_lines.h"

namespace vlt {
namespace {

// The engine's part of the title also heads the simulation's report.
std::string SimulationReportTitle(const WindowInputs& in) {
    TitleInputs title;
    title.heliocentric = in.heliocentric;
    title.firstPlanetName = in.firstPlanetName;
    title.secondPlanetName = in.secondPlanetName;
    title.startDay = in.dayNumber[0];
    title.endDay = in.dayNumber[1];
    return ReportTitle(title);
}

}  // namespace

ProgramCommands::ProgramCommands(CommandWindow& window, const IndexData& index)
    : ProgramCommands(window, index, nullptr) {}

ProgramCommands::ProgramCommands(CommandWindow& window, const IndexData& index, IndexLookup& prices)
    : ProgramCommands(window, index, &prices) {}

// The index lookup is chosen here, where it is already built: naming it as
// the base class before that (as an argument to the other constructor) would
// use an object whose life has not begun.
ProgramCommands::ProgramCommands(CommandWindow& window, const IndexData& index, IndexLookup* prices)
    : transit_(window, window),
      indexLookup_(index),
      amounts_(UserLocaleAmountFormatter()),
      simulation_(window, positions_, prices != nullptr ? *prices : indexLookup_, amounts_) {}

void ProgramCommands::Start(CommandWindow& /*window*/) {
    simulatedLast_ = false;
    transit_.Start();
}
void ProgramCommands::Search(CommandWindow& /*window*/) {
    simulatedLast_ = false;
    transit_.Search();
}
void ProgramCommands::ShowAll(CommandWindow& /*window*/, int item) {
    simulatedLast_ = false;
    transit_.ShowAll(item);
}

void ProgramCommands::SimulateInvestment(CommandWindow& window) {
    const WindowInputs in = window.Snapshot();
    SimulationRequest request = ToSimulationRequest(in);
    request.reportTitle = SimulationReportTitle(in);
    // The button is enabled geocentrically only with a price file chosen.
    request.heliocentric = in.heliocentric;
    positions_.SetHeliocentric(in.heliocentric);
    simulatedLast_ = true;
    simulation_.Click(request);
}

}  // namespace vlt
