#pragma once
// The three transit commands of the main window: construct transit tables
// (Start), search for the first transit of one aspect (Search), and the
// transit tables of one planet with every other planet (Show all).  They read
// the window's inputs, refuse what cannot be computed with the window's
// messages, and run the transit scan.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/engine/position_source.h"
#include "app/engine/transit_request.h"
#include "app/engine/transit_scan.h"
#include "app/engine/transit_window.h"
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

class TransitCommands {
public:
    TransitCommands(RunHost& host, TransitWindow& window,
                    PositionSource& positions = DefaultPositions());

    // Click on cmdStart: a pause request while a scan runs, else a run.
    void Start();
    // Click on cmdSearch.
    void Search();
    // Click on cmdShowAll(item), item 0 or 1.
    void ShowAll(int item);

    bool ShowAllMode() const { return showAllMode_; }
    bool SearchMode() const { return searchMode_; }
    // The request of the last scan started and how it ended.
    const TransitRequest& LastRequest() const { return lastRequest_; }
    ScanEnd LastScanEnd() const { return lastEnd_; }
    bool ScanRan() const { return scanRan_; }
    // The first rule that refused the last command (in a show-all series,
    // a pair), if one did.
    const std::optional<Refusal>& LastRefusal() const { return lastRefusal_; }
    // The scan itself, for the benchmarks that compare its exact-minimum
    // searches and count them.
    TransitScanner& Scanner() { return scanner_; }
    const TransitScanner& Scanner() const { return scanner_; }

private:
    // Shows and keeps a refusal, if there is one; true when there is.
    bool Refused(const std::optional<Refusal>& refusal, const std::string& caption);
    // A table run (Start without the pause check; show-all's passes).
    void StartTable();
    // The stages of a table run.
    bool CheckEnteredPeriod(std::int32_t& start, std::int32_t& end);
    bool ChoosePair(const TransitInputs& in, TransitRequest& request);
    bool CheckDataFor(const TransitInputs& in, const TransitRequest& request, std::int32_t start,
                      std::int32_t end);
    void PrepareTableRequest(const TransitInputs& in, std::int32_t start, std::int32_t end,
                             TransitRequest& request);
    void RunScan(TransitRequest& request);
    // A Pluto pair whose table is not in memory: the table's message (when
    // the window has one); a show-all series ends there.
    void RefusePlutoWithoutTable(const TransitInputs& in);

    RunHost& host_;
    TransitWindow& window_;
    PositionSource& positions_;
    TransitScanner scanner_;
    bool showAllMode_ = false;
    bool searchMode_ = false;
    TransitRequest lastRequest_;
    ScanEnd lastEnd_ = ScanEnd::Completed;
    bool scanRan_ = false;
    std::optional<Refusal> lastRefusal_;
};

}  // namespace vlt
