#include "app/engine/transit_service.h"

#include <utility>

#include "app/engine/transit_commands.h"
#include "app/support/calendar.h"
#include "app/support/date_processing.h"

namespace vlt {
namespace {

TransitRunEnd EndOfScan(ScanEnd end) {
    switch (end) {
        case ScanEnd::Completed:
        case ScanEnd::NothingFound:
        case ScanEnd::FoundInSearch: return TransitRunEnd::Completed;
        case ScanEnd::Stopped: return TransitRunEnd::Stopped;
        case ScanEnd::ShowAllReturn: return TransitRunEnd::SeriesEnded;
        case ScanEnd::DataFileFailed: return TransitRunEnd::DataFailed;
    }
    return TransitRunEnd::Completed;
}

TransitRunResult ResultOf(const TransitCommands& commands, const ServiceHost& host) {
    TransitRunResult result;
    result.end = commands.ScanRan() ? EndOfScan(commands.LastScanEnd()) : TransitRunEnd::Refused;
    result.messages = host.MessagesShown();
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
    return ResultOf(commands, host);
}

TransitRunResult Run(const SearchRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions) {
    ServiceHost host(observer, std::move(stop), CaptionOf(request));
    TransitCommands commands(host, positions);
    commands.Search(request);
    return ResultOf(commands, host);
}

TransitRunResult Run(const ShowAllRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions) {
    ServiceHost host(observer, std::move(stop), CaptionOf(request));
    TransitCommands commands(host, positions);
    commands.ShowAll(request);
    TransitRunResult result = ResultOf(commands, host);
    if (commands.ScanRan() && result.end != TransitRunEnd::DataFailed) {
        result.end = TransitRunEnd::SeriesEnded;
    }
    return result;
}

}  // namespace vlt
