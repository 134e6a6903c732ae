// The box text a simulation streams through the service, piece by piece as
// the run goes, against the text formatted afterwards from the run's whole
// result: the same bytes for every kind of run and every way a run ends, and
// one piece per detail line (the window shows each as it comes).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stop_token>
#include <string>
#include <vector>

#include "app/positions/positions.h"
#include "app/simulation/simulation_service.h"
#include "app/simulation/simulation_text.h"
#include "simulation_fakes.h"

namespace vlt::testing {
namespace {

constexpr std::int32_t kStart = 2454200;  // 2007-04-09
constexpr const char* kEarlier = "an earlier report\r\n";

// A box that fills up at `capacity` characters (the window's holds 65,000
// and would need a run of years), answering every message with Yes.
class BoxObserver final : public RunObserver, private FakeOutput, MessageBoxes {
public:
    OutputBox& Output() override { return *this; }
    MessageBoxes& Messages() override { return *this; }
    RunControl* Control() override { return &control; }
    void RowWritten(const std::string& /*piece*/) override { ++pieces; }
    void YieldToEvents() override {
        if (++yields == pauseAt) control.RequestPause();
        if (yields == quitAt) stop.request_stop();
    }
    bool LongerThan(std::size_t /*characters*/) const override { return text.size() > capacity; }
    using FakeOutput::text;

    std::size_t capacity = 1'000'000;
    long yields = 0, pauseAt = -1, quitAt = -1;
    int pieces = 0, messages = 0;
    RunControl control;
    std::stop_source stop;

private:
    MsgResult Show(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        ++messages;
        return MsgResult::Yes;
    }
};

// Two transits through all three orbs of the conjunction: down to 0.5° at
// steps 20 and 120, 15.5° elsewhere.
double TwoPasses(double i) {
    return std::min({std::fabs(i - 20.0) + 0.5, std::fabs(i - 120.0) + 0.5, 15.5});
}
double NeverNear(double /*i*/) { return 15.5; }

struct TextCase {
    const char* name;
    bool heliocentric, details, append;
    double (*curve)(double);
    std::size_t capacity;  // of the box
    long pauseAt, quitAt;  // step at which the user pauses (Stop? Yes) or the program quits
    double missingDay;     // a day (after kStart) without an index value, or 0
    SimulationOutcome outcome;
    const char* last;  // how the text's last line begins
};

TEST(SimulationText, StreamedBoxEqualsTheWholeResultsText) {
    InitPositionsWithFolder(std::string(VLT_BIN_DIR) + "/");
    constexpr auto kDone = SimulationOutcome::Completed;
    constexpr auto kStop = SimulationOutcome::Stopped;
    const std::vector<TextCase> cases = {
        {"HelioDetails", true, true, false, TwoPasses, 1'000'000, -1, -1, 0, kDone,
         "Conjunction   "},
        {"GeoDetails", false, true, false, TwoPasses, 1'000'000, -1, -1, 0, kDone,
         "Conjunction   "},
        {"HelioNoDetails", true, false, false, TwoPasses, 1'000'000, -1, -1, 0, kDone,
         "Conjunction   "},
        {"GeoNoDetailsAppended", false, false, true, TwoPasses, 1'000'000, -1, -1, 0, kDone,
         "Conjunction   "},
        {"NoInvestments", true, true, false, NeverNear, 1'000'000, -1, -1, 0, kDone,
         "Total number of investments = 0"},
        {"NoInvestmentsAppended", false, false, true, NeverNear, 1'000'000, -1, -1, 0, kDone,
         "Total number of investments = 0"},
        {"StoppedByTheUser", true, true, false, TwoPasses, 1'000'000, 60, -1, 0, kStop, "Stopped"},
        {"Quit", true, true, false, TwoPasses, 1'000'000, -1, 60, 0, kStop,
         "Conjunction  10\u00B0, redemption #1"},
        {"BoxFull", true, true, false, TwoPasses, 300, -1, -1, 0, SimulationOutcome::OutputFull,
         "Textbox is full"},
        {"DayWithoutValue", false, true, false, TwoPasses, 1'000'000, -1, -1, 10,
         SimulationOutcome::MissingIndexValue, "Conjunction  10\u00B0, redemption #1"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        CurvePositions positions(kStart, 4, c.curve);
        MapIndex index;
        index.values = {{kStart + 2, 1050.0}, {kStart + 3, 1100.0}, {kStart + 15, 990.0}};
        if (c.missingDay > 0) index.values[kStart + static_cast<int>(c.missingDay)] = 0.0;
        SeparatorAmountFormatter amounts;
        SimulationService service(positions, index, amounts);
        BoxObserver box;
        box.text = kEarlier;
        box.capacity = c.capacity;
        box.pauseAt = c.pauseAt;
        box.quitAt = c.quitAt;
        SimulationRequest request;
        request.firstPlanetIndex = 0;
        request.secondPlanetIndex = 2;
        request.aspectChecked = {true, false, true, false, false, false, false};
        request.startDay = kStart;
        request.endDay = kStart + 30;
        request.heliocentric = c.heliocentric;
        request.includeDetails = c.details;
        request.append = c.append;
        request.reportTitle = "Transits for Earth and Mars from April 9, 2007, to May 9, 2007";

        const SimulationRunResult run = service.Run(request, box, box.stop.get_token());
        ASSERT_EQ(run.outcome, c.outcome);
        const SimulationResult& result = service.Simulation().Result();
        const std::string before = c.append ? std::string(kEarlier) + "\r\n" : "";
        EXPECT_EQ(box.text, before + SimulationText(result, amounts));
        std::vector<std::string> lines = Lines(box.text);
        while (lines.back().empty()) lines.pop_back();
        EXPECT_TRUE(lines.back().starts_with(c.last)) << box.text;
        EXPECT_EQ(run.messages, box.messages);
        // The separator, the header, each detail line, the ending.
        const int details = c.details ? static_cast<int>(result.events.size()) : 0;
        const bool ended = c.outcome != SimulationOutcome::MissingIndexValue && c.quitAt < 0;
        EXPECT_EQ(box.pieces, (c.append ? 1 : 0) + 1 + details + (ended ? 1 : 0));
        EXPECT_EQ(result.events.empty(), c.curve == NeverNear);
    }
}

}  // namespace
}  // namespace vlt::testing
