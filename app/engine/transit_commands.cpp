#include "app/engine/transit_commands.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/engine/report_lines.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/request_rules.h"
#include "app/positions/timezone_list.h"
#include "app/positions/vocabulary.h"

namespace vlt {

namespace {

constexpr const char* kSearchCaption = "Search";

// The list text of the first planet; Pluto has no entry in that list.
std::string FirstListText(std::int16_t planet, bool heliocentric) {
    return planet == kPluto ? std::string() : PlanetListText(planet, heliocentric);
}

// What every command takes over from the request alike: the centricity, the
// zone and the planet names of the title.
void TakeCommonInputs(const TransitBasics& in, TransitRequest& request, TitleInputs& title) {
    request.heliocentric = in.heliocentric;
    request.timezoneIndex = in.timezoneIndex;
    request.timezoneLabel = in.timezoneLabel;
    title.heliocentric = in.heliocentric;
    title.firstPlanetName = PlanetListText(in.firstPlanet, in.heliocentric);
    title.secondPlanetName = PlanetListText(in.secondPlanet, in.heliocentric);
}

// After "Please specify the timezone ..." the run goes on in the GMT entry,
// which reads the same in both label sets.
void ChooseGmt(TransitBasics& in) {
    in.timezoneIndex = kGmtIndex;
    in.timezoneLabel = TimezoneEntryTexts(false)[static_cast<std::size_t>(kGmtIndex)];
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
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

std::vector<std::pair<std::int16_t, std::int16_t>> ShowAllPairs(const ShowAllRequest& request) {
    // Keeping the second planet steps through the first list, and the other
    // way round.
    const bool stepFirst = !request.keepFirst;
    const std::int16_t kept = request.keepFirst ? request.firstPlanet : request.secondPlanet;
    std::vector<std::pair<std::int16_t, std::int16_t>> pairs;
    auto pairWith = [&](std::int16_t other) {
        pairs.push_back(stepFirst ? std::pair{other, kept} : std::pair{kept, other});
    };
    for (int index = 0; index < kMoonListIndex; ++index) {
        pairWith(stepFirst ? FirstPlanetOfListIndex(index) : SecondPlanetOfListIndex(index));
    }
    if (stepFirst) pairWith(kPluto);
    // The Moon's table comes last, after every table the series had before
    // the Moon joined the lists.
    if (ShowAllPairsWithMoon(kept, request.withMoon, request.heliocentric)) pairWith(kMoon);
    return pairs;
}

std::string PairCaption(std::int16_t first, std::int16_t second, bool heliocentric) {
    return FirstListText(first, heliocentric) + " and " + PlanetListText(second, heliocentric);
}

TransitCommands::TransitCommands(RunHost& host, PositionSource& positions)
    : host_(host),
      positions_(positions),
      plutoTableProblem_(PlutoTableProblem),
      scanner_(host, positions) {}

bool TransitCommands::RefusePlutoWithoutTable(const TransitBasics& in) {
    if (in.firstPlanet != kPluto && in.secondPlanet != kPluto) return false;
    const std::string problem = plutoTableProblem_(in.heliocentric);
    if (problem.empty()) return false;
    host_.Boxes().Show(problem, kDefaultTitle, MsgButtons::Ok, MsgIcon::Exclamation);
    if (showAllMode_) host_.Control().RequestStop();
    return true;
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
    boxFilled_ = boxFilled_ || scanner_.BoxFilled();
}

void TransitCommands::Begin() {
    lastRefusal_.reset();
    boxFilled_ = false;
    pairRefused_ = false;
}

void TransitCommands::Start(const TablesRequest& request) {
    // A request while a transit run is under way (the run control knows)
    // asks that run to pause; it never starts a second one.
    if (host_.Control().Running(RunKind::Transit)) {
        host_.Control().RequestPause();
        return;
    }
    Begin();
    TablesRequest in = request;
    StartTable(in);
}

bool TransitCommands::StartTable(TablesRequest& in) {
    std::int32_t enteredStart = 0;
    std::int32_t enteredEnd = 0;
    if (!CheckEnteredPeriod(in, enteredStart, enteredEnd)) return false;
    // After the message the GMT entry stands chosen: a show-all series goes
    // on in it with its next pair.
    if (Refused(CheckTimezoneChosen(in.timezoneIndex), host_.Busy().StartCaption())) {
        ChooseGmt(in);
        return false;
    }
    TransitRequest request;
    // A series passes over a planet paired with itself without a word.
    if (!ChoosePair(in, request)) return showAllMode_;
    for (std::size_t level = 0; level < 3; ++level) {
        request.orbDegrees[level] = static_cast<std::int16_t>(in.orbDegrees[level]);
    }
    if (!CheckDataFor(in, request, enteredStart, enteredEnd)) return false;
    host_.Control().ClearStop();
    scanner_.SetHeaderPrinted(false);
    // A show-all series keeps every pair's table in its results.
    if (!showAllMode_) scanner_.ClearResults();
    host_.RunPrepared();
    PrepareTableRequest(in, enteredStart, enteredEnd, request);
    RunScan(request);
    return true;
}

// A date the calendar has and the program supports; its day number is kept.
bool TransitCommands::CheckRequestDate(int date, const CalendarDate& entered) {
    const std::optional<std::int32_t> day = DayNumberOfDate(entered);
    std::optional<Refusal> refusal;
    if (!day) {
        refusal = InvalidDateRefusal(date);
    } else {
        enteredDay_[date == 0 ? 0 : 1] = *day;
        refusal = CheckDateSpan(date, *day);
    }
    if (refusal) ShowRefusal(*refusal, host_.Boxes(), host_.Busy().StartCaption());
    return !refusal;
}

// Both dates valid, the start at least 3 days before the end.
bool TransitCommands::CheckEnteredPeriod(const TablesRequest& in, std::int32_t& start,
                                         std::int32_t& end) {
    if (!CheckRequestDate(0, in.start) || !CheckRequestDate(1, in.end)) return false;
    start = enteredDay_[0];
    end = enteredDay_[1];
    return !Refused(CheckPeriodLength(start, end), host_.Busy().StartCaption());
}

// The planet pair, and for a single table the aspect types and orbs.  A
// show-all series takes each pair in order and passes over a planet paired
// with itself; a single table refuses it, and a pair in the wrong order.
bool TransitCommands::ChoosePair(const TablesRequest& in, TransitRequest& request) {
    request.firstPlanet = in.firstPlanet;
    request.secondPlanet = in.secondPlanet;
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
    if (!refusal) refusal = CheckAspectTypesChosen(in.aspects);
    if (!refusal) {
        refusal = CheckOrbs(OrbListIndexOfDegrees(in.orbDegrees[0]),
                            OrbListIndexOfDegrees(in.orbDegrees[1]),
                            OrbListIndexOfDegrees(in.orbDegrees[2]));
    }
    return !Refused(refusal, host_.Busy().StartCaption());
}

// The Pluto table and the data files cover both dates.
bool TransitCommands::CheckDataFor(const TablesRequest& in, const TransitRequest& request,
                                   std::int32_t start, std::int32_t end) {
    TransitBasics pair = in;
    pair.firstPlanet = request.firstPlanet;
    pair.secondPlanet = request.secondPlanet;
    if (RefusePlutoWithoutTable(pair)) return false;
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
void TransitCommands::PrepareTableRequest(const TablesRequest& in, std::int32_t start,
                                          std::int32_t end, TransitRequest& request) {
    TitleInputs title;
    TakeCommonInputs(in, request, title);
    request.startDay = MoveStartOutOfTransit(start, request.firstPlanet, request.secondPlanet,
                                             in.heliocentric, OrbRadians(request.orbDegrees[2]),
                                             request.TimezoneMinutes(), positions_);
    request.endDay = end;
    for (int type = 1; type <= kAspectCount; ++type) {
        request.aspectEnabled[type] = in.aspects[static_cast<std::size_t>(type - 1)];
    }
    request.showAllMode = showAllMode_;
    request.searchMode = false;
    title.showAllMode = showAllMode_;
    title.startDay = start;
    title.endDay = end;
    request.reportTitle = ReportTitle(title);
}

void TransitCommands::Search(const SearchRequest& in) {
    Begin();
    const std::int16_t first = in.firstPlanet;
    const std::int16_t second = in.secondPlanet;
    const int aspectType = in.aspect;
    if (!in.heliocentric &&
        Refused(CheckGeocentricAspect(first, second, aspectType), kSearchCaption)) {
        return;
    }
    scanner_.SetHeaderPrinted(false);
    scanner_.ClearResults();
    if (!CheckRequestDate(0, in.start) || !CheckRequestDate(1, in.end)) return;
    const std::int32_t startDay = enteredDay_[in.fromEnd ? 1 : 0];
    if (Refused(CheckTimezoneChosen(in.timezoneIndex), kSearchCaption)) return;
    if (Refused(CheckSearchPair(first, second, in.heliocentric), kSearchCaption)) return;

    TransitRequest request;
    request.firstPlanet = first;
    request.secondPlanet = second;
    request.orbDegrees = SearchOrbDegrees(SearchOrbListIndexOfDegrees(in.orbDegrees));
    if (RefusePlutoWithoutTable(in)) return;
    host_.RunPrepared();

    TitleInputs title;
    TakeCommonInputs(in, request, title);
    request.startDay = startDay;
    request.endDay = kSearchLastDay;
    const bool known = aspectType >= 1 && aspectType <= kAspectCount;
    if (known) request.aspectEnabled[aspectType] = true;
    request.searchMode = true;
    request.showAllMode = false;

    title.searchMode = true;
    title.startDay = startDay;
    title.searchOrbText = std::to_string(in.orbDegrees) + "\xC2\xB0";
    title.searchAspectText =
        known ? Lowered(AspectNames[static_cast<std::size_t>(aspectType)].name) : std::string();
    request.reportTitle = ReportTitle(title);

    searchMode_ = true;
    RunScan(request);
    searchMode_ = false;
}

bool TransitCommands::ShowAllPass(TablesRequest& series, std::int16_t first, std::int16_t second) {
    series.firstPlanet = first;
    series.secondPlanet = second;
    host_.SeriesPair(first, second, PairCaption(first, second, series.heliocentric));
    // The series is under way: each pair starts its table directly.
    if (!StartTable(series)) pairRefused_ = true;
    if (host_.Control().StopRequested()) {
        host_.Control().ClearStop();
        return true;
    }
    return false;
}

void TransitCommands::ShowAll(const ShowAllRequest& request) {
    const std::int16_t kept = request.keepFirst ? request.firstPlanet : request.secondPlanet;
    if (RefusesMoonHeliocentric(kept, kept, request.heliocentric)) {
        host_.Boxes().Show(kMoonGeocentricOnly, kDefaultTitle, MsgButtons::Ok,
                           MsgIcon::Information);
        return;
    }
    OutputBox& out = host_.Output();
    if (!host_.AppendsToOutput()) {
        out.Clear();
    } else if (!out.Empty()) {
        out.Append(kLineBreak);
    }
    host_.SeriesStarted();
    showAllMode_ = true;
    Begin();
    scanner_.ClearResults();

    TablesRequest series = request;
    for (const auto& [first, second] : ShowAllPairs(request)) {
        if (ShowAllPass(series, first, second)) break;
    }
    host_.SeriesPair(request.firstPlanet, request.secondPlanet,
                     PairCaption(request.firstPlanet, request.secondPlanet, request.heliocentric));
    host_.SeriesFinished();
    out.MoveCaretToEnd();
    host_.Busy().LeaveBusyState();
    host_.RunDone();
    showAllMode_ = false;
}

}  // namespace vlt
