#include "app/window/command_handlers.h"

namespace vlt {

TransitInputs ToTransitInputs(const WindowInputs& in) {
    TransitInputs t;
    t.firstPlanetIndex = in.firstPlanetIndex;
    t.secondPlanetIndex = in.secondPlanetIndex;
    t.firstPlanetText = in.firstPlanetName;
    t.secondPlanetText = in.secondPlanetName;
    t.heliocentric = in.heliocentric;
    t.aspectChecked = in.aspectEnabled;
    t.orbIndex = in.orbIndex;
    t.searchOrbText = in.searchOrbText;
    t.timezoneIndex = in.timezoneIndex;
    t.timezoneText = in.timezoneText;
    t.searchAspectIndex = in.searchAspectIndex;
    t.searchAspectText = in.searchAspectText;
    t.searchWhenIndex = in.searchWhenIndex;
    t.keepDates = in.keepDates;
    t.showAllWithMoon = in.showAllWithMoon;
    t.plutoTablesLoaded = in.plutoLoaded;
    t.plutoTableProblem = in.plutoTableProblem;
    return t;
}

SimulationRequest ToSimulationRequest(const WindowInputs& in) {
    SimulationRequest r;
    r.firstPlanetIndex = in.firstPlanetIndex;
    r.secondPlanetIndex = in.secondPlanetIndex;
    r.aspectChecked = in.aspectEnabled;
    r.orbIndex = {in.orbIndex[0], in.orbIndex[1], in.orbIndex[2]};
    r.startDay = in.dayNumber[0];
    r.endDay = in.dayNumber[1];
    r.includeDetails = in.includeTransitDetails;
    r.append = in.appendToOutput;
    return r;
}

}  // namespace vlt
