#include "app/engine/transit_service.h"

#include <utility>

#include "app/engine/transit_commands.h"
#include "app/support/calendar.h"
#include "app/support/date_processing.h"

namespace vlt {
namespace {

// A run that scanned: its last scan's end, unless the box filled up on the
// way (the box itself then asked "Stop?") or, in a show-all series, a pair
// was refused.
TransitRunEnd EndOfScans(const TransitCommands& commands) {
    const ScanEnd last = commands.LastScanEnd();
    if (last == ScanEnd::DataFileFailed) return TransitRunEnd::DataFailed;
    if (commands.BoxFilled()) return TransitRunEnd::BoxFull;
    if (last == ScanEnd::Stopped) return TransitRunEnd::Stopped;
    if (commands.ShowAllPairRefused()) return TransitRunEnd::PairRefused;
    switch (last) {
        case ScanEnd::NothingFound: return TransitRunEnd::NotFound;
        case ScanEnd::ShowAllReturn: return TransitRunEnd::SeriesEnded;
        default: return TransitRunEnd::Completed;
    }
}

TransitRunResult ResultOf(const TransitCommands& commands) {
    TransitRunResult result;
    result.end = commands.ScanRan() ? EndOfScans(commands) : TransitRunEnd::Refused;
    result.refusal = commands.LastRefusal();
    result.transitRecorded =
        commands.ScanRan() && !commands.Scanner().Table().RowIsEmpty(kFirstTransitRow);
    result.enteredStart = commands.EnteredDay(0);
    result.enteredEnd = commands.EnteredDay(1);
    result.results = commands.Scanner().Results();
    return result;
}

// The run's messages are titled with the transit button's caption, which
// names the pair.
std::string CaptionOf(const TransitBasics& request) {
    return PairCaption(request.firstPlanet, request.secondPlanet, request.heliocentric);
}

}  // namespace

std::optional<std::int32_t> DayNumberOfDate(const CalendarDate& date) {
    if (!GregorianDateExists(date.year, date.month, date.day)) return std::nullopt;
    DateRecord r{};
    r.year = date.year;
    r.month = date.month;
    r.day = date.day;
    r.calendar = kCalendarGregorian;
    const std::int32_t day = DateToDayNumber(r);
    if (r.valid == 0) return std::nullopt;
    return day;
}

std::string PlanetListText(std::int16_t planet, bool heliocentric) {
    return PlanetName(planet, heliocentric, false);
}

TransitRunResult Run(const TablesRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions) {
    ServiceHost host(observer, std::move(stop), CaptionOf(request));
    TransitCommands commands(host, positions);
    commands.Start(request);
    return ResultOf(commands);
}

TransitRunResult Run(const SearchRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions) {
    ServiceHost host(observer, std::move(stop), CaptionOf(request));
    TransitCommands commands(host, positions);
    commands.Search(request);
    return ResultOf(commands);
}

TransitRunResult Run(const ShowAllRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions) {
    ServiceHost host(observer, std::move(stop), CaptionOf(request));
    TransitCommands commands(host, positions);
    commands.ShowAll(request);
    return ResultOf(commands);
}

}  // namespace vlt
