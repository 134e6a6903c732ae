// The transit commands behind the window's Start, Search and Show-all buttons.
#include "app/engine/transit_commands.h"
#include "app/window/program_commands.h"

namespace vlt {

class TransitPart {
public:
    explicit TransitPart(CommandWindow& window) : commands(window, window) {}
    TransitCommands commands;
};

std::unique_ptr<TransitPart, PartDeleter> MakeTransitPart(CommandWindow& window) {
    return std::unique_ptr<TransitPart, PartDeleter>(new TransitPart(window));
}

void PartDeleter::operator()(TransitPart* part) const { delete part; }

void RunTransit(TransitPart& part, int command, int item) {
    switch (command) {
        case 0: part.commands.Start(); break;
        case 1: part.commands.Search(); break;
        default: part.commands.ShowAll(item); break;
    }
}

}  // namespace vlt

// The engine's part of the title also heads the simulation's report.
namespace vlt {
std::string SimulationReportTitle(const WindowInputs& in);
}
#include "app/engine/report_lines.h"
std::string vlt::SimulationReportTitle(const WindowInputs& in) {
    TitleInputs title;
    title.heliocentric = in.heliocentric;
    title.firstPlanetName = in.firstPlanetName;
    title.secondPlanetName = in.secondPlanetName;
    title.startDay = in.dayNumber[0];
    title.endDay = in.dayNumber[1];
    return ReportTitle(title);
}
