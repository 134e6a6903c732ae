#include "app/engine/transit_scan.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "app/engine/exact_minimum.h"
#include "app/engine/report_lines.h"
#include "app/positions/positions.h"

namespace vlt {

namespace {

// Progress goes to the window at most this often.
constexpr long long kProgressIntervalNanos = 250'000'000;
// The clock is looked at once per this many steps.
constexpr unsigned long kProgressStepMask = 63;

long long NowNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int32_t IntDay(double x) { return static_cast<std::int32_t>(std::floor(x)); }

// Slack for the rounding of longitudes and separations (radians): far
// below any move the bounds allow, far above a double's rounding.
constexpr double kRoundingSlack = 1e-9;
// The longest jump: the scan yields to the window at every step it makes.
constexpr long kLongestJump = 4096;
// Beyond every separation: no critical value that way.
constexpr double kNoCritical = 10.0;

// The local time at which an exact-minimum search starts: 1.5 steps before
// t, down to a whole minute.  The planets' steps put it on a whole minute
// already (and this gives back the very same double); the Moon's 45-minute
// step puts it on a half minute, and the report's minutes are counted from
// a whole one.
double SearchStartLocal(double t, double step) {
    return std::floor((t - 1.5 * step + 0.5) * 1440.0) / 1440.0 - 0.5;
}

// The first grid minute of every new day of universal time inside a search
// from universalLow: the outer planets' records and Pluto's daily table
// entries change at 0h universal time, where the distance may jump or bend.
std::vector<long> DayBreaks(double universalLow, long lastMinute) {
    std::vector<long> breaks;
    const auto dayOf = [&](long k) { return std::floor(universalLow + k / 1440.0 + 0.5); };
    const double lastDay = dayOf(lastMinute);
    for (double day = dayOf(0) + 1.0; day <= lastDay; day += 1.0) {
        long k = std::clamp(std::lround((day - 0.5 - universalLow) * 1440.0), 1L, lastMinute);
        while (k > 1 && dayOf(k - 1) >= day) --k;
        while (k < lastMinute && dayOf(k) < day) ++k;
        breaks.push_back(k);
    }
    return breaks;
}

}  // namespace

TransitScanner::TransitScanner(RunHost& host, PositionSource& positions)
    : host_(host), positions_(positions) {}

void TransitScanner::UseRequest(const TransitRequest& request) {
    req_ = request;
    tzMinutes_ = req_.TimezoneMinutes();
    tzDays_ = tzMinutes_ / 1440.0;
    step_ = ScanStep(req_.firstPlanet, req_.secondPlanet);
    bounds_ = std::nullopt;
    if (positions_.FollowsMotionBounds()) {
        bounds_ =
            SeparationStepBounds(req_.firstPlanet, req_.secondPlanet, req_.heliocentric, step_);
    }
}

void TransitScanner::ClearOrbFlags() {
    for (int type = 1; type <= req_.aspectTypeCount && type < 8; ++type) {
        for (OrbLevel& level : orbs_[type]) level.inOrbAtT = level.inOrbAtNext = false;
    }
}

void TransitScanner::ClearTransitTable() { table_.Clear(); }

void TransitScanner::BuildTableHeader() {
    FillTableHeader(table_, req_.reportTitle, req_.orbDegrees[0], req_.orbDegrees[1],
                    req_.orbDegrees[2]);
    headerRowsBuilt_ = true;
}

void TransitScanner::ResetOffsets() { offset_.fill(0); }

bool TransitScanner::RetrogradeAt(std::int32_t day, int minutes, std::int16_t planet) {
    if (req_.heliocentric || req_.showAllMode) return false;
    const double ut = day - 0.5 - minutes / 1440.0;
    return positions_.IsRetrograde(planet, ut);
}

std::optional<TransitMinimum> TransitScanner::ExactMinimumNear(
    double t, std::int16_t first, std::int16_t second, int aspectType, double step,
    const std::array<double, 3>* scanDistances) {
    if (exactMinimumObserver_) exactMinimumObserver_(t, aspectType);
    if (minuteByMinute_) {
        return ExactMinimumOf(t, first, step,
                              ExactMinute(t, first, second, aspectType, step, true));
    }
    const std::optional<SmoothSearch> smooth =
        SmoothSearchAround(t, first, second, aspectType, step, scanDistances);
    if (!smooth) {
        return ExactMinimumOf(t, first, step,
                              ExactMinute(t, first, second, aspectType, step, false));
    }
    // Most local minima far from the aspect (a station) are settled by the
    // samples alone: the distance cannot come below one minute of arc.
    if (StaysAtOrAbove(smooth->known, smooth->lastMinute, smooth->curvature, kExactMinimumLimit)) {
        return std::nullopt;
    }
    std::array<double, 3> samples{};
    for (std::size_t s = 0; s < 3; ++s) samples[s] = smooth->known[s].distance;
    return ExactMinimumOf(t, first, step,
                          ExactMinute(t, first, second, aspectType, step, false, &samples));
}

std::string TransitScanner::FindExactMinimum(double t, std::int16_t first, std::int16_t second,
                                             int aspectType, double step) {
    const std::optional<TransitMinimum> found =
        ExactMinimumNear(t, first, second, aspectType, step);
    if (!found) return "";
    return MinimumDateText(*found) + MinimumDetailText(*found, req_.timezoneLabel);
}

std::string TransitScanner::FindExactMinimumMinuteByMinute(double t, std::int16_t first,
                                                           std::int16_t second, int aspectType,
                                                           double step) {
    return ExactMinimumText(t, first, step, ExactMinute(t, first, second, aspectType, step, true));
}

GridMinimum TransitScanner::ExactMinute(double t, std::int16_t first, std::int16_t second,
                                        int aspectType, double step, bool minuteByMinute,
                                        const std::array<double, 3>* scanDistances) {
    const double universalLow = SearchStartLocal(t, step) - tzDays_;
    const double universalHigh = t + 1.5 * step - tzDays_;
    const double angle = req_.aspectAngle[aspectType];
    const long lastMinute = std::lround((universalHigh - universalLow) * 1440.0);
    const auto distanceAtTime = [&](double x) {
        const PositionResult a = positions_.Position(first, x, req_.heliocentric);
        const PositionResult b = positions_.Position(second, x, req_.heliocentric);
        return std::fabs(ShortestSeparation(a, b) - angle);
    };
    const GridDistance distanceAt = [&](long k) {
        return distanceAtTime(universalLow + k / 1440.0);
    };
    if (minuteByMinute) return MinuteByMinuteMinimum(distanceAt, lastMinute);
    const std::vector<long> breaks = DayBreaks(universalLow, lastMinute);
    // Where the distance is one smooth function of time, the scan's own
    // samples at t - step, t and t + step lead the search to the minute.
    const std::optional<SmoothSearch> smooth =
        SmoothSearchAround(t, first, second, aspectType, step, scanDistances);
    if (!smooth) return FastGridMinimum(distanceAt, lastMinute, breaks);
    const std::vector<KnownDistance> known(smooth->known.begin(), smooth->known.end());
    return SmoothGridMinimum(distanceAt, lastMinute, breaks, known, smooth->curvature);
}

std::optional<TransitScanner::SmoothSearch> TransitScanner::SmoothSearchAround(
    double t, std::int16_t first, std::int16_t second, int aspectType, double step,
    const std::array<double, 3>* scanDistances) {
    const double universalLow = SearchStartLocal(t, step) - tzDays_;
    const double universalHigh = t + 1.5 * step - tzDays_;
    const double angle = req_.aspectAngle[aspectType];
    const auto distanceAt = [&](int s) {
        if (scanDistances) return (*scanDistances)[static_cast<std::size_t>(s)];
        const double x = t + (s - 1) * step - tzDays_;
        const PositionResult a = positions_.Position(first, x, req_.heliocentric);
        const PositionResult b = positions_.Position(second, x, req_.heliocentric);
        return std::fabs(ShortestSeparation(a, b) - angle);
    };
    const double distanceAtT = distanceAt(1);
    const std::optional<double> curvature =
        SearchCurvature(first, second, aspectType, universalLow, universalHigh, distanceAtT);
    if (!curvature) return std::nullopt;
    SmoothSearch smooth;
    smooth.curvature = *curvature;
    smooth.lastMinute = std::lround((universalHigh - universalLow) * 1440.0);
    for (int s = 0; s < 3; ++s) {
        const double x = t + (s - 1) * step - tzDays_;
        smooth.known[static_cast<std::size_t>(s)] = {(x - universalLow) * 1440.0,
                                                     s == 1 ? distanceAtT : distanceAt(s)};
    }
    return smooth;
}

std::optional<double> TransitScanner::SearchCurvature(std::int16_t first, std::int16_t second,
                                                      int aspectType, double low, double high,
                                                      double distanceAtT) const {
    if (!positions_.FollowsMotionBounds()) return std::nullopt;
    const std::optional<double> curvature = SeparationCurvature(first, second, req_.heliocentric);
    const std::optional<LongitudeMotion> a = MeasuredMotion(first, req_.heliocentric);
    const std::optional<LongitudeMotion> b = MeasuredMotion(second, req_.heliocentric);
    if (!curvature || !a || !b) return std::nullopt;
    for (const std::int16_t planet : {first, second}) {
        if (SmoothPiece(planet, low) != SmoothPiece(planet, high)) return std::nullopt;
    }
    // The separation must not fold over 0 or 180 degrees inside the search
    // (but at an aspect of 0 or 180 degrees, where the fold is the minimum
    // itself): the distance moves at most this far from t.
    const double half = kTwoPi / 2;
    const double angle = req_.aspectAngle[aspectType];
    const double reach = (a->rate + b->rate) * kMotionMargin * kTwoPi / 360.0 * (high - low);
    const double fold = std::min(angle > kRoundingSlack ? angle : half,
                                 angle < half - kRoundingSlack ? half - angle : half);
    if (!(distanceAtT + reach < fold - kRoundingSlack)) return std::nullopt;
    return *curvature / (1440.0 * 1440.0);
}

std::string TransitScanner::ExactMinimumText(double t, std::int16_t first, double step,
                                             const GridMinimum& found) {
    const std::optional<TransitMinimum> exact = ExactMinimumOf(t, first, step, found);
    if (!exact) return "";
    return MinimumDateText(*exact) + MinimumDetailText(*exact, req_.timezoneLabel);
}

std::optional<TransitMinimum> TransitScanner::ExactMinimumOf(double t, std::int16_t first,
                                                             double step,
                                                             const GridMinimum& found) {
    if (!(found.distance < kExactMinimumLimit)) return std::nullopt;
    // Minutes are counted as whole numbers from the local start of the
    // search, so that the day and the clock time of the best minute come out
    // exactly, whatever the rounding of the Julian dates.  The local start
    // + 0.5 lies on a whole number of minutes.
    const double localLow = SearchStartLocal(t, step);
    const long long startMinutes = std::llround((localLow + 0.5) * 1440.0);
    const long long total = startMinutes + found.minute;
    long long dayNumber = total / 1440;
    long long minuteOfDay = total % 1440;
    if (minuteOfDay < 0) {
        minuteOfDay += 1440;
        --dayNumber;
    }
    const auto d = static_cast<std::int32_t>(dayNumber);
    TransitMinimum exact;
    exact.day = d;
    exact.retrograde = RetrogradeAt(d + 1, tzMinutes_, first);
    exact.exact = true;
    exact.minuteOfDay = static_cast<int>(minuteOfDay);
    exact.distance = found.distance;
    return exact;
}

void TransitScanner::WriteApproximateMinimum(std::int32_t row, double time, double distance,
                                             int minutes) {
    const std::int32_t day = IntDay(time + 0.5);
    TransitMinimum approximate;
    approximate.day = day;
    approximate.retrograde = RetrogradeAt(day + 1, minutes, req_.firstPlanet);
    approximate.distance = distance;
    LineAt(row).minimum = approximate;
}

void TransitScanner::StartResultTable() {
    TransitTableResult result;
    result.centricity = CentricityOf(req_.heliocentric);
    result.first = PlanetOfNumber(req_.firstPlanet).value_or(Planet::Sun);
    result.second = PlanetOfNumber(req_.secondPlanet).value_or(Planet::Sun);
    result.orbs = Orbs{req_.orbDegrees[0], req_.orbDegrees[1], req_.orbDegrees[2]};
    result.zoneLabel = req_.timezoneLabel;
    result.title = req_.reportTitle;
    result.search = req_.searchMode;
    results_.push_back(std::move(result));
}

void TransitScanner::WriteTableRow(std::int32_t row) {
    OutputBox& out = host_.Output();
    if (out.LongerThan(kOutputRowLimit)) {
        boxFilled_ = true;
        host_.Boxes().Show("Output textbox is full.", host_.Busy().WindowCaption(), MsgButtons::Ok,
                           MsgIcon::Exclamation);
        out.Append("Textbox is full -- ");
        host_.Control().RequestPause();
        host_.Control().RequestStop();
        return;
    }
    if (!headerPrinted_ || results_.empty()) {
        const TableHeader& header = table_.Header();
        if (!headerPrinted_) {
            out.Append(header.titleBlock + kLineBreak);
            out.Append(TableRowLine(header.headings));
            out.Append(header.closingRule);
        }
        headerPrinted_ = true;
        StartResultTable();
    }
    const TransitLine& line = table_.Line(row);
    out.Append(TransitLineText(line, req_.timezoneLabel));
    results_.back().lines.push_back(line);
    out.MoveCaretToEnd();
    out.Refresh();
}

TransitScanner::OrbSwitch TransitScanner::DetectOrbSwitch() const {
    OrbSwitch result;
    if (!req_.orbSwitch) return result;
    for (int type = 1; type <= req_.aspectTypeCount && type < 8; ++type) {
        const OrbLevel& outer = orbs_[type][0];
        if (outer.inOrbAtT && !outer.inOrbAtNext) result.first = type;
        if (!outer.inOrbAtT && outer.inOrbAtNext) result.second = type;
    }
    result.found = result.first != 0 && result.second != 0;
    return result;
}

void TransitScanner::FlushTransit() {
    if (!headerRowsBuilt_) BuildTableHeader();
    if (baseRow_ > kFirstTransitRow) {
        // A transit of the aspect named last in the table leaves its name
        // out.
        for (std::int32_t r = baseRow_ - 1; r >= kFirstTransitRow; --r) {
            const std::optional<Aspect> named = table_.Line(r).aspect;
            if (!named) continue;
            if (named == table_.Line(baseRow_).aspect) LineAt(baseRow_).aspect.reset();
            break;
        }
    }
    std::int32_t row = baseRow_;
    while (!table_.RowIsEmpty(row) && !host_.Control().PauseRequested()) {
        WriteTableRow(row);
        if (host_.Control().PauseRequested()) break;  // the output box is full: row not written
        ++row;
    }
    baseRow_ = row;
    ResetOffsets();
    runningMinimum_ = 10.0;
    host_.Output().Refresh();
}

// Each longitude is asked for at the very time the step-by-step scan asks
// for it: t itself is reached by the same additions, and the sample after
// it is t + step, so a jump changes no date and no distance.
void TransitScanner::ComputeSamples(double t, double before, Sampling sampling) {
    const std::int16_t planets[2] = {req_.firstPlanet, req_.secondPlanet};
    for (int p = 0; p < 2; ++p) {
        auto& lon = lon_[p];
        const auto at = [&](double x) {
            return positions_.Position(planets[p], x, req_.heliocentric);
        };
        switch (sampling) {
            case Sampling::First:
                for (int s = 0; s < 3; ++s) lon[s] = at(t + (s - 1) * step_ - tzDays_);
                break;
            case Sampling::Next:
                lon[0] = lon[1];
                lon[1] = lon[2];
                lon[2] = at(t + step_ - tzDays_);
                break;
            case Sampling::Landing:
            case Sampling::LandingWithoutBefore:
                // Without the sample before, no reader of it can be reached
                // (see StepsWithoutEvents): it is left missing.
                lon[0] =
                    sampling == Sampling::Landing ? at(before - tzDays_) : PositionResult::None();
                lon[1] = at(t - tzDays_);
                lon[2] = at(t + step_ - tzDays_);
                break;
        }
    }
}

void TransitScanner::EvaluateOrbs() {
    for (int s = 0; s < 3; ++s) {
        separation_[s] = ShortestSeparation(lon_[0][s], lon_[1][s]);
    }
    for (int type = 1; type <= req_.aspectTypeCount && type < 8; ++type) {
        if (!req_.aspectEnabled[type]) continue;
        for (int s = 0; s < 3; ++s) {
            distance_[type][s] = std::fabs(separation_[s] - req_.aspectAngle[type]);
        }
        for (int level = 0; level < 3; ++level) {
            orbs_[type][level].inOrbAtT = distance_[type][1] < req_.orb[level];
            orbs_[type][level].inOrbAtNext = distance_[type][2] < req_.orb[level];
        }
    }
}

void TransitScanner::SetAspectNameIfEmpty(int type) {
    TransitLine& line = LineAt(baseRow_);
    if (!line.aspect) line.aspect = AspectOfNumber(type);
}

bool TransitScanner::AnyStartFilled(std::int32_t row) const { return table_.Line(row).AnyEntry(); }

// Classifies each enabled aspect's orb levels for this step (entering,
// inside, leaving) and returns the aspect type with an event, 0 when none.
// An outer orb entered by the neighbouring aspect in the step another's was
// left belongs to the switch, not to an entry.
int TransitScanner::ClassifyOrbEvents(const OrbSwitch& orbSwitch) {
    int active = 0;
    for (int type = 1; type <= req_.aspectTypeCount && type < 8; ++type) {
        if (!req_.aspectEnabled[type]) continue;
        for (OrbLevel& level : orbs_[type]) {
            const bool before = level.inOrbAtT;
            const bool after = level.inOrbAtNext;
            level.event = !before && after  ? OrbEvent::Entering
                          : before && after ? OrbEvent::Inside
                          : before          ? OrbEvent::Leaving
                                            : OrbEvent::None;
        }
        if (orbSwitch.found && type == orbSwitch.second &&
            orbs_[type][0].event == OrbEvent::Entering) {
            orbs_[type][0].event = OrbEvent::None;
        }
        for (const OrbLevel& level : orbs_[type]) {
            if (level.event != OrbEvent::None) active = type;
        }
    }
    return active;
}

// The innermost level entered or left in this step, and the innermost level
// the transit is inside; -1 for none.
TransitScanner::LevelEvents TransitScanner::LevelEventsOf(int type) const {
    LevelEvents levels;
    for (int level = 2; level >= 0; --level) {
        const OrbEvent e = orbs_[type][static_cast<std::size_t>(level)].event;
        if (e == OrbEvent::Entering) levels.entry = level;
        if (e == OrbEvent::Leaving) levels.exit = level;
        if (e == OrbEvent::Inside && levels.inside < 0) levels.inside = level;
    }
    return levels;
}

// Column offsets below the transit's first row: each start and end column
// fills its own rows, the minimum column moves them on.
std::int32_t& TransitScanner::Offset(TransitColumn column) {
    return offset_[static_cast<std::size_t>(column)];
}

void TransitScanner::NextMinimumRow() {
    ++Offset(TransitColumn::Minimum);
    Offset(TransitColumn::InnerStart) = Offset(TransitColumn::MiddleStart) =
        Offset(TransitColumn::Minimum);
}

void TransitScanner::RecordEntry(int type, int level, const OrbCrossing& crossing, double t) {
    runningMinimum_ = distance_[type][1];
    runningMinimumTime_ = t;
    if (level == 0) {
        LineAt(baseRow_).aspect = AspectOfNumber(type);
        LineAt(baseRow_).entry[0] = crossing;
        ResetOffsets();
        return;
    }
    SetAspectNameIfEmpty(type);
    const TransitColumn start = StartColumn(level);
    LineAt(baseRow_ + Offset(start)).entry[static_cast<std::size_t>(level)] = crossing;
    Offset(EndColumn(level)) = Offset(start);
}

void TransitScanner::WriteRunningMinimum() {
    WriteApproximateMinimum(baseRow_ + Offset(TransitColumn::Minimum), runningMinimumTime_,
                            runningMinimum_, tzMinutes_);
}

// The inner or middle orb left: the end goes into its column, and the
// running minimum into the minimum column when no exact one was found.
void TransitScanner::RecordInnerExit(int type, int level, const OrbCrossing& crossing) {
    const std::int32_t row = baseRow_ + Offset(EndColumn(level));
    LineAt(row).exit[static_cast<std::size_t>(level)] = crossing;
    SetAspectNameIfEmpty(type);
    if (table_.Line(row).minimum) return;
    if (level == 2 || AnyStartFilled(baseRow_ + Offset(TransitColumn::Minimum))) {
        WriteRunningMinimum();
    }
    NextMinimumRow();
}

// Leaving the outer orb ends the transit: its rows are written.  True when a
// search has found its transit.
bool TransitScanner::RecordOuterExit(int type, const OrbCrossing& crossing, double t,
                                     std::int32_t markerDay, const OrbSwitch& orbSwitch) {
    LineAt(baseRow_).exit[0] = crossing;
    SetAspectNameIfEmpty(type);
    if (AnyStartFilled(baseRow_) && !table_.Line(baseRow_).minimum) {
        WriteRunningMinimum();
    }
    FlushTransit();
    if (req_.searchMode) return true;
    if (orbSwitch.found && t != static_cast<double>(req_.endDay)) {
        // With a 15-degree outer orb the neighbouring aspect's orb starts
        // where this one ends: its transit begins in the same step.
        LineAt(baseRow_).aspect = AspectOfNumber(orbSwitch.second);
        LineAt(baseRow_).entry[0] =
            OrbCrossing{crossing.day, RetrogradeAt(markerDay, tzMinutes_, req_.firstPlanet)};
    }
    return false;
}

// Neither entry nor exit: follow the running minimum and look for an exact
// minimum at a local minimum inside the inner orb.
void TransitScanner::FollowMinimum(double t, bool firstStep, int type, int insideLevel) {
    const auto& distance = distance_[type];
    if (firstStep) {
        runningMinimum_ = distance[1];
        runningMinimumTime_ = req_.startDay - 0.5;
    } else if (distance[1] < runningMinimum_) {
        runningMinimum_ = distance[1];
        runningMinimumTime_ = t;
    }
    if (insideLevel != 2 || !(distance[1] < distance[0] && distance[1] < distance[2])) return;
    // The scan's samples go to the search where it has all three.
    const bool sampled = lon_[0][0].HasLongitude() && lon_[1][0].HasLongitude();
    const std::optional<TransitMinimum> exact = ExactMinimumNear(
        t, req_.firstPlanet, req_.secondPlanet, type, step_, sampled ? &distance : nullptr);
    if (!exact) return;
    LineAt(baseRow_ + Offset(TransitColumn::Minimum)).minimum = exact;
    NextMinimumRow();
    runningMinimumTime_ = t;
}

bool TransitScanner::HandleEvents(double t, bool firstStep, const OrbSwitch& orbSwitch) {
    const int active = ClassifyOrbEvents(orbSwitch);
    if (active == 0) return false;
    const LevelEvents levels = LevelEventsOf(active);
    const std::int32_t markerDay = IntDay(t);
    if (levels.entry < 0 && levels.exit < 0) {
        FollowMinimum(t, firstStep, active, levels.inside);
        return false;
    }
    const OrbCrossing crossing{IntDay(t + step_ + 0.5),
                               RetrogradeAt(markerDay, tzMinutes_, req_.firstPlanet)};
    if (levels.entry >= 0) {
        RecordEntry(active, levels.entry, crossing, t);
        return false;
    }
    if (levels.exit > 0) {
        RecordInnerExit(active, levels.exit, crossing);
        return false;
    }
    return RecordOuterExit(active, crossing, t, markerDay, orbSwitch);
}

bool TransitScanner::PositionsFailed() {
    const std::optional<PositionFailure> failure = positions_.Failure();
    if (!failure) return false;
    positions_.ClearFailure();
    host_.Boxes().Show(failure->Message(), host_.Busy().WindowCaption(), MsgButtons::Ok,
                       MsgIcon::Exclamation);
    return true;
}

void TransitScanner::ReportProgressMaybe(double t, double first, double last,
                                         unsigned long stepCount) {
    if ((stepCount & kProgressStepMask) != 0) return;
    const long long now = NowNanos();
    if (now - lastProgressNanos_ < kProgressIntervalNanos) return;
    lastProgressNanos_ = now;
    const double span = last - first;
    host_.Busy().ReportProgress(span > 0 ? (t - first) / span : 1.0);
}

// ---- Steps in which nothing can happen ------------------------------------
//
// S_j is the separation at grid point j.  The motion bounds give, for every
// j, |S_j+1 - S_j| <= move; while no S_j folds over 0 or 180 degrees,
// |(S_j+2 - S_j+1) - (S_j+1 - S_j)| <= bend; and while moreover four
// neighbouring points lie in one smooth piece of both bodies, their third
// difference is at most turn.  After step k (samples k-1, k, k+1), with
// v = S_k+1 - S_k and a = S_k+1 - 2 S_k + S_k-1, for n >= 1:
//   |S_k+1+n - S_k+1| <= n move                                        (1)
//   |S_k+1+n - S_k+1 - n v| <= bend n (n + 1) / 2                      (2)
//   |S_k+1+n - S_k+1 - n v - a n (n+1) / 2| <= turn n (n+1) (n+2) / 6  (3)
// and for the move into S_k+1+n:
//   |S_k+1+n - S_k+n - v| <= n bend                                    (4)
//   |S_k+1+n - S_k+n - v - n a| <= turn n (n + 1) / 2                  (5)
// A step does something only when an orb level is entered or left, or
// inside an orb when its running minimum falls or a local minimum lies in
// the inner orb.  docs/performance.md gives the argument in full.

// What the bounds start from after step k.
void TransitScanner::PrepareExtrapolation(double t) {
    Extrapolation& e = extrapolation_;
    const double* s = separation_;
    const double half = kTwoPi / 2;
    e.s = s[2];
    e.v = s[2] - s[1];
    e.a = 0.0;
    e.smoothSteps = 0;
    // (2) and (4) need S_k and S_k+1 on one side of 0 and 180 degrees, (3)
    // and (5) S_k-1 as well, and points of one smooth piece.
    const double clear = bounds_->move + kRoundingSlack;
    e.curved = std::min({s[1], s[2], half - s[1], half - s[2]}) > clear;
    if (!e.curved || !(bounds_->turn > 0.0)) return;
    for (const auto& lon : lon_) {
        if (!lon[0].HasLongitude()) return;
    }
    if (!(std::min(s[0], half - s[0]) > clear)) return;
    e.a = s[2] - 2 * s[1] + s[0];
    e.smoothSteps = SmoothSteps(t - step_);
}

// The largest n for which the grid points from `before` (k-1) to k+1+n lie
// in one smooth piece of both bodies, at most the longest jump.
long TransitScanner::SmoothSteps(double before) const {
    const auto onePiece = [&](long n) {
        const double last = before + static_cast<double>(n + 2) * step_ - tzDays_;
        for (const std::int16_t planet : {req_.firstPlanet, req_.secondPlanet}) {
            if (SmoothPiece(planet, before - tzDays_) != SmoothPiece(planet, last)) return false;
        }
        return true;
    };
    if (onePiece(kLongestJump)) return kLongestJump;
    if (!onePiece(1)) return 0;
    // Pieces follow one another in time: halve between a yes and a no.
    long yes = 1;
    long no = kLongestJump;
    while (no - yes > 1) {
        const long middle = yes + (no - yes) / 2;
        (onePiece(middle) ? yes : no) = middle;
    }
    return yes;
}

// The steps k+1 ... k+N over which every S_k+1+n (n = 1 ... N) provably
// stays strictly between low and high, and with `monotone` also moves the
// way v does.  (1) holds whatever the folds; (2) and (3) show a point on
// the unfolded branch only while their reach stays between 0 and 180
// degrees, and the moves (4) and (5) rest on that.
long TransitScanner::StepsInside(double low, double high, bool monotone) const {
    const Extrapolation& e = extrapolation_;
    const double move = bounds_->move;
    const double bend = bounds_->bend;
    const double turn = bounds_->turn;
    const double curvedLow = std::max(low, 0.0);
    const double curvedHigh = std::min(high, kTwoPi / 2);
    const auto within = [](double centre, double reach, double lo, double hi) {
        return centre - reach > lo + kRoundingSlack && centre + reach < hi - kRoundingSlack;
    };
    const double sign = e.v > 0 ? 1.0 : -1.0;
    long steps = 0;
    for (long n = 1; n <= kLongestJump; ++n) {
        const double dn = static_cast<double>(n);
        const double tri = dn * (dn + 1) / 2;
        const bool smooth = n <= e.smoothSteps;
        const double straight = e.s + dn * e.v;
        const bool inside = (!monotone && within(e.s, dn * move, low, high)) ||
                            (e.curved && within(straight, bend * tri, curvedLow, curvedHigh)) ||
                            (smooth && within(straight + e.a * tri, turn * tri * (dn + 2) / 3,
                                              curvedLow, curvedHigh));
        if (!inside) break;
        const bool oneWay = (e.curved && sign * e.v > dn * bend + kRoundingSlack) ||
                            (smooth && sign * (e.v + dn * e.a) > turn * tri + kRoundingSlack);
        if (monotone && !oneWay) break;
        steps = n;
    }
    return steps;
}

// The nearest separation from `from`, upwards or downwards, at which a
// distance of an enabled aspect meets an orb or the aspect itself; plus or
// minus infinity for none.
double TransitScanner::NextCriticalSeparation(double from, bool upwards) const {
    double best = upwards ? kNoCritical : -kNoCritical;
    // A critical value at `from` itself (within the slack) counts: moving
    // off an orb boundary enters or leaves the orb.
    const auto consider = [&](double c) {
        if (upwards ? (c > from - kRoundingSlack && c < best)
                    : (c < from + kRoundingSlack && c > best)) {
            best = c;
        }
    };
    for (int type = 1; type <= req_.aspectTypeCount && type < 8; ++type) {
        if (!req_.aspectEnabled[type]) continue;
        const double angle = req_.aspectAngle[type];
        consider(angle);
        for (int level = 0; level < 3; ++level) {
            consider(angle - req_.orb[level]);
            consider(angle + req_.orb[level]);
        }
    }
    return best;
}

// A skipped step k+1 inside an orb lowers the running minimum with its own
// distance, as the step would.
void TransitScanner::ApplySkippedStep(double t) {
    const double next = distance_[activeType_][2];
    if (!(next < runningMinimum_)) return;
    runningMinimum_ = next;
    runningMinimumTime_ = t + step_;
}

// Inside an orb at k+1, between low and high (the critical separations
// around S_k+1).  Outside the inner orb nothing runs while the distance stays
// at or above the running minimum (after step k+1), even where the
// separation turns.  Otherwise the separation has to move one way from S_k
// on, so that the distance moves one way (no local minimum): a rising
// distance leaves the running minimum alone after step k+1; a falling one
// lowers it at every step, and the landing replays the last (it has that
// sample).
TransitScanner::Skip TransitScanner::InsideOrbSteps(double t, int active, double low, double high) {
    const double s1 = separation_[1];
    const double s2 = separation_[2];
    const double angle = req_.aspectAngle[active];
    const bool inner = orbs_[active][2].inOrbAtNext;
    activeType_ = active;
    long steady = 0;
    if (!inner) {
        const double floor = std::min(runningMinimum_, distance_[active][2]);
        steady = s2 > angle ? StepsInside(std::max(low, angle + floor), high, false)
                            : StepsInside(low, std::min(high, angle - floor), false);
    }
    long oneWay = 0;
    // In the inner orb an aspect passed between k and k+1 makes k+1 a local
    // minimum: S_k has to lie on the side of S_k+1.  (An orb boundary passed
    // there was step k's event.)
    const double side = s2 > angle ? 1.0 : -1.0;
    if (!inner || side * (s1 - angle) > kRoundingSlack) oneWay = StepsInside(low, high, true);
    if (oneWay > steady) {
        const bool rising = (s2 > angle) == (s2 > s1);
        if (!rising) return {oneWay, true, active};
        ApplySkippedStep(t);
        return {oneWay, inner, 0};
    }
    if (steady > 0) ApplySkippedStep(t);
    return {steady, false, 0};
}

// Outside every orb nothing runs while no distance meets an orb; the
// separation may even turn.  Inside, see InsideOrbSteps.
TransitScanner::Skip TransitScanner::StepsWithoutEvents(double t) {
    if (!bounds_) return {};
    for (const auto& lon : lon_) {
        if (!(lon[1].HasLongitude() && lon[2].HasLongitude())) return {};
    }
    PrepareExtrapolation(t);
    const double s2 = separation_[2];
    const double low = NextCriticalSeparation(s2, false);
    const double high = NextCriticalSeparation(s2, true);
    int active = 0;
    for (int type = 1; type <= req_.aspectTypeCount && type < 8; ++type) {
        if (!req_.aspectEnabled[type]) continue;
        for (int level = 0; level < 3; ++level) {
            if (orbs_[type][level].inOrbAtNext) active = type;
        }
    }
    if (active == 0) return {StepsInside(low, high, false), false, 0};
    return InsideOrbSteps(t, active, low, high);
}

// The last left-out step of a falling distance lowered the running minimum
// to its own distance, as each before it did.
void TransitScanner::ReplaySkippedMinimum(double before) {
    const int type = replayType_;
    replayType_ = 0;
    if (type == 0 || !(distance_[type][0] < runningMinimum_)) return;
    runningMinimum_ = distance_[type][0];
    runningMinimumTime_ = before;
}

void TransitScanner::PrepareScan() {
    boxFilled_ = false;
    OutputBox& out = host_.Output();
    if (!out.Empty()) {
        if (!host_.AppendsToOutput()) {
            out.Clear();
        } else {
            out.Append(kLineBreak);
        }
    }
    ClearOrbFlags();
    table_.Resize(EstimatedTableRows(req_.startDay, req_.endDay, req_.searchMode));
    ClearTransitTable();
    BuildTableHeader();
    host_.Busy().EnterBusyState(RunKind::Transit);
    host_.Control().ClearPause();
    baseRow_ = kFirstTransitRow;
    ResetOffsets();
    runningMinimum_ = 10.0;
    runningMinimumTime_ = 0.0;
    host_.PassStarted();
    if (req_.searchMode) req_.endDay = kSearchLastDay;
}

bool TransitScanner::UserConfirmsStop() {
    const MsgResult answer = host_.Boxes().Show("Stop?", host_.Busy().StartCaption(),
                                                MsgButtons::YesNo, MsgIcon::Question);
    if (answer == MsgResult::Yes) return true;
    host_.Control().ClearPause();
    return false;
}

TransitScanner::StepOutcome TransitScanner::RunSteps(double first, double last) {
    unsigned long stepCount = 0;
    positions_.ClearFailure();
    Sampling sampling = Sampling::First;
    replayType_ = 0;
    double before = first;  // the grid point before t
    for (double t = first; t <= last; ++stepCount) {
        host_.YieldToEvents();
        if (host_.Control().Quitting()) return StepOutcome::Stopped;
        // A position a data file could not give ends the run: its
        // separations would be no transit at all.
        if (PositionsFailed()) return StepOutcome::Failed;
        if (host_.Control().PauseRequested() && UserConfirmsStop()) return StepOutcome::Stopped;
        const bool firstStep = t == first;
        ComputeSamples(t, before, sampling);
        if (PositionsFailed()) return StepOutcome::Failed;
        EvaluateOrbs();
        ReplaySkippedMinimum(before);
        const OrbSwitch orbSwitch = DetectOrbSwitch();
        if (HandleEvents(t, firstStep, orbSwitch)) return StepOutcome::Found;
        ReportProgressMaybe(t, first, last, stepCount);
        const Skip skip = fixedStep_ ? Skip{} : StepsWithoutEvents(t);
        // The grid is walked by the same additions, step by step.
        for (long n = 0; n <= skip.steps; ++n) {
            before = t;
            t += step_;
        }
        replayType_ = skip.replayType;
        sampling = skip.steps == 0    ? Sampling::Next
                   : skip.needsBefore ? Sampling::Landing
                                      : Sampling::LandingWithoutBefore;
    }
    return StepOutcome::Completed;
}

ScanEnd TransitScanner::SummariseCompletedScan() {
    if (!table_.RowIsEmpty(baseRow_)) FlushTransit();
    if (req_.showAllMode) return ScanEnd::ShowAllReturn;
    if (table_.RowIsEmpty(kFirstTransitRow)) {
        host_.Boxes().Show(req_.searchMode
                               ? "There are no transits of this kind before January 1, 2100."
                               : "There are no transits of this kind in the period specified.",
                           "Not found", MsgButtons::Ok, MsgIcon::Information);
        return ScanEnd::NothingFound;
    }
    host_.RunDone();
    return ScanEnd::Completed;
}

ScanEnd TransitScanner::SummariseScan(StepOutcome outcome) {
    if (outcome == StepOutcome::Found) return ScanEnd::FoundInSearch;
    if (outcome == StepOutcome::Completed) return SummariseCompletedScan();
    // Either way the run ends here, and with it a show-all series.
    host_.Output().Append(std::string(kLineBreak) + "Stopped");
    host_.Control().ClearPause();
    if (req_.showAllMode) host_.Control().RequestStop();
    return outcome == StepOutcome::Failed ? ScanEnd::DataFileFailed : ScanEnd::Stopped;
}

void TransitScanner::FinishScan() {
    OutputBox& out = host_.Output();
    host_.Busy().LeaveBusyState();
    out.MoveCaretToEnd();
    host_.PassFinished(out.Empty());
}

ScanEnd TransitScanner::TransitScan(const TransitRequest& request) {
    UseRequest(request);
    PrepareScan();
    const double first = req_.startDay - 0.25;
    const double last = req_.endDay + 0.25;
    lastProgressNanos_ = NowNanos();
    host_.Busy().ReportProgress(0.0);

    StepOutcome outcome = RunSteps(first, last);
    host_.Busy().ReportProgress(1.0);
    // A failure the last step left behind outranks every other outcome.
    if (PositionsFailed()) outcome = StepOutcome::Failed;

    const ScanEnd end = SummariseScan(outcome);
    // A show-all series goes on with its next pair, still busy.
    if (end == ScanEnd::ShowAllReturn) return end;
    FinishScan();
    return end;
}

}  // namespace vlt
