#pragma once
// The three transit commands: construct transit tables (Start), search for
// the first transit of one aspect (Search), and the transit tables of one
// planet with every other planet (Show all).  They take a typed request,
// refuse what cannot be computed with the window's messages, and run the
// transit scan.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/engine/position_source.h"
#include "app/engine/transit_request.h"
#include "app/engine/transit_scan.h"
#include "app/engine/transit_service.h"
#include "app/positions/request_rules.h"
#include "app/support/run_host.h"

namespace vlt {

// "Start date is too early for Jupiter." and the like: both planets'
// positions (in the run's centricity) at local midnight beginning dayNumber
// (no zone), each planet asked in turn for a date before its data, then each
// for a date after it.  date 0
// start, 1 end.  A data file that cannot give either position is reported
// first ("Cannot read the data file saturn.dac: ..."), and *dataFileFailed
// set when given; a date outside a planet's data is a refusal, kept in
// *refused when given.
bool CheckDateInDataSpan(int date, std::int32_t dayNumber, std::int16_t first, std::int16_t second,
                         bool heliocentric, PositionSource& positions, MessageBoxes& boxes,
                         bool* dataFileFailed = nullptr, std::optional<Refusal>* refused = nullptr);

// The start day moved back, one day at a time, while the two planets stay
// within the inner orb of the first aspect type (of all seven) that holds
// them at the local midnight beginning the start day.
std::int32_t MoveStartOutOfTransit(std::int32_t startDay, std::int16_t first, std::int16_t second,
                                   bool heliocentric, double innerOrb, int timezoneMinutes,
                                   PositionSource& positions);

// The search's outer, middle and inner orb degrees for the search-orb list
// index (entries 3° to 15°).
std::array<std::int16_t, 3> SearchOrbDegrees(int searchOrbIndex);

// The pairs of a show-all series in the order they run, as the planet
// lists hold them (first, second): every planet of the other list but the
// Moon, then (keeping the second planet) Pluto, then the Moon when the
// series pairs it.  A pair may hold the kept planet twice; the series passes
// over it.
std::vector<std::pair<std::int16_t, std::int16_t>> ShowAllPairs(const ShowAllRequest& request);

// The transit button's caption for a pair of the lists ("Mars and Jupiter";
// the first list shows no entry for Pluto): the run's messages carry it as
// their title.
std::string PairCaption(std::int16_t first, std::int16_t second, bool heliocentric);

class TransitCommands {
public:
    explicit TransitCommands(RunHost& host, PositionSource& positions = DefaultPositions());

    // Transit tables of the request's pair; a request while a transit run is
    // under way asks that run to pause instead.
    void Start(const TablesRequest& request);
    void Search(const SearchRequest& request);
    void ShowAll(const ShowAllRequest& request);

    // The message of a Pluto table that is not in memory for a centricity,
    // "" when it is (by default the loaded tables are asked).
    void SetPlutoTableProblem(std::function<std::string(bool heliocentric)> problem) {
        plutoTableProblem_ = std::move(problem);
    }
    // The day numbers of the last request's start and end dates as checked;
    // 0 for a date the run refused or did not reach.
    std::int32_t EnteredDay(int date) const { return enteredDay_[date == 0 ? 0 : 1]; }

    bool ShowAllMode() const { return showAllMode_; }
    bool SearchMode() const { return searchMode_; }
    // The request of the last scan started and how it ended.
    const TransitRequest& LastRequest() const { return lastRequest_; }
    ScanEnd LastScanEnd() const { return lastEnd_; }
    bool ScanRan() const { return scanRan_; }
    // The first rule that refused the last command (in a show-all series,
    // a pair), if one did.
    const std::optional<Refusal>& LastRefusal() const { return lastRefusal_; }
    // The output box filled up during the last command's scans.
    bool BoxFilled() const { return boxFilled_; }
    // A pair of the last show-all series was refused with a message (a
    // planet paired with itself is passed over without one).
    bool ShowAllPairRefused() const { return pairRefused_; }
    // The scan itself, for the benchmarks that compare its exact-minimum
    // searches and count them.
    TransitScanner& Scanner() { return scanner_; }
    const TransitScanner& Scanner() const { return scanner_; }

private:
    // A command's start: nothing refused or filled yet.
    void Begin();
    // Shows and keeps a refusal, if there is one; true when there is.
    bool Refused(const std::optional<Refusal>& refusal, const std::string& caption);
    // A table run (Start without the pause check; show-all's passes).  A
    // refused zone leaves GMT chosen in `in`.
    // True when the table was scanned or (a planet with itself in a series)
    // passed over, false when refused with a message.
    bool StartTable(TablesRequest& in);
    // The stages of a table run.
    bool CheckRequestDate(int date, const CalendarDate& entered);
    bool CheckEnteredPeriod(const TablesRequest& in, std::int32_t& start, std::int32_t& end);
    bool ChoosePair(const TablesRequest& in, TransitRequest& request);
    bool CheckDataFor(const TablesRequest& in, const TransitRequest& request, std::int32_t start,
                      std::int32_t end);
    void PrepareTableRequest(const TablesRequest& in, std::int32_t start, std::int32_t end,
                             TransitRequest& request);
    void RunScan(TransitRequest& request);
    // A Pluto pair whose table is not in memory: the table's message (when
    // there is one); a show-all series ends there.  True when refused.
    bool RefusePlutoWithoutTable(const TransitBasics& in);
    // One pass of a show-all series; true when the series is to end.
    bool ShowAllPass(TablesRequest& series, std::int16_t first, std::int16_t second);

    RunHost& host_;
    PositionSource& positions_;
    std::function<std::string(bool)> plutoTableProblem_;
    std::int32_t enteredDay_[2] = {0, 0};
    TransitScanner scanner_;
    bool showAllMode_ = false;
    bool searchMode_ = false;
    TransitRequest lastRequest_;
    ScanEnd lastEnd_ = ScanEnd::Completed;
    bool scanRan_ = false;
    std::optional<Refusal> lastRefusal_;
    bool boxFilled_ = false;
    bool pairRefused_ = false;
};

}  // namespace vlt
