#include "app/engine/transit_commands.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/engine/report_lines.h"
#include "app/positions/positions.h"
#include "app/positions/request_rules.h"
#include "app/positions/vocabulary.h"

namespace vlt {

namespace {

constexpr const char* kSearchCaption = "Search";

std::int16_t FirstPlanetOf(const TransitInputs& in) {
    return FirstPlanetOfListIndex(in.firstPlanetIndex);
}

std::int16_t SecondPlanetOf(const TransitInputs& in) {
    return SecondPlanetOfListIndex(in.secondPlanetIndex);
}

std::string FirstPlanetText(const TransitInputs& in) {
    return in.firstPlanetIndex < 0 ? std::string("Pluto") : in.firstPlanetText;
}

// What every command takes over from the inputs alike: the centricity, the
// zone and the planet names of the title.
void TakeCommonInputs(const TransitInputs& in, TransitRequest& request, TitleInputs& title) {
    request.heliocentric = in.heliocentric;
    request.timezoneIndex = in.timezoneIndex;
    request.timezoneLabel = in.timezoneText;
    title.heliocentric = in.heliocentric;
    title.firstPlanetName = FirstPlanetText(in);
    title.secondPlanetName = in.secondPlanetText;
}

double DistanceToAspect(double a, double b, double angle) {
    std::int16_t direction = 0;
    return std::fabs(AngularSeparation(a, b, direction) - angle);
}

}  // namespace

bool CheckDateInDataSpan(int date, std::int32_t dayNumber, std::int16_t first, std::int16_t second,
                         bool heliocentric, PositionSource& positions, MessageBoxes& boxes,
                         bool* dataFileFailed, std::optional<Refusal>* refused) {
    const std::int16_t planets[2] = {first, second};
    PositionResult longitude[2];
    positions.ClearFailure();
    // Asked in the run's own centricity: heliocentric Pluto has its table up
    // to 2199, the geocentric one only to 2099.
    for (int p = 0; p < 2; ++p) {
        longitude[p] = positions.Position(planets[p], dayNumber - 0.5, heliocentric);
    }
    if (const std::optional<PositionFailure> failure = positions.Failure()) {
        positions.ClearFailure();
        boxes.Show(failure->Message(), kDefaultTitle, MsgButtons::Ok, MsgIcon::Exclamation);
        if (dataFileFailed != nullptr) *dataFileFailed = true;
        return false;
    }
    // "Too early" for either planet comes before "too late" for either.
    for (const PositionKind kind : {PositionKind::BeforeData, PositionKind::AfterData}) {
        for (int p = 0; p < 2; ++p) {
            if (longitude[p].Kind() != kind) continue;
            const Refusal refusal = OutsideDataRefusal(date, kind == PositionKind::BeforeData,
                                                       PlanetName(planets[p], heliocentric, false));
            ShowRefusal(refusal, boxes, kDefaultTitle);
            if (refused != nullptr) *refused = refusal;
            return false;
        }
    }
    return true;
}

std::int32_t MoveStartOutOfTransit(std::int32_t startDay, std::int16_t first, std::int16_t second,
                                   bool heliocentric, double innerOrb, int timezoneMinutes,
                                   PositionSource& positions) {
    const double zone = timezoneMinutes / 1440.0;
    auto midnight = [&](std::int32_t day) { return day - 0.5 - zone; };
    const PositionResult a = positions.Position(first, midnight(startDay), heliocentric);
    const PositionResult b = positions.Position(second, midnight(startDay), heliocentric);
    if (!a.HasLongitude() || !b.HasLongitude()) return startDay;
    int active = 0;
    for (int type = 1; type <= kAspectCount; ++type) {
        if (DistanceToAspect(a.Longitude(), b.Longitude(), AspectAngles[type]) < innerOrb) {
            active = type;
            break;
        }
    }
    if (active == 0) return startDay;
    std::int32_t day = startDay;
    for (;;) {
        // Never before the first day a date may have.
        if (day <= kFirstSupportedDay) return kFirstSupportedDay;
        --day;
        const PositionResult x = positions.Position(first, midnight(day), heliocentric);
        const PositionResult y = positions.Position(second, midnight(day), heliocentric);
        // No position this far back: the scan starts on the last day that had one.
        if (!x.HasLongitude() || !y.HasLongitude()) return day + 1;
        if (!(DistanceToAspect(x.Longitude(), y.Longitude(), AspectAngles[active]) < innerOrb)) {
            return day;
        }
    }
}

std::array<std::int16_t, 3> SearchOrbDegrees(int searchOrbIndex) {
    const int outer = SearchOrbDegreesOfListIndex(searchOrbIndex);
    return {static_cast<std::int16_t>(outer), static_cast<std::int16_t>(outer * 2 / 3),
            static_cast<std::int16_t>(outer / 3)};
}

TransitCommands::TransitCommands(RunHost& host, TransitWindow& window, PositionSource& positions)
    : host_(host), window_(window), positions_(positions), scanner_(host, positions) {}

void TransitCommands::RefusePlutoWithoutTable(const TransitInputs& in) {
    if (!in.plutoTableProblem.empty()) {
        host_.Boxes().Show(in.plutoTableProblem, kDefaultTitle, MsgButtons::Ok,
                           MsgIcon::Exclamation);
    }
    if (showAllMode_) host_.Control().RequestStop();
}

bool TransitCommands::Refused(const std::optional<Refusal>& refusal, const std::string& caption) {
    if (!refusal) return false;
    ShowRefusal(*refusal, host_.Boxes(), caption);
    if (!lastRefusal_) lastRefusal_ = refusal;
    return true;
}

void TransitCommands::RunScan(TransitRequest& request) {
    CompleteRequest(request);
    lastRequest_ = request;
    scanRan_ = true;
    lastEnd_ = scanner_.TransitScan(request);
}

void TransitCommands::Start() {
    // A click on the transit button while its run is under way (the run
    // control knows) asks the run to pause; it never starts a second one.
    if (host_.Control().Running(RunKind::Transit)) {
        host_.Control().RequestPause();
        return;
    }
    lastRefusal_.reset();
    StartTable();
}

void TransitCommands::StartTable() {
    std::int32_t enteredStart = 0;
    std::int32_t enteredEnd = 0;
    if (!CheckEnteredPeriod(enteredStart, enteredEnd)) return;
    const TransitInputs in = window_.Inputs();
    // After the message the GMT entry stands chosen: a show-all series goes
    // on in it with its next pair.
    if (Refused(CheckTimezoneChosen(in.timezoneIndex), host_.Busy().StartCaption())) {
        window_.SelectTimezone(kGmtIndex);
        return;
    }
    TransitRequest request;
    if (!ChoosePair(in, request)) return;
    for (int level = 0; level < 3; ++level) {
        request.orbDegrees[level] = OrbDegreesOfListIndex(in.orbIndex[level]);
    }
    if (!CheckDataFor(in, request, enteredStart, enteredEnd)) return;
    host_.Control().ClearStop();
    scanner_.SetHeaderPrinted(false);
    // A show-all series keeps every pair's table in its results.
    if (!showAllMode_) scanner_.ClearResults();
    host_.Busy().ApplyRunGeometry();
    PrepareTableRequest(in, enteredStart, enteredEnd, request);
    RunScan(request);
}

// Both dates present and valid, the start at least 3 days before the end.
bool TransitCommands::CheckEnteredPeriod(std::int32_t& start, std::int32_t& end) {
    if (!window_.CheckDateFieldsPresent(0) || !window_.CheckDateFieldsPresent(1)) return false;
    if (!window_.ValidateDate(0) || !window_.ValidateDate(1)) return false;
    start = window_.DayNumber(0);
    end = window_.DayNumber(1);
    return !Refused(CheckPeriodLength(start, end), host_.Busy().StartCaption());
}

// The planet pair, and for a single table the aspect types and orbs.  A
// show-all series takes each pair in order and passes over a planet paired
// with itself; a single table refuses it, and a pair in the wrong order.
bool TransitCommands::ChoosePair(const TransitInputs& in, TransitRequest& request) {
    request.firstPlanet = FirstPlanetOf(in);
    request.secondPlanet = SecondPlanetOf(in);
    if (showAllMode_) {
        if (request.firstPlanet == request.secondPlanet) {
            host_.Control().ClearStop();
            return false;
        }
        if (!PlanetsInOrder(request.firstPlanet, request.secondPlanet)) {
            std::swap(request.firstPlanet, request.secondPlanet);
        }
        return true;
    }
    std::optional<Refusal> refusal =
        CheckTablePair(request.firstPlanet, request.secondPlanet, in.heliocentric);
    if (!refusal) refusal = CheckAspectTypesChosen(in.aspectChecked);
    if (!refusal) refusal = CheckOrbs(in.orbIndex[0], in.orbIndex[1], in.orbIndex[2]);
    return !Refused(refusal, host_.Busy().StartCaption());
}

// The Pluto table and the data files cover both dates.
bool TransitCommands::CheckDataFor(const TransitInputs& in, const TransitRequest& request,
                                   std::int32_t start, std::int32_t end) {
    if ((request.firstPlanet == kPluto || request.secondPlanet == kPluto) &&
        !in.plutoTablesLoaded) {
        RefusePlutoWithoutTable(in);
        return false;
    }
    bool dataFileFailed = false;
    std::optional<Refusal> outside;
    MessageBoxes& boxes = host_.Boxes();
    if (!CheckDateInDataSpan(0, start, request.firstPlanet, request.secondPlanet, in.heliocentric,
                             positions_, boxes, &dataFileFailed, &outside) ||
        !CheckDateInDataSpan(1, end, request.firstPlanet, request.secondPlanet, in.heliocentric,
                             positions_, boxes, &dataFileFailed, &outside)) {
        if (!lastRefusal_) lastRefusal_ = outside;
        // A data file that cannot be read ends a show-all series as well,
        // with its one message.
        if (showAllMode_ && dataFileFailed) host_.Control().RequestStop();
        return false;
    }
    return true;
}

// The rest of a table's request: the period (its start moved out of a
// transit under way), the aspect types and the title.
void TransitCommands::PrepareTableRequest(const TransitInputs& in, std::int32_t start,
                                          std::int32_t end, TransitRequest& request) {
    TitleInputs title;
    TakeCommonInputs(in, request, title);
    request.startDay = MoveStartOutOfTransit(start, request.firstPlanet, request.secondPlanet,
                                             in.heliocentric, OrbRadians(request.orbDegrees[2]),
                                             request.TimezoneMinutes(), positions_);
    request.endDay = end;
    for (int type = 1; type <= kAspectCount; ++type) {
        request.aspectEnabled[type] = in.aspectChecked[static_cast<std::size_t>(type - 1)];
    }
    request.showAllMode = showAllMode_;
    request.searchMode = false;
    title.showAllMode = showAllMode_;
    title.startDay = start;
    title.endDay = end;
    request.reportTitle = ReportTitle(title);
}

void TransitCommands::Search() {
    lastRefusal_.reset();
    const TransitInputs in = window_.Inputs();
    const std::int16_t first = FirstPlanetOf(in);
    const std::int16_t second = SecondPlanetOf(in);
    const int aspectType = in.searchAspectIndex + 1;
    if (!in.heliocentric &&
        Refused(CheckGeocentricAspect(first, second, aspectType), kSearchCaption)) {
        return;
    }
    scanner_.SetHeaderPrinted(false);
    scanner_.ClearResults();
    if (!window_.ValidateDate(0) || !window_.ValidateDate(1)) return;
    const int from = in.searchWhenIndex == 0 ? 0 : 1;
    if (!window_.CheckDateFieldsPresent(from)) return;
    const std::int32_t startDay = window_.DayNumber(from);
    if (Refused(CheckTimezoneChosen(in.timezoneIndex), kSearchCaption)) {
        window_.SelectTimezone(kGmtIndex);
        return;
    }
    if (Refused(CheckSearchPair(first, second, in.heliocentric), kSearchCaption)) return;

    TransitRequest request;
    request.firstPlanet = first;
    request.secondPlanet = second;
    request.orbDegrees = SearchOrbDegrees(in.orbIndex[3]);
    if ((first == kPluto || second == kPluto) && !in.plutoTablesLoaded) {
        RefusePlutoWithoutTable(in);
        return;
    }
    host_.Busy().ApplyRunGeometry();

    TitleInputs title;
    TakeCommonInputs(in, request, title);
    request.startDay = startDay;
    request.endDay = kSearchLastDay;
    if (aspectType >= 1 && aspectType <= kAspectCount) request.aspectEnabled[aspectType] = true;
    request.searchMode = true;
    request.showAllMode = false;

    title.searchMode = true;
    title.startDay = startDay;
    title.searchOrbText = in.searchOrbText;
    title.searchAspectText = in.searchAspectText;
    request.reportTitle = ReportTitle(title);

    searchMode_ = true;
    RunScan(request);
    searchMode_ = false;

    if (!scanner_.Table().RowIsEmpty(kFirstTransitRow) && !in.keepDates) {
        window_.ShowDateInFields(0, startDay);
        window_.ShowDateInFields(1, kSearchLastDay);
    }
}

void TransitCommands::ShowAll(int item) {
    const TransitInputs in = window_.Inputs();
    const int list = item == 0 ? 0 : 1;
    // The planet the series keeps: the second for the first button.
    const std::int16_t kept = list == 0 ? SecondPlanetOf(in) : FirstPlanetOf(in);
    if (RefusesMoonHeliocentric(kept, kept, in.heliocentric)) {
        host_.Boxes().Show(kMoonGeocentricOnly, kDefaultTitle, MsgButtons::Ok,
                           MsgIcon::Information);
        return;
    }
    const bool withMoon = ShowAllPairsWithMoon(kept, in.showAllWithMoon, in.heliocentric);
    const int keptFirst = window_.PlanetListIndex(0);
    const int keptSecond = window_.PlanetListIndex(1);
    const bool keptAppend = host_.Busy().AppendChecked();
    OutputBox& out = host_.Output();
    if (!host_.Busy().AppendChecked()) {
        out.Clear();
    } else if (!out.Empty()) {
        out.Append(kLineBreak);
    }
    host_.Busy().SetAppendChecked(true);
    showAllMode_ = true;
    lastRefusal_.reset();
    scanner_.ClearResults();

    // One pass; true when the series is to end.
    auto pass = [this](int list, int index) {
        window_.SelectPlanet(list, index);
        // The series is under way: each pair starts its table directly.
        StartTable();
        if (host_.Control().StopRequested()) {
            host_.Control().ClearStop();
            return true;
        }
        return false;
    };
    bool ended = false;
    const int count = window_.PlanetListCount(list);
    for (int index = 0; index < count && !ended; ++index) {
        if (index != kMoonListIndex) ended = pass(list, index);
    }
    if (list == 0 && !ended) ended = pass(0, -1);  // no entry selected: Pluto
    // The Moon's table comes last, after every table the series had before
    // the Moon joined the lists.
    if (withMoon && !ended && kMoonListIndex < count) pass(list, kMoonListIndex);

    window_.SelectPlanet(0, keptFirst);
    window_.SelectPlanet(1, keptSecond);
    host_.Busy().SetAppendChecked(keptAppend);
    out.MoveCaretToEnd();
    host_.Busy().LeaveBusyState();
    host_.Busy().PopUpNotice("Done");
    showAllMode_ = false;
}

}  // namespace vlt
