#include "app/simulation/simulation_text.h"

#include "app/simulation/simulation_lines.h"
#include "app/support/date_processing.h"

namespace vlt {

namespace {

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", ",", false);
}

std::string SummaryText(const SimulationResult& result, const AmountFormatter& amounts) {
    const int completed = result.totals.completedInvestments;
    std::string text = completed > 0 ? kLineBreak : "";
    text += "Total number of investments = " + std::to_string(completed) + kLineBreak;
    if (completed >= 1) {
        text += kLineBreak;
        for (const SimulationPair& pair : result.pairs) {
            text += SummaryLine(pair, amounts, result.heliocentric) + kLineBreak;
        }
        text += std::string(kLineBreak) + "Gain or loss by aspect for all orbs:";
        for (const Aspect a : RedeemedAspects(result.totals)) {
            const AspectTotal& total = result.totals.Of(a);
            text +=
                kLineBreak + AspectTotalLine(Number(a), total.redemptions, total.gainSum, amounts);
        }
    }
    return text + kLineBreak;
}

}  // namespace

std::string SimulationTextHeader(const std::string& title, bool includeDetails) {
    return title + kLineBreak + (includeDetails ? kLineBreak : "");
}

std::string SimulationEventText(const SimulationEvent& event, const AmountFormatter& amounts) {
    const int aspect = Number(event.aspect);
    switch (event.kind) {
        case SimulationEvent::Kind::Investment:
            return InvestmentLine(aspect, event.orbDegrees, event.number, DateText(event.day),
                                  amounts) +
                   kLineBreak;
        case SimulationEvent::Kind::Redemption:
            return RedemptionLine(aspect, event.orbDegrees, event.number, DateText(event.day),
                                  event.gain, event.totalGain, amounts) +
                   kLineBreak;
        case SimulationEvent::Kind::Cancellation:
            return CancellationLine(aspect, event.orbDegrees, event.number) + kLineBreak;
    }
    return {};
}

std::string SimulationEndingText(const SimulationResult& result, const AmountFormatter& amounts) {
    switch (result.outcome) {
        case SimulationOutcome::Completed: return SummaryText(result, amounts);
        case SimulationOutcome::OutputFull:
            return std::string(kLineBreak) + "Textbox is full" + kLineBreak;
        case SimulationOutcome::Stopped:
            return result.quit ? std::string() : std::string(kLineBreak) + "Stopped";
        case SimulationOutcome::DataFileFailed: return std::string(kLineBreak) + "Stopped";
        default: return {};
    }
}

std::string SimulationText(const SimulationResult& result, const AmountFormatter& amounts) {
    std::string text = SimulationTextHeader(result.title, result.includeDetails);
    if (result.includeDetails) {
        for (const SimulationEvent& event : result.events) {
            text += SimulationEventText(event, amounts);
        }
    }
    return text + SimulationEndingText(result, amounts);
}

void SimulationTextSink::Began(const SimulationResult& result, const SimulationRequest& request) {
    details_ = result.includeDetails;
    if (!request.append) box_.Clear();
    if (!box_.Empty()) box_.Append(kLineBreak);
    box_.Append(SimulationTextHeader(result.title, details_));
}

void SimulationTextSink::Happened(const SimulationEvent& event) {
    if (!details_) return;
    box_.Append(SimulationEventText(event, amounts_));
    box_.MoveCaretToEnd();
}

void SimulationTextSink::Ended(const SimulationResult& result) {
    const std::string text = SimulationEndingText(result, amounts_);
    if (!text.empty()) box_.Append(text);
}

}  // namespace vlt
