#include "app/engine/transit_service.h"

#include <algorithm>
#include <limits>

#include "app/engine/transit_commands.h"
#include "app/engine/transit_window.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/timezone_list.h"
#include "app/support/calendar.h"
#include "app/support/date_processing.h"

namespace vlt {
namespace {

// Entries of each planet list, the Moon last.
constexpr int kPlanetListEntries = kMoonListIndex + 1;

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// What the transit commands read from a window, answered from a request:
// the inputs as the window's controls would hold them, the date checks by
// the request rules, and planet lists that only remember their selection.
class RequestWindow final : public TransitWindow {
public:
    RequestWindow(const TransitBasics& request, ServiceHost& host)
        : request_(request),
          host_(host),
          firstIndex_(FirstListIndexOfPlanet(request.firstPlanet)),
          secondIndex_(SecondListIndexOfPlanet(request.secondPlanet)) {
        UpdateCaption();
    }

    TransitInputs inputs;  // what the request sets beyond the basics

    TransitInputs Inputs() const override {
        TransitInputs in = inputs;
        in.firstPlanetIndex = firstIndex_;
        in.secondPlanetIndex = secondIndex_;
        in.firstPlanetText = firstIndex_ < 0
                                 ? std::string()
                                 : PlanetListText(FirstPlanetOfListIndex(firstIndex_), Helio());
        in.secondPlanetText = PlanetListText(SecondPlanetOfListIndex(secondIndex_), Helio());
        in.heliocentric = Helio();
        in.timezoneIndex = timezoneIndex_;
        // After "Please specify the timezone" the run goes on in the GMT
        // entry, which reads the same in both label sets.
        in.timezoneText = timezoneIndex_ == request_.timezoneIndex
                              ? request_.timezoneLabel
                              : TimezoneEntryTexts(false)[static_cast<std::size_t>(
                                    std::clamp(timezoneIndex_, 0, kTimezoneCount - 1))];
        in.plutoTableProblem = PlutoTableProblem(Helio());
        in.plutoTablesLoaded = in.plutoTableProblem.empty();
        return in;
    }

    bool CheckDateFieldsPresent(int /*date*/) override { return true; }

    bool ValidateDate(int date) override {
        const CalendarDate& d = date == 0 ? request_.start : request_.end;
        const std::optional<std::int32_t> day = DayNumberOfDate(d);
        std::optional<Refusal> refusal;
        if (!day) {
            refusal = InvalidDateRefusal(date);
        } else {
            dayNumber_[date == 0 ? 0 : 1] = *day;
            refusal = CheckDateSpan(date, *day);
        }
        if (refusal) ShowRefusal(*refusal, host_.Boxes(), host_.Busy().StartCaption());
        return !refusal;
    }

    std::int32_t DayNumber(int date) const override { return dayNumber_[date == 0 ? 0 : 1]; }
    void SelectTimezone(int index) override { timezoneIndex_ = index; }
    int PlanetListCount(int /*list*/) const override { return kPlanetListEntries; }
    int PlanetListIndex(int list) const override { return list == 0 ? firstIndex_ : secondIndex_; }

    void SelectPlanet(int list, int index) override {
        (list == 0 ? firstIndex_ : secondIndex_) = index;
        UpdateCaption();
    }

    void ShowDateInFields(int /*date*/, std::int32_t /*dayNumber*/) override {}

private:
    bool Helio() const { return request_.heliocentric; }

    // The transit button's caption heads the run's messages.
    void UpdateCaption() {
        const TransitInputs in = Inputs();
        host_.SetCaption(in.firstPlanetText + " and " + in.secondPlanetText);
    }

    const TransitBasics& request_;
    ServiceHost& host_;
    int firstIndex_;
    int secondIndex_;
    int timezoneIndex_ = request_.timezoneIndex;
    std::int32_t dayNumber_[2] = {0, 0};
};

void SetTableInputs(const TablesRequest& request, TransitInputs& in) {
    in.aspectChecked = request.aspects;
    for (std::size_t level = 0; level < 3; ++level) {
        in.orbIndex[level] = OrbListIndexOfDegrees(request.orbDegrees[level]);
    }
}

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

TransitRunResult ResultOf(const TransitCommands& commands, const RequestWindow& window,
                          const ServiceHost& host) {
    TransitRunResult result;
    result.end = commands.ScanRan() ? EndOfScan(commands.LastScanEnd()) : TransitRunEnd::Refused;
    result.messages = host.MessagesShown();
    result.refusal = commands.LastRefusal();
    result.transitRecorded =
        commands.ScanRan() && !commands.Scanner().Table().RowIsEmpty(kFirstTransitRow);
    result.enteredStart = window.DayNumber(0);
    result.enteredEnd = window.DayNumber(1);
    result.results = commands.Scanner().Results();
    return result;
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
    ServiceHost host(observer, std::move(stop));
    RequestWindow window(request, host);
    SetTableInputs(request, window.inputs);
    TransitCommands commands(host, window, positions);
    commands.Start();
    return ResultOf(commands, window, host);
}

TransitRunResult Run(const SearchRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions) {
    ServiceHost host(observer, std::move(stop));
    RequestWindow window(request, host);
    TransitInputs& in = window.inputs;
    in.searchAspectIndex = request.aspect - 1;
    in.searchAspectText = request.aspect >= 1 && request.aspect <= kAspectCount
                              ? Lowered(AspectNames[static_cast<std::size_t>(request.aspect)].name)
                              : std::string();
    in.orbIndex[3] = SearchOrbListIndexOfDegrees(request.orbDegrees);
    in.searchOrbText = std::to_string(request.orbDegrees) + "\xC2\xB0";
    in.searchWhenIndex = request.fromEnd ? 1 : 0;
    in.keepDates = true;
    TransitCommands commands(host, window, positions);
    commands.Search();
    return ResultOf(commands, window, host);
}

TransitRunResult Run(const ShowAllRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions) {
    ServiceHost host(observer, std::move(stop));
    RequestWindow window(request, host);
    SetTableInputs(request, window.inputs);
    window.inputs.showAllWithMoon = request.withMoon;
    TransitCommands commands(host, window, positions);
    commands.ShowAll(request.keepFirst ? 1 : 0);
    TransitRunResult result = ResultOf(commands, window, host);
    if (commands.ScanRan() && result.end != TransitRunEnd::DataFailed) {
        result.end = TransitRunEnd::SeriesEnded;
    }
    return result;
}

}  // namespace vlt
