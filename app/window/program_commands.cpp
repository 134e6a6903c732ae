#include "app/window/program_commands.h"

#include <utility>

#include "app/engine/transit_request.h"
#include "app/window/window_requests.h"
#include "app/window/window_run.h"

namespace vlt {

ProgramCommands::ProgramCommands(CommandWindow& /*window*/, const IndexData& index)
    : ProgramCommands(index, nullptr) {}

ProgramCommands::ProgramCommands(CommandWindow& /*window*/, const IndexData& index,
                                 IndexLookup& prices)
    : ProgramCommands(index, &prices) {}

// The index lookup is chosen here, where it is already built: naming it as
// the base class before that (as an argument to the other constructor) would
// use an object whose life has not begun.
ProgramCommands::ProgramCommands(const IndexData& index, IndexLookup* prices)
    : indexLookup_(index),
      amounts_(UserLocaleAmountFormatter()),
      simulation_(positions_, prices != nullptr ? *prices : indexLookup_, amounts_) {}

void ProgramCommands::Keep(CommandWindow& window, TransitRunResult result) {
    ++runsEnded_;
    if (result.refusal && result.refusal->kind == RefusalKind::NoTimezone) {
        window.SelectTimezone(kGmtIndex);
    }
    // A request refused before its scan leaves the last report's findings.
    if (result.end != TransitRunEnd::Refused) findings_ = std::move(result.results);
}

void ProgramCommands::Start(CommandWindow& window) {
    simulatedLast_ = false;
    const std::optional<TablesRequest> request = TablesRequestOfClick(window);
    if (!request) return;
    WindowRun run(window);
    Keep(window, Run(*request, run, window.StopToken()));
}

void ProgramCommands::Search(CommandWindow& window) {
    simulatedLast_ = false;
    const std::optional<SearchRequest> request = SearchRequestOfClick(window);
    if (!request) return;
    const WindowInputs in = window.Snapshot();
    WindowRun run(window);
    TransitRunResult result = Run(*request, run, window.StopToken());
    // A transit found shows the period searched, unless the dates are kept.
    if (result.transitRecorded && !in.keepDates) {
        window.ShowDateInFields(0, in.dayNumber[request->fromEnd ? 1 : 0]);
        window.ShowDateInFields(1, kSearchLastDay);
    }
    // A search starts a report of its own.
    findings_.clear();
    Keep(window, std::move(result));
}

void ProgramCommands::ShowAll(CommandWindow& window, int item) {
    simulatedLast_ = false;
    const std::optional<ShowAllRequest> request = ShowAllRequestOfClick(window, item);
    if (!request) return;
    WindowRun run(window);
    TransitRunResult result = Run(*request, run, window.StopToken());
    // A series starts a report of its own, whatever its pairs meet.
    findings_.clear();
    Keep(window, std::move(result));
}

void ProgramCommands::SimulateInvestment(CommandWindow& window) {
    SimulationRequest request = SimulationRequestOfClick(window);
    // The button is enabled geocentrically only with a price file chosen.
    request.heliocentric = window.Snapshot().heliocentric;
    positions_.SetHeliocentric(request.heliocentric);
    simulatedLast_ = true;
    WindowRun run(window);
    simulation_.Run(request, run, window.StopToken());
    ++runsEnded_;
}

}  // namespace vlt
