#include "app/simulation/investment_simulation.h"

#include <cmath>

#include "app/positions/position_failure.h"
#include "app/positions/request_rules.h"
#include "app/positions/vocabulary.h"
#include "app/simulation/simulation_lines.h"
#include "app/support/date_processing.h"
#include "app/support/numbers.h"

namespace vlt {

namespace {

constexpr int kNumberOfAspectTypes = 7;

// Clears the running flag however the run ends.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", ",", false);
}

}  // namespace

bool IndexDataLookup::ValueForDay(std::int32_t dayJdn, double& value) {
    return IndexValueForDay(data_, dayJdn, value);
}

InvestmentSimulation::InvestmentSimulation(RunHost& host, HelioPositionSource& positions,
                                           IndexLookup& index, const AmountFormatter& amounts)
    : host_(host), positions_(positions), index_(index), amounts_(amounts) {}

SimulationOutcome InvestmentSimulation::Click(const SimulationRequest& request) {
    const SimulationOutcome outcome = ClickOutcome(request);
    // A pause request comes while the run is still under way; the run's
    // own outcome follows when it ends.
    if (outcome != SimulationOutcome::PauseRequested) lastOutcome_ = outcome;
    return outcome;
}

SimulationOutcome InvestmentSimulation::ClickOutcome(const SimulationRequest& request) {
    // The messages carry the button's caption, which reads "Pause" while a
    // run is under way.
    const std::string caption = running_ ? kPauseCaption : kSimulateCaption;
    const std::int32_t firstDay = index_.FirstDay();
    const std::int32_t lastDay = index_.LastDay();
    const auto outside = [&](std::int32_t day) { return day < firstDay || day > lastDay; };
    if (outside(request.startDay) || outside(request.endDay)) {
        host_.Boxes().Show("Investment dates must be in the range\n " +
                               FormatDayNumber(firstDay, kOrderYearMonthDay, "-", "", false) +
                               " through " +
                               FormatDayNumber(lastDay, kOrderYearMonthDay, "-", "", false) + ".",
                           caption, MsgButtons::Ok, MsgIcon::Information);
        return SimulationOutcome::Refused;
    }
    if (request.startDay > request.endDay - 30) {
        host_.Boxes().Show(
            "For the investment simulation the start date must be\nat least 30 days prior to "
            "the end date.",
            caption, MsgButtons::Ok, MsgIcon::Information);
        return SimulationOutcome::Refused;
    }
    if (running_) {
        host_.SetPauseRequested(true);
        return SimulationOutcome::PauseRequested;
    }
    // Positions the window's lists can never produce would make records
    // whose columns do not hold what they say.
    if (request.firstPlanetIndex < -1 || request.firstPlanetIndex > 7 ||
        request.secondPlanetIndex < 0 || request.secondPlanetIndex > 7) {
        return SimulationOutcome::InvalidRequest;
    }
    for (int orbIndex : request.orbIndex) {
        if (orbIndex < 0 || orbIndex > 14) return SimulationOutcome::InvalidRequest;
    }
    // The same refusal as the transit tables give: a planet has no transits
    // with itself, and the run would report nothing but zeros.
    if (FirstPlanetOfListIndex(request.firstPlanetIndex) ==
        SecondPlanetOfListIndex(request.secondPlanetIndex)) {
        host_.Boxes().Show("Transit of a planet to itself is not possible.", caption,
                           MsgButtons::Ok, MsgIcon::Exclamation);
        return SimulationOutcome::Refused;
    }
    RunningFlag flag(running_);
    return Run(request);
}

void InvestmentSimulation::Append(const std::string& text) { host_.Output().Append(text); }

void InvestmentSimulation::AppendLine(const std::string& text) { Append(text + kLineBreak); }

void InvestmentSimulation::CommonEnding() {
    host_.Output().MoveCaretToEnd();
    host_.SetSimulateCaption(kSimulateCaption);
    host_.LeaveBusyState();
}

// What one run keeps while it steps through its days.
struct InvestmentSimulation::RunState {
    // What a record holds that never changes during a run, read once.
    struct Pair {
        int aspect = 0;
        int orbDegrees = 0;
        double aspectAngle = 0.0;
        double orb = 0.0;
    };
    // The day and value of a record's open investment.  The gain is measured
    // from the value itself: the record keeps it with two decimals only,
    // which would put a gain into every trade of a series with finer prices
    // (and lose a price below half a cent altogether).
    struct Opened {
        std::int32_t day = 0;
        double value = 0.0;
    };

    RunState(const SimulationRequest& runRequest, OutputBox& runOutput)
        : request(runRequest), output(runOutput) {}

    // An event of record i at the day of the step under way.
    SimulationEvent Event(SimulationEvent::Kind kind, std::size_t i, int number) const {
        SimulationEvent e;
        e.kind = kind;
        e.aspect = pairs[i].aspect;
        e.orbDegrees = pairs[i].orbDegrees;
        e.number = number;
        e.day = day;
        e.value = indexValue;
        return e;
    }
    // The same for an event that closes record i's open investment.
    SimulationEvent ClosingEvent(SimulationEvent::Kind kind, std::size_t i, int number) const {
        SimulationEvent e = Event(kind, i, number);
        e.purchaseDay = opened[i].day;
        e.purchaseValue = opened[i].value;
        return e;
    }

    const SimulationRequest& request;
    OutputBox& output;
    std::int16_t p1 = 0;
    std::int16_t p2 = 0;
    std::vector<Pair> pairs;  // one per record, in the records' order
    std::vector<Opened> opened;
    double firstT = 0.0;
    std::int64_t lastStep = 0;
    // The step under way: its instant, and whether it is the first or last.
    double t = 0.0;
    bool first = false;
    bool last = false;
    // The calendar day of the step, its date text and index value.
    bool haveDay = false;
    std::int32_t day = 0;
    std::string dateText;
    double indexValue = -1.0;
};

SimulationOutcome InvestmentSimulation::Run(const SimulationRequest& request) {
    RunState state = Prepare(request);
    if (const auto ended = StepThroughDays(state)) return *ended;
    return Summarise(state);
}

InvestmentSimulation::RunState InvestmentSimulation::Prepare(const SimulationRequest& request) {
    const std::int16_t p1 = FirstPlanetOfListIndex(request.firstPlanetIndex);
    const std::int16_t p2 = SecondPlanetOfListIndex(request.secondPlanetIndex);
    std::array<int, 3> orbDegrees{};
    for (std::size_t k = 0; k < 3; ++k) orbDegrees[k] = OrbDegreesOfListIndex(request.orbIndex[k]);

    records_ = BuildSimulationRecords(p1, p2, request.aspectChecked, orbDegrees);
    host_.SetSimulateCaption(kPauseCaption);
    totals_ = SimulationTotals{};
    events_.clear();
    p1_ = p1;
    p2_ = p2;
    startDay_ = request.startDay;
    endDay_ = request.endDay;
    window_ = PositionWindow{};

    host_.ApplyRunGeometry();
    host_.EnterBusyState(true);
    RunState state(request, host_.Output());
    state.p1 = p1;
    state.p2 = p2;
    state.opened.resize(records_.size());
    WriteHeader(state);

    // Every record of a run has the same planets; the aspect and orb of each
    // stay in their columns for the whole run.
    state.pairs.reserve(records_.size());
    for (const auto& record : records_) {
        RunState::Pair pair;
        pair.aspect = RecordAspect(record);
        pair.orbDegrees = RecordOrb(record);
        pair.aspectAngle = AspectAngles[static_cast<std::size_t>(pair.aspect)];
        pair.orb = InvestmentOrbRadians(pair.orbDegrees);
        state.pairs.push_back(pair);
    }

    // Steps of 3 hours from start - 0.25 to end + 0.25; every instant is an
    // exact binary fraction, so the last one is exactly end + 0.25.
    state.firstT = request.startDay - 0.25;
    state.lastStep = (static_cast<std::int64_t>(request.endDay) - request.startDay) * 8 + 4;
    return state;
}

void InvestmentSimulation::WriteHeader(RunState& state) {
    if (!state.request.append) state.output.Clear();
    if (!state.output.Empty()) Append(kLineBreak);
    AppendLine(SimulationHeader(state.request.reportTitle));
    if (state.request.includeDetails) Append(kLineBreak);
}

std::optional<SimulationOutcome> InvestmentSimulation::StepThroughDays(RunState& state) {
    host_.ReportProgress(0.0);
    for (std::int64_t step = 0; step <= state.lastStep; ++step) {
        if (const auto ended = Step(state, step)) return ended;
    }
    return std::nullopt;
}

std::optional<SimulationOutcome> InvestmentSimulation::Step(RunState& state, std::int64_t step) {
    if (host_.Output().LongerThan(kSimulationOutputLimit)) {
        host_.Boxes().Show(
            "Output textbox is full.\n\nPlease specify a shorter period or fewer aspect "
            "types.",
            host_.WindowCaption(), MsgButtons::Ok, MsgIcon::Exclamation);
        Append(std::string(kLineBreak) + "Textbox is full" + kLineBreak);
        CommonEnding();
        return SimulationOutcome::OutputFull;
    }
    state.t = state.firstT + static_cast<double>(step) * kSimulationStep;
    state.first = step == 0;
    state.last = step == state.lastStep;

    if (const auto ended = AnswerPauseOrQuit()) return ended;
    if (const auto ended = EnterDay(state, step)) return ended;
    FillPositionWindow(window_, positions_, state.t, kSimulationStep, state.first);
    if (const auto ended = CheckPairPositions(state)) return ended;

    const PairRows rows = PairRowsOf(window_, state.p1, state.p2);
    for (std::size_t i = 0; i < records_.size(); ++i) UpdateRecord(state, rows, i);
    return std::nullopt;
}

std::optional<SimulationOutcome> InvestmentSimulation::AnswerPauseOrQuit() {
    host_.YieldToEvents();
    if (host_.QuitRequested()) {
        host_.SetPauseRequested(false);
        CommonEnding();
        return SimulationOutcome::Stopped;
    }
    if (!host_.PauseRequested()) return std::nullopt;
    if (host_.Boxes().Show("Stop?", kDefaultTitle, MsgButtons::YesNo, MsgIcon::None) ==
        MsgResult::Yes) {
        host_.SetSimulateCaption(kSimulateCaption);
        Append(std::string(kLineBreak) + "Stopped");
        host_.SetPauseRequested(false);
        CommonEnding();
        return SimulationOutcome::Stopped;
    }
    host_.SetPauseRequested(false);
    return std::nullopt;
}

std::optional<SimulationOutcome> InvestmentSimulation::EnterDay(RunState& state,
                                                                std::int64_t step) {
    // The date text changes exactly when the calendar day does.
    const auto day = static_cast<std::int32_t>(std::floor(state.t + 0.5));
    if (!state.haveDay || day != state.day) {
        state.dateText = DateText(day);
        double value = 0.0;
        if (!index_.ValueForDay(day, value) || !(value > 0.0)) {
            host_.Boxes().Show("For " + state.dateText + " cannot get value from " +
                                   index_.SourceName() + " data.",
                               kDefaultTitle, MsgButtons::Ok, MsgIcon::None);
            CommonEnding();
            return SimulationOutcome::MissingIndexValue;
        }
        state.indexValue = value;
        host_.ReportProgress(static_cast<double>(step) / static_cast<double>(state.lastStep));
    }
    state.haveDay = true;
    state.day = day;
    return std::nullopt;
}

std::optional<SimulationOutcome> InvestmentSimulation::CheckPairPositions(const RunState& state) {
    // A position of the pair that a data file could not give ends the run:
    // without it no investment could be opened or redeemed, and the summary
    // would pass for a result.  The other planets do not matter.
    for (const std::int16_t planet : {state.p1, state.p2}) {
        for (int row = state.first ? -1 : 1; row <= 1; ++row) {
            const double longitude = window_.At(planet, row);
            if (!IsDataFileFailure(longitude)) continue;
            const PositionFailure failure =
                DescribePositionFailure(planet, state.t + row * kSimulationStep, true, longitude);
            host_.Boxes().Show(failure.Message(), host_.WindowCaption(), MsgButtons::Ok,
                               MsgIcon::Exclamation);
            Append(std::string(kLineBreak) + "Stopped");
            CommonEnding();
            return SimulationOutcome::DataFileFailed;
        }
    }
    return std::nullopt;
}

void InvestmentSimulation::UpdateRecord(RunState& state, const PairRows& rows, std::size_t i) {
    const RunState::Pair& pair = state.pairs[i];
    const int flag = RecordInvestedFlag(records_[i]);
    if (flag == 0) {
        if (EntersOrb(rows, pair.aspectAngle, pair.orb) ||
            (state.first && ApplyingInOrb(rows, pair.aspectAngle, pair.orb))) {
            Invest(state, i);
        }
        return;
    }
    if (flag != 1) return;
    // At the last step an investment is redeemed when its transit leaves the
    // orb there, as at any other step, or is still in it but separating; only
    // one still applying is cancelled.
    const bool leaves = LeavesOrb(rows, pair.aspectAngle, pair.orb);
    if (state.last && !leaves && !SeparatingInOrb(rows, pair.aspectAngle, pair.orb)) {
        Cancel(state, i);
        return;
    }
    if (leaves || state.last) Redeem(state, i);
}

void InvestmentSimulation::Invest(RunState& state, std::size_t i) {
    const RunState::Pair& pair = state.pairs[i];
    SimulationRecord& record = records_[i];
    const int count = RecordCount(record) + 1;
    record = OpenedRecord(record, state.indexValue, count);
    state.opened[i] = {state.day, state.indexValue};
    events_.push_back(state.Event(SimulationEvent::Kind::Investment, i, count));
    if (state.request.includeDetails) {
        AppendDetail(state,
                     InvestmentLine(pair.aspect, pair.orbDegrees, count, state.dateText, amounts_));
    }
}

void InvestmentSimulation::Cancel(RunState& state, std::size_t i) {
    const RunState::Pair& pair = state.pairs[i];
    SimulationRecord& record = records_[i];
    const int count = RecordCount(record) - 1;
    record = CancelledRecord(record, count);
    events_.push_back(state.ClosingEvent(SimulationEvent::Kind::Cancellation, i, count + 1));
    if (state.request.includeDetails) {
        AppendDetail(state, CancellationLine(pair.aspect, pair.orbDegrees, count + 1));
    }
}

void InvestmentSimulation::Redeem(RunState& state, std::size_t i) {
    const RunState::Pair& pair = state.pairs[i];
    SimulationRecord& record = records_[i];
    const double purchase = state.opened[i].value;
    const double gain = (state.indexValue - purchase) * 100.0 / purchase;
    const double total = RecordGain(record) + gain;
    const int count = RecordCount(record);
    const auto a = static_cast<std::size_t>(pair.aspect);
    totals_.gainSum[a] += gain;
    ++totals_.completedInvestments;
    record = RedeemedRecord(record, total, count);
    SimulationEvent e = state.ClosingEvent(SimulationEvent::Kind::Redemption, i, count);
    e.gain = gain;
    e.totalGain = total;
    events_.push_back(e);
    ++totals_.redemptions[a];
    if (state.request.includeDetails) {
        AppendDetail(state, RedemptionLine(pair.aspect, pair.orbDegrees, count, state.dateText,
                                           gain, total, amounts_));
    }
}

void InvestmentSimulation::AppendDetail(RunState& state, const std::string& line) {
    AppendLine(line);
    state.output.MoveCaretToEnd();
}

SimulationOutcome InvestmentSimulation::Summarise(RunState& state) {
    // Normal end: the records from best to worst, then the totals.
    if (!records_.empty()) QuickSort(records_, 0, static_cast<int>(records_.size()) - 1);
    const int completed = totals_.completedInvestments;
    if (completed > 0) Append(kLineBreak);
    AppendLine("Total number of investments = " + std::to_string(completed));
    if (completed >= 1) {
        Append(kLineBreak);
        for (const auto& record : records_) AppendDetail(state, SummaryLine(record, amounts_));
        Append(std::string(kLineBreak) + "Gain or loss by aspect for all orbs:");
        for (int a = 1; a <= kNumberOfAspectTypes; ++a) {
            const auto index = static_cast<std::size_t>(a);
            if (totals_.redemptions[index] > 0) {
                Append(kLineBreak + AspectTotalLine(a, totals_.redemptions[index],
                                                    totals_.gainSum[index], amounts_));
            }
        }
    }
    Append(kLineBreak);
    host_.ReportProgress(1.0);
    host_.PopUpNotice("Done", 1200, 300, 2000);
    CommonEnding();
    return SimulationOutcome::Completed;
}

}  // namespace vlt
