// The box text a simulation streams through the service, one piece per line
// as the run goes, against the text formatted afterwards from the run's
// whole result: the same bytes for every kind of run and every way one ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stop_token>

#include "app/positions/positions.h"
#include "app/simulation/simulation_service.h"
#include "app/simulation/simulation_text.h"
#include "simulation_fakes.h"

namespace vlt::testing {
namespace {

constexpr std::int32_t kStart = 2454200;  // 2007-04-09
constexpr const char* kEarlier = "an earlier report\r\n";

// A box that fills up at `capacity` bytes (the window's holds 65,000
// characters), answers every message Yes, and at yield `pauseAt` pauses or
// at `quitAt` quits.
class BoxObserver final : public RunObserver, private FakeOutput, MessageBoxes {
public:
    BoxObserver(std::size_t capacity, long pauseAt, long quitAt)
        : capacity(capacity), pauseAt(pauseAt), quitAt(quitAt) {
        text = kEarlier;
    }
    OutputBox& Output() override { return *this; }
    MessageBoxes& Messages() override { return *this; }
    RunControl* Control() override { return &control; }
    void RowWritten(const std::string& /*piece*/) override { ++pieces; }
    void RunPrepared() override { moments += "prepared "; }
    void RunDone() override { moments += "done "; }
    void YieldToEvents() override {
        if (++yields == pauseAt) control.RequestPause();
        if (yields == quitAt) stop.request_stop();
    }
    bool LongerThan(std::size_t /*characters*/) const override { return text.size() > capacity; }
    MsgResult Show(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        return MsgResult::Yes;
    }
    using FakeOutput::text;
    std::size_t capacity;
    long pauseAt, quitAt, yields = 0;
    int pieces = 0;
    std::string moments;  // what a screen would show, in order
    RunControl control;
    std::stop_source stop;
};

// Down to 0.5° from Mars at steps 20 and 120 (two conjunctions through all
// three orbs), 15.5° elsewhere; or never near.
double TwoPasses(double i) {
    return std::min({std::fabs(i - 20.0) + 0.5, std::fabs(i - 120.0) + 0.5, 15.5});
}
double NeverNear(double /*i*/) { return 15.5; }

TEST(SimulationText, StreamedBoxEqualsTheWholeResultsText) {
    InitPositionsWithFolder(std::string(VLT_BIN_DIR) + "/");
    using enum SimulationOutcome;
    const struct {
        bool helio, details, append;
        double (*curve)(double);
        std::size_t capacity;
        long pauseAt, quitAt;  // the user's "Stop?" answered Yes, or quitting
        int missingDay;        // after kStart, a day without a value; 0: none
        SimulationOutcome outcome;
    } cases[] = {
        {true, true, false, TwoPasses, 99'999, -1, -1, 0, Completed},
        {false, true, false, TwoPasses, 99'999, -1, -1, 0, Completed},
        {true, false, false, TwoPasses, 99'999, -1, -1, 0, Completed},
        {false, false, true, TwoPasses, 99'999, -1, -1, 0, Completed},
        {true, true, false, NeverNear, 99'999, -1, -1, 0, Completed},
        {false, false, true, NeverNear, 99'999, -1, -1, 0, Completed},
        {true, true, false, TwoPasses, 99'999, 60, -1, 0, Stopped},
        {true, true, false, TwoPasses, 99'999, -1, 60, 0, Stopped},
        {true, true, false, TwoPasses, 300, -1, -1, 0, OutputFull},
        {false, true, false, TwoPasses, 99'999, -1, -1, 10, MissingIndexValue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (&c - cases));
        CurvePositions positions(kStart, 4, c.curve);
        MapIndex index;
        index.values = {{kStart + 2, 1050.0}, {kStart + 3, 1100.0}, {kStart + 15, 990.0}};
        if (c.missingDay > 0) index.values[kStart + c.missingDay] = 0.0;
        SeparatorAmountFormatter amounts;
        SimulationService service(positions, index, amounts);
        BoxObserver box(c.capacity, c.pauseAt, c.quitAt);
        SimulationRequest request;  // from the Earth (or Sun) to Mars
        request.secondPlanetIndex = 2;
        request.aspectChecked = {true, false, true, false, false, false, false};
        request.startDay = kStart;
        request.endDay = kStart + 30;
        request.heliocentric = c.helio;
        request.includeDetails = c.details;
        request.append = c.append;
        request.reportTitle = "Transits for Earth and Mars from April 9, 2007, to May 9, 2007";
        ASSERT_EQ(service.Run(request, box, box.stop.get_token()).outcome, c.outcome);
        const SimulationResult& result = service.Simulation().Result();
        const std::string before = c.append ? std::string(kEarlier) + "\r\n" : "";
        EXPECT_EQ(box.text, before + SimulationText(result, amounts));
        // The separator, the header, each detail line as it comes, the ending.
        const int details = c.details ? static_cast<int>(result.events.size()) : 0;
        const bool ending = c.missingDay == 0 && c.quitAt < 0;
        EXPECT_EQ(box.pieces, (c.append ? 1 : 0) + 1 + details + (ending ? 1 : 0));
        // The window takes its run geometry, and says "Done" for a whole run.
        EXPECT_EQ(box.moments, c.outcome == Completed ? "prepared done " : "prepared ");
    }
}

}  // namespace
}  // namespace vlt::testing
