#include "app/window/window_requests.h"

#include "app/engine/report_lines.h"
#include "app/positions/request_rules.h"
#include "app/support/date_processing.h"

namespace vlt {
namespace {

constexpr const char* kSearchCaption = "Search";

void FillBasics(const WindowInputs& in, TransitBasics& r) {
    r.firstPlanet = FirstPlanetOfListIndex(in.firstPlanetIndex);
    r.secondPlanet = SecondPlanetOfListIndex(in.secondPlanetIndex);
    r.heliocentric = in.heliocentric;
    r.start = CalendarDateOfDay(in.dayNumber[0]);
    r.end = CalendarDateOfDay(in.dayNumber[1]);
    r.timezoneIndex = in.timezoneIndex;
    r.timezoneLabel = in.timezoneText;
}

void FillTables(const WindowInputs& in, TablesRequest& r) {
    FillBasics(in, r);
    r.aspects = in.aspectEnabled;
    for (std::size_t level = 0; level < 3; ++level) {
        r.orbDegrees[level] = OrbDegreesOfListIndex(in.orbIndex[level]);
    }
}

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

bool CheckTableDates(CommandWindow& window) {
    return window.CheckDateFieldsPresent(0) && window.CheckDateFieldsPresent(1) &&
           window.ValidateDate(0) && window.ValidateDate(1);
}

bool CheckSearchAspect(CommandWindow& window) {
    const WindowInputs in = window.Snapshot();
    if (in.heliocentric) return true;
    const std::optional<Refusal> refusal =
        CheckGeocentricAspect(in.firstPlanet, in.secondPlanet, in.searchAspectIndex + 1);
    if (refusal) ShowRefusal(*refusal, window.Boxes(), kSearchCaption);
    return !refusal;
}

bool CheckSearchDates(CommandWindow& window) {
    if (!window.ValidateDate(0) || !window.ValidateDate(1)) return false;
    return window.CheckDateFieldsPresent(window.Snapshot().searchWhenIndex == 0 ? 0 : 1);
}

}  // namespace

CalendarDate CalendarDateOfDay(std::int32_t dayNumber) {
    DateRecord r{};
    r.calendar = kCalendarGregorian;
    r.jdn = dayNumber;
    DayNumberToDate(r);
    return CalendarDate{r.year, r.month, r.day};
}

TablesRequest TablesRequestFromControls(const WindowInputs& in) {
    TablesRequest r;
    FillTables(in, r);
    return r;
}

SearchRequest SearchRequestFromControls(const WindowInputs& in) {
    SearchRequest r;
    FillBasics(in, r);
    r.aspect = in.searchAspectIndex + 1;
    r.orbDegrees = SearchOrbDegreesOfListIndex(in.orbIndex[3]);
    r.fromEnd = in.searchWhenIndex == 1;
    return r;
}

ShowAllRequest ShowAllRequestFromControls(const WindowInputs& in, int item) {
    ShowAllRequest r;
    FillTables(in, r);
    r.keepFirst = item != 0;
    r.withMoon = in.showAllWithMoon;
    return r;
}

SimulationRequest SimulationRequestFromControls(const WindowInputs& in) {
    SimulationRequest r;
    r.firstPlanetIndex = in.firstPlanetIndex;
    r.secondPlanetIndex = in.secondPlanetIndex;
    r.aspectChecked = in.aspectEnabled;
    r.orbIndex = {in.orbIndex[0], in.orbIndex[1], in.orbIndex[2]};
    r.startDay = in.dayNumber[0];
    r.endDay = in.dayNumber[1];
    r.includeDetails = in.includeTransitDetails;
    r.append = in.appendToOutput;
    r.reportTitle = SimulationReportTitle(in);
    return r;
}

std::optional<TablesRequest> TablesRequestOfClick(CommandWindow& window) {
    if (!CheckTableDates(window)) return std::nullopt;
    return TablesRequestFromControls(window.Snapshot());
}

std::optional<SearchRequest> SearchRequestOfClick(CommandWindow& window) {
    if (!CheckSearchAspect(window) || !CheckSearchDates(window)) return std::nullopt;
    return SearchRequestFromControls(window.Snapshot());
}

std::optional<ShowAllRequest> ShowAllRequestOfClick(CommandWindow& window, int item) {
    if (!CheckTableDates(window)) return std::nullopt;
    return ShowAllRequestFromControls(window.Snapshot(), item);
}

SimulationRequest SimulationRequestOfClick(CommandWindow& window) {
    return SimulationRequestFromControls(window.Snapshot());
}

}  // namespace vlt
