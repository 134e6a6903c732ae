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

// What a pair holds that never changes during a run, read once.
struct RecordPair {
    Aspect aspect = Aspect::Conjunction;
    int orbDegrees = 0;
    double aspectAngle = 0.0;
    double orb = 0.0;
};

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", ",", false);
}

}  // namespace

bool IndexDataLookup::ValueForDay(std::int32_t dayJdn, double& value) {
    return IndexValueForDay(data_, dayJdn, value);
}

InvestmentSimulation::InvestmentSimulation(RunHost& host, SimulationListener& listener,
                                           HelioPositionSource& positions, IndexLookup& index)
    : host_(host), listener_(listener), positions_(positions), index_(index) {}

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
    const bool running = host_.Control().Running(RunKind::Simulation);
    const std::string caption = running ? kPauseCaption : kSimulateCaption;
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
    if (running) {
        host_.Control().RequestPause();
        return SimulationOutcome::PauseRequested;
    }
    // The simulation samples the sky every 3 hours, too coarse for the Moon.
    if (request.firstPlanetIndex == kMoonListIndex || request.secondPlanetIndex == kMoonListIndex) {
        host_.Boxes().Show(kSimulationWithoutMoon, caption, MsgButtons::Ok, MsgIcon::Information);
        return SimulationOutcome::Refused;
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
    return Run(request);
}

SimulationOutcome InvestmentSimulation::End(SimulationOutcome outcome, bool quit) {
    result_.outcome = outcome;
    result_.quit = quit;
    listener_.Ended(result_);
    CommonEnding();
    return outcome;
}

void InvestmentSimulation::CommonEnding() {
    host_.Output().MoveCaretToEnd();
    host_.Busy().LeaveBusyState();
}

// The working state of one run.
struct InvestmentSimulation::RunState {
    // Every record of a run has the same planets; the aspect and orb of each
    // stay in their columns for the whole run.
    std::vector<RecordPair> pairs;
    // The day and value of each record's open investment.  The gain is
    // measured from the value itself: the record keeps it with two decimals
    // only, which would put a gain into every trade of a series with finer
    // prices (and lose a price below half a cent altogether).
    struct Opened {
        std::int32_t day = 0;
        double value = 0.0;
    };
    std::vector<Opened> opened;
    // Steps of 3 hours from start - 0.25 to end + 0.25; every instant is an
    // exact binary fraction, so the last one is exactly end + 0.25.
    std::int64_t lastStep = 0;
    bool first = false;  // the first step of the run
    bool last = false;   // the last step of the run
    bool haveDay = false;
    std::int32_t day = 0;
    std::string dateText;
    double indexValue = -1.0;
};

SimulationOutcome InvestmentSimulation::Run(const SimulationRequest& request) {
    RunState run;
    PrepareRun(request, run);
    const double firstT = request.startDay - 0.25;
    host_.Busy().ReportProgress(0.0);
    for (std::int64_t step = 0; step <= run.lastStep; ++step) {
        const double t = firstT + static_cast<double>(step) * kSimulationStep;
        run.first = step == 0;
        run.last = step == run.lastStep;
        if (auto ended = BeforeStep()) return *ended;
        if (auto ended = ReadDay(run, t, step)) return *ended;
        if (auto ended = SamplePositions(run, t)) return *ended;
        const PairRows rows = PairRowsOf(window_, p1_, p2_);
        for (std::size_t i = 0; i < result_.pairs.size(); ++i) StepRecord(run, i, rows);
    }
    return Summarise();
}

void InvestmentSimulation::PrepareRun(const SimulationRequest& request, RunState& run) {
    const std::int16_t p1 = FirstPlanetOfListIndex(request.firstPlanetIndex);
    const std::int16_t p2 = SecondPlanetOfListIndex(request.secondPlanetIndex);
    std::array<int, 3> orbDegrees{};
    for (std::size_t k = 0; k < 3; ++k) orbDegrees[k] = OrbDegreesOfListIndex(request.orbIndex[k]);

    result_ = SimulationResult{};
    result_.pairs = BuildSimulationPairs(static_cast<Planet>(p1), static_cast<Planet>(p2),
                                         request.aspectChecked, orbDegrees);
    result_.heliocentric = request.heliocentric;
    result_.includeDetails = request.includeDetails;
    result_.title = SimulationHeader(request.reportTitle);
    p1_ = p1;
    p2_ = p2;
    startDay_ = request.startDay;
    endDay_ = request.endDay;
    run.lastStep = (static_cast<std::int64_t>(request.endDay) - request.startDay) * 8 + 4;
    run.opened.assign(result_.pairs.size(), RunState::Opened{});
    window_ = PositionWindow{};

    host_.RunPrepared();
    host_.Busy().EnterBusyState(RunKind::Simulation);
    listener_.Began(result_, request);

    run.pairs.reserve(result_.pairs.size());
    for (const SimulationPair& p : result_.pairs) {
        run.pairs.push_back({.aspect = p.aspect,
                             .orbDegrees = p.orbDegrees,
                             .aspectAngle = Info(p.aspect).angle,
                             .orb = InvestmentOrbRadians(p.orbDegrees)});
    }
}

// The full box, the program's end and the user's pause, before each step.
std::optional<SimulationOutcome> InvestmentSimulation::BeforeStep() {
    if (host_.Output().LongerThan(kSimulationOutputLimit)) {
        host_.Boxes().Show(
            "Output textbox is full.\n\nPlease specify a shorter period or fewer aspect types.",
            host_.Busy().WindowCaption(), MsgButtons::Ok, MsgIcon::Exclamation);
        return End(SimulationOutcome::OutputFull);
    }
    host_.YieldToEvents();
    if (host_.Control().Quitting()) {
        host_.Control().ClearPause();
        return End(SimulationOutcome::Stopped, true);
    }
    if (!host_.Control().PauseRequested()) return std::nullopt;
    if (host_.Boxes().Show("Stop?", kDefaultTitle, MsgButtons::YesNo, MsgIcon::None) ==
        MsgResult::Yes) {
        host_.Control().ClearPause();
        return End(SimulationOutcome::Stopped);
    }
    host_.Control().ClearPause();
    return std::nullopt;
}

// The date text and the index value change exactly when the calendar day does.
std::optional<SimulationOutcome> InvestmentSimulation::ReadDay(RunState& run, double t,
                                                               std::int64_t step) {
    const auto day = static_cast<std::int32_t>(std::floor(t + 0.5));
    if (!run.haveDay || day != run.day) {
        run.dateText = DateText(day);
        double value = 0.0;
        if (!index_.ValueForDay(day, value) || !(value > 0.0)) {
            host_.Boxes().Show(
                "For " + run.dateText + " cannot get value from " + index_.SourceName() + " data.",
                kDefaultTitle, MsgButtons::Ok, MsgIcon::None);
            return End(SimulationOutcome::MissingIndexValue);
        }
        run.indexValue = value;
        host_.Busy().ReportProgress(static_cast<double>(step) / static_cast<double>(run.lastStep));
    }
    run.haveDay = true;
    run.day = day;
    return std::nullopt;
}

// A position of the pair that a data file could not give ends the run:
// without it no investment could be opened or redeemed, and the summary would
// pass for a result.  The other planets do not matter.
std::optional<SimulationOutcome> InvestmentSimulation::SamplePositions(const RunState& run,
                                                                       double t) {
    FillPositionWindow(window_, positions_, t, kSimulationStep, run.first);
    for (const std::int16_t planet : {p1_, p2_}) {
        for (int row = run.first ? -1 : 1; row <= 1; ++row) {
            const PositionResult& position = window_.At(planet, row);
            if (!position.IsDataFileFailure()) continue;
            const PositionFailure failure = DescribePositionFailure(
                planet, t + row * kSimulationStep, true, position.FailureCode());
            host_.Boxes().Show(failure.Message(), host_.Busy().WindowCaption(), MsgButtons::Ok,
                               MsgIcon::Exclamation);
            return End(SimulationOutcome::DataFileFailed);
        }
    }
    return std::nullopt;
}

// One record at one step: an investment opens when its transit enters the
// orb (or, at the first step, is already applying in it) and closes when it
// leaves.  At the last step an investment is redeemed when its transit
// leaves the orb there, as at any other step, or is still in it but
// separating; only one still applying is cancelled.
void InvestmentSimulation::StepRecord(RunState& run, std::size_t i, const PairRows& rows) {
    const RecordPair& pair = run.pairs[i];
    if (!result_.pairs[i].openValue) {
        const bool enters = EntersOrb(rows, pair.aspectAngle, pair.orb);
        if (enters || (run.first && ApplyingInOrb(rows, pair.aspectAngle, pair.orb))) {
            OpenInvestment(run, i);
        }
        return;
    }
    const bool leaves = LeavesOrb(rows, pair.aspectAngle, pair.orb);
    if (run.last && !leaves && !SeparatingInOrb(rows, pair.aspectAngle, pair.orb)) {
        CancelInvestment(run, i);
    } else if (leaves || run.last) {
        RedeemInvestment(run, i);
    }
}

SimulationEvent InvestmentSimulation::EventOf(const RunState& run, std::size_t i,
                                              SimulationEvent::Kind kind, int number) const {
    SimulationEvent e;
    e.kind = kind;
    e.aspect = run.pairs[i].aspect;
    e.orbDegrees = run.pairs[i].orbDegrees;
    e.number = number;
    e.day = run.day;
    e.value = run.indexValue;
    if (kind != SimulationEvent::Kind::Investment) {
        e.purchaseDay = run.opened[i].day;
        e.purchaseValue = run.opened[i].value;
    }
    return e;
}

void InvestmentSimulation::Record(const SimulationEvent& event) {
    result_.events.push_back(event);
    listener_.Happened(event);
}

void InvestmentSimulation::OpenInvestment(RunState& run, std::size_t i) {
    const int count = ++result_.pairs[i].investments;
    result_.pairs[i].openValue = run.indexValue;
    run.opened[i] = {run.day, run.indexValue};
    Record(EventOf(run, i, SimulationEvent::Kind::Investment, count));
}

void InvestmentSimulation::CancelInvestment(RunState& run, std::size_t i) {
    const int count = --result_.pairs[i].investments;
    result_.pairs[i].openValue.reset();
    result_.pairs[i].cancelledAtEnd = true;
    Record(EventOf(run, i, SimulationEvent::Kind::Cancellation, count + 1));
}

void InvestmentSimulation::RedeemInvestment(RunState& run, std::size_t i) {
    const RecordPair& pair = run.pairs[i];
    const double purchase = run.opened[i].value;
    const double gain = (run.indexValue - purchase) * 100.0 / purchase;
    const double total = result_.pairs[i].totalGain + gain;
    const int count = result_.pairs[i].investments;
    result_.totals.Of(pair.aspect).gainSum += gain;
    ++result_.totals.completedInvestments;
    result_.pairs[i].totalGain = RecordedTotal(total);
    result_.pairs[i].openValue.reset();
    SimulationEvent e = EventOf(run, i, SimulationEvent::Kind::Redemption, count);
    e.gain = gain;
    e.totalGain = total;
    ++result_.totals.Of(pair.aspect).redemptions;
    Record(e);
}

// Normal end: the records from best to worst, then the totals.
SimulationOutcome InvestmentSimulation::Summarise() {
    SortForSummary(result_.pairs);
    result_.outcome = SimulationOutcome::Completed;
    listener_.Ended(result_);
    host_.Busy().ReportProgress(1.0);
    host_.RunDone();
    CommonEnding();
    return SimulationOutcome::Completed;
}

}  // namespace vlt
