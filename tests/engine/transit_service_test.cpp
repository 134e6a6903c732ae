// The transit services without a window: a request and an observer in, how
// the run ended out.  Refusals come with the window's words and in its order;
// the observer hears the run begin, every piece of the report, its progress
// and its end; the stop token ends a run.
#include <gtest/gtest.h>

#include <stop_token>
#include <string>
#include <vector>

#include "app/engine/transit_service.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "tests/common/fake_run_host.h"
#include "tests/engine/profile_positions.h"

namespace vlt::testing {
namespace {

// Keeps what the run wrote and said, and what it heard of the run.
class RecordingObserver final : public RunObserver, private OutputBox, MessageBoxes {
public:
    OutputBox& Output() override { return *this; }
    MessageBoxes& Messages() override { return *this; }

    void Started(RunKind kind) override { started.push_back(kind); }
    void Progress(double fraction) override { progress.push_back(fraction); }
    void RowWritten(const std::string& text) override {
        rows += text;
        if (stopAfterFirstRow) stop.request_stop();
    }
    void Finished() override { ++finished; }
    bool AppendsToOutput() const override { return appends; }
    void RunPrepared() override { moments += "prepared "; }
    void PassStarted() override { moments += "pass "; }
    void PassFinished(bool empty) override { moments += empty ? "empty " : "written "; }
    void SeriesStarted() override { moments += "series "; }
    void SeriesFinished() override { moments += "/series "; }
    void RunDone() override { moments += "done "; }

    std::string text;  // the output as the box holds it
    std::string rows;  // every piece the observer heard, joined
    std::vector<std::string> messages;
    std::vector<RunKind> started;
    std::vector<double> progress;
    int finished = 0;
    std::string moments;   // what a screen would show, in order
    bool appends = false;  // the window's Append box
    bool stopAfterFirstRow = false;
    bool fullBox = false;  // the box holds no more, whatever its text
    std::stop_source stop;

private:
    const std::string& Text() const override { return text; }
    void Append(const std::string& piece) override { text += piece; }
    void Clear() override { text.clear(); }
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    bool LongerThan(std::size_t characters) const override {
        return fullBox || text.size() > characters;
    }
    MsgResult Show(const std::string& message, const std::string& /*title*/, MsgButtons /*buttons*/,
                   MsgIcon /*icon*/) override {
        messages.push_back(message);
        return MsgResult::Yes;
    }
};

// 2000-01-01; one conjunction pass of Mars and Jupiter, exact on day 13.
constexpr std::int32_t kS = 2451545;
std::vector<std::pair<double, double>> OnePass() {
    return {{kS + 0.1, 13}, {kS + 13.1, 0}, {kS + 26.1, 13}};
}

TablesRequest FortyDays() {
    TablesRequest r;
    r.start = {2000, 1, 1};
    r.end = {2000, 2, 10};  // day kS + 40
    return r;
}

class TransitServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitPositionsWithFolder(VLT_BIN_DIR "/"); }
    ProfilePositions positions{kMars, OnePass()};
    RecordingObserver observer;
};

struct RefusedCase {
    const char* name;
    void (*change)(TablesRequest&);
    const char* message;
};

TEST_F(TransitServiceTest, RefusalsComeWithTheWindowsWordsInItsOrder) {
    const RefusedCase cases[] = {
        {"no such day",
         [](TablesRequest& r) {
             r.start = {2001, 2, 29};
         },
         "The start date is invalid."},
        {"one day, the first supported",
         [](TablesRequest& r) {
             r.start = r.end = {1, 1, 1};
         },
         "The start date must be at least 3 days prior to the end date."},
        {"end too late",
         [](TablesRequest& r) {
             r.end = {2800, 1, 1};
         },
         "End date is too late"},
        {"period of 2 days",
         [](TablesRequest& r) {
             r.end = {2000, 1, 3};
         },
         "The start date must be at least 3 days prior to the end date."},
        {"no zone", [](TablesRequest& r) { r.timezoneIndex = 0; },
         "Please specify the timezone for the results, or use the default GMT timezone."},
        {"a planet with itself", [](TablesRequest& r) { r.secondPlanet = kMars; },
         "Transit of a planet to itself is not possible."},
        {"the pair reversed", [](TablesRequest& r) { r.firstPlanet = kSaturn; },
         "Second planet must be beyond first planet"},
        {"no aspect type", [](TablesRequest& r) { r.aspects = {}; },
         "At least one aspect type must be checked."},
        {"orbs not decreasing",
         [](TablesRequest& r) {
             r.orbDegrees = {5, 5, 2};
         },
         "Orbs must be strictly decreasing."},
        // The period comes before the pair, the pair before the orbs.
        {"two faults",
         [](TablesRequest& r) {
             r.end = {2000, 1, 2};
             r.orbDegrees = {1, 2, 3};
         },
         "The start date must be at least 3 days prior to the end date."},
        {"pair and orbs",
         [](TablesRequest& r) {
             r.secondPlanet = kMars;
             r.orbDegrees = {1, 2, 3};
         },
         "Transit of a planet to itself is not possible."},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingObserver heard;
        TablesRequest request = FortyDays();
        c.change(request);
        const TransitRunResult result = vlt::Run(request, heard, std::stop_token(), positions);
        EXPECT_EQ(result.end, TransitRunEnd::Refused);
        ASSERT_EQ(heard.messages.size(), 1u);
        EXPECT_EQ(heard.messages[0], c.message);
        EXPECT_TRUE(heard.text.empty());
        EXPECT_TRUE(heard.started.empty());
    }
}

TEST_F(TransitServiceTest, SearchRefusalsComeBeforeItsDates) {
    struct Case {
        const char* name;
        std::int16_t first, second;
        int aspect;
        CalendarDate start;
        const char* message;
    } cases[] = {
        {"Sun and Mercury square",
         kSun,
         kMercury,
         kSquare,
         {2000, 1, 1},
         "The only possible geocentric aspects between the Sun and Mercury\n"
         "are conjunction and semisextile."},
        {"and a bad date as well",
         kSun,
         kVenus,
         kTrine,
         {2001, 2, 29},
         "The only possible geocentric aspects between the Sun and Venus\n"
         "are conjunction, sextile and semisextile."},
        {"only the bad date", kSun, kVenus, kSextile, {2001, 2, 29}, "The start date is invalid."},
        {"reversed",
         kSaturn,
         kMars,
         kConjunction,
         {2000, 1, 1},
         "Second planet must be beyond first planet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingObserver heard;
        SearchRequest request;
        request.firstPlanet = c.first;
        request.secondPlanet = c.second;
        request.aspect = c.aspect;
        request.start = c.start;
        const TransitRunResult result = vlt::Run(request, heard, std::stop_token(), positions);
        EXPECT_EQ(result.end, TransitRunEnd::Refused);
        ASSERT_EQ(heard.messages.size(), 1u);
        EXPECT_EQ(heard.messages[0], c.message);
    }
}

TEST_F(TransitServiceTest, TheObserverHearsTheWholeRun) {
    const TransitRunResult result = vlt::Run(FortyDays(), observer, std::stop_token(), positions);
    EXPECT_EQ(result.end, TransitRunEnd::Completed);
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_EQ(result.enteredStart, kS);
    EXPECT_EQ(result.enteredEnd, kS + 40);
    EXPECT_EQ(observer.started, std::vector<RunKind>{RunKind::Transit});
    EXPECT_EQ(observer.finished, 1);
    // Every piece of the report reached the observer as it was written.
    EXPECT_EQ(observer.rows, observer.text);
    EXPECT_NE(observer.text.find("Conjunction"), std::string::npos);
    ASSERT_FALSE(observer.progress.empty());
    EXPECT_EQ(observer.progress.front(), 0.0);
    EXPECT_EQ(observer.progress.back(), 1.0);
    for (std::size_t i = 1; i < observer.progress.size(); ++i) {
        EXPECT_LE(observer.progress[i - 1], observer.progress[i]);
    }
}

TEST_F(TransitServiceTest, TheStopTokenEndsTheRun) {
    std::stop_source stopped;
    stopped.request_stop();
    const TransitRunResult before = vlt::Run(FortyDays(), observer, stopped.get_token(), positions);
    EXPECT_EQ(before.end, TransitRunEnd::Stopped);
    EXPECT_EQ(observer.text.find("Conjunction"), std::string::npos);
    EXPECT_TRUE(observer.messages.empty());  // a stop asks nothing

    // Asked for once the first transit is written: the second never comes.
    ProfilePositions twoPasses(
        kMars, {{kS + 0.1, 13}, {kS + 13.1, 0}, {kS + 20.1, 13}, {kS + 27.1, 0}, {kS + 34.1, 13}});
    const auto rows = [](const std::string& text) {
        int n = 0;
        for (std::size_t at = text.find(" GMT\r\n"); at != std::string::npos;
             at = text.find(" GMT\r\n", at + 1)) {
            ++n;
        }
        return n;
    };
    RecordingObserver whole;
    EXPECT_EQ(vlt::Run(FortyDays(), whole, std::stop_token(), twoPasses).end,
              TransitRunEnd::Completed);
    EXPECT_EQ(rows(whole.text), 2);
    RecordingObserver during;
    during.stopAfterFirstRow = true;
    const TransitRunResult result =
        vlt::Run(FortyDays(), during, during.stop.get_token(), twoPasses);
    EXPECT_EQ(result.end, TransitRunEnd::Stopped);
    EXPECT_EQ(rows(during.text), 1);
    EXPECT_EQ(during.finished, 1);
    EXPECT_TRUE(during.messages.empty());
}

TEST_F(TransitServiceTest, ShowAllRunsEveryPairOfTheKeptPlanetInListOrder) {
    ShowAllRequest request;
    static_cast<TablesRequest&>(request) = FortyDays();
    request.keepFirst = true;  // Mars with Mercury .. Pluto, itself passed over
    const TransitRunResult result = vlt::Run(request, observer, std::stop_token(), positions);
    EXPECT_EQ(result.end, TransitRunEnd::PairRefused);
    std::vector<std::string> pairs;
    const std::string words = "transits for Mars and ";
    for (std::size_t at = observer.text.find(words); at != std::string::npos;
         at = observer.text.find(words, at + 1)) {
        const std::size_t name = at + words.size();
        pairs.push_back(observer.text.substr(name, observer.text.find(' ', name) - name));
    }
    // No Pluto table was read here: the series ends at Pluto with the
    // table's one message, as the window's does.
    EXPECT_EQ(pairs, (std::vector<std::string>{"Mercury", "Venus", "Jupiter", "Saturn", "Uranus",
                                               "Neptune"}));
    EXPECT_EQ(observer.messages,
              std::vector<std::string>{
                  "Cannot read the data file pluto.slx: the table has not been read."});
    EXPECT_EQ(observer.started.size(), 1u);  // one run under way for the whole series
    EXPECT_EQ(observer.finished, 1);
}

// How a run that scanned ended, as its type says (vlt-report's exit status
// follows from it alone): a whole report, or what its messages told.
TEST_F(TransitServiceTest, TheEndOfARunSaysWhetherItsReportIsWhole) {
    SilentBoxes quiet;
    ASSERT_TRUE(ReadPlutoData(quiet));  // so that a series goes through Pluto
    ProfilePositions none(kMars, {{kS, 45}, {kS + 1, 45}});
    const struct {
        const char* name;
        bool showAll, passes, fullBox;
        int timezoneIndex;
        TransitRunEnd end;
        std::size_t messages;
    } cases[] = {
        {"transits written", false, true, false, kGmtIndex, TransitRunEnd::Completed, 0},
        {"none in the period", false, false, false, kGmtIndex, TransitRunEnd::NotFound, 1},
        {"the box filled up", false, true, true, kGmtIndex, TransitRunEnd::BoxFull, 2},
        {"every pair of a series", true, true, false, kGmtIndex, TransitRunEnd::SeriesEnded, 0},
        {"a series without transits", true, false, false, kGmtIndex, TransitRunEnd::SeriesEnded, 0},
        {"a series that refused its first pair", true, true, false, 0, TransitRunEnd::PairRefused,
         1},
        {"a series that filled the box", true, true, true, kGmtIndex, TransitRunEnd::BoxFull, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingObserver heard;
        heard.fullBox = c.fullBox;
        ShowAllRequest request;
        static_cast<TablesRequest&>(request) = FortyDays();
        request.timezoneIndex = c.timezoneIndex;
        PositionSource& source = c.passes ? static_cast<PositionSource&>(positions) : none;
        const TransitRunResult result = c.showAll
                                            ? vlt::Run(request, heard, std::stop_token(), source)
                                            : vlt::Run(static_cast<const TablesRequest&>(request),
                                                       heard, std::stop_token(), source);
        EXPECT_EQ(result.end, c.end);
        EXPECT_EQ(heard.messages.size(), c.messages);
    }
    ResetPlutoTables();
}

// The moments a screen shows, as the window hears them through the service:
// a series appends every pair and announces itself once around its passes.
TEST_F(TransitServiceTest, TheWindowHearsEachMomentOfTheRun) {
    ProfilePositions none(kMars, {{kS, 45}, {kS + 1, 45}});
    std::string series = "series ";
    // A pair's pass ends still busy: the series goes on with its next pair.
    for (int pair = 0; pair < 6; ++pair) series += "prepared pass ";
    series += "/series done ";
    const struct {
        const char* name;
        bool showAll, passes, appends, stop;
        std::string before, moments;
    } cases[] = {
        {"a table", false, true, false, false, "old", "prepared pass done written "},
        {"appended to the output", false, true, true, false, "old", "prepared pass done written "},
        {"none in the period", false, false, false, false, "", "prepared pass empty "},
        {"stopped", false, true, false, true, "", "prepared pass written "},
        {"a series to Pluto, which it refuses", true, true, false, false, "old", series},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingObserver heard;
        heard.appends = c.appends;
        heard.text = c.before;
        std::stop_source stop;
        if (c.stop) stop.request_stop();
        ShowAllRequest request;
        static_cast<TablesRequest&>(request) = FortyDays();
        PositionSource& source = c.passes ? static_cast<PositionSource&>(positions) : none;
        if (c.showAll) {
            vlt::Run(request, heard, stop.get_token(), source);
        } else {
            vlt::Run(static_cast<const TablesRequest&>(request), heard, stop.get_token(), source);
        }
        EXPECT_EQ(heard.moments, c.moments);
        // The old text stays only when the Append box asks for it.
        EXPECT_EQ(heard.text.starts_with("old"), c.appends);
    }
}

}  // namespace
}  // namespace vlt::testing
