#pragma once
// The output box's text of an investment simulation, formatted from what the
// run leaves.  The run tells a SimulationTextSink each piece as it happens and
// the sink writes it at once, so the box shows a long run's details as they
// come, and the box's size limit (which the run asks the box about before
// every step) sees the text exactly as it grew; SimulationText formats the
// same text from a finished run's whole result.  Dollar amounts go through
// the caller's AmountFormatter.

#include <string>

#include "app/simulation/amount_format.h"
#include "app/simulation/investment_simulation.h"
#include "app/support/output_box.h"

namespace vlt {

// The title line, and a blank line when the details follow.
std::string SimulationTextHeader(const std::string& title, bool includeDetails);

// One detail line: an investment, redemption or cancellation.
std::string SimulationEventText(const SimulationEvent& event, const AmountFormatter& amounts);

// What follows the details: for a completed run the count of completed
// investments, the pairs from best to worst and the gain or loss by aspect;
// "Stopped" after the user's stop or a failed data file; "Textbox is full"
// after a full box; nothing when the run ended otherwise (quitting, a day
// without a value).
std::string SimulationEndingText(const SimulationResult& result, const AmountFormatter& amounts);

// The whole text of a run from its title line on, byte for byte what the
// sink writes as the run goes.
std::string SimulationText(const SimulationResult& result, const AmountFormatter& amounts);

// Writes a run's text into a box (the window's, standard output, or one that
// keeps nothing) as the run tells it.  A new run clears the box unless it
// appends, and is set off by a blank line from what the box still holds.
class SimulationTextSink final : public SimulationListener {
public:
    // Both must outlive the sink.
    SimulationTextSink(OutputBox& box, const AmountFormatter& amounts)
        : box_(box), amounts_(amounts) {}

    void Began(const SimulationResult& result, const SimulationRequest& request) override;
    void Happened(const SimulationEvent& event) override;
    void Ended(const SimulationResult& result) override;

private:
    OutputBox& box_;
    const AmountFormatter& amounts_;
    bool details_ = false;
};

}  // namespace vlt
