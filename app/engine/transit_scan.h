#pragma once
// The transit scan: walks through a period in fixed steps, follows the
// angular separation of two planets against every enabled aspect angle and
// three nested orbs, fills the transit table and writes each finished
// transit to the output box at once.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/engine/exact_minimum.h"
#include "app/engine/motion_bounds.h"
#include "app/engine/position_source.h"
#include "app/engine/transit_request.h"
#include "app/engine/transit_result.h"
#include "app/engine/transit_table.h"
#include "app/support/run_host.h"

namespace vlt {

// How a scan ended.
enum class ScanEnd {
    Completed,       // period scanned, something found, "Done" shown
    NothingFound,    // period scanned, "Not found" shown
    FoundInSearch,   // search mode: the first complete transit was written
    Stopped,         // "Stop?" answered Yes
    ShowAllReturn,   // show-all mode: the series finishes the run
    DataFileFailed,  // a data file could not give a position: message shown
};

class TransitScanner {
public:
    TransitScanner(RunHost& host, PositionSource& positions);

    // Runs one scan.  Owns the busy state from its preparation to its end
    // (the show-all series leaves it itself).
    ScanEnd TransitScan(const TransitRequest& request);

    const TransitTable& Table() const { return table_; }
    // For callers that place their own cell texts before writing a row.
    TransitTable& TableForEdit() { return table_; }

    // Whether the header rows of the current report are in the output; the
    // commands clear it when they start a report.
    bool HeaderPrinted() const { return headerPrinted_; }
    void SetHeaderPrinted(bool on) { headerPrinted_ = on; }

    // The pieces of the scan, usable after UseRequest (TransitScan calls it).
    void UseRequest(const TransitRequest& request);
    // Whether the first planet counts as retrograde at local midnight
    // beginning (day - 0.5) in the request's zone; never heliocentric or in
    // show-all.
    bool RetrogradeAt(std::int32_t day, int minutes, std::int16_t planet);
    // The exact-minimum text of a local minimum near local time t, or "" when
    // the distance stays at or above one minute of arc.
    std::string FindExactMinimum(double t, std::int16_t first, std::int16_t second, int aspectType,
                                 double step);
    // The same answer from the walk over every minute of the search: the
    // definition that the quicker search must match.
    std::string FindExactMinimumMinuteByMinute(double t, std::int16_t first, std::int16_t second,
                                               int aspectType, double step);
    // The grid minute and distance of the search near local time t (minute
    // 0 at t - 1.5 steps, down to a whole minute), quickly or by the walk over every minute.
    // `scanDistances` are the scan's own distances at t - step, t and
    // t + step, where it has them; the quick search computes them otherwise.
    GridMinimum ExactMinute(double t, std::int16_t first, std::int16_t second, int aspectType,
                            double step, bool minuteByMinute,
                            const std::array<double, 3>* scanDistances = nullptr);
    // The exact minimum of a grid minimum, nothing when it is not below one
    // minute of arc; and the same as the report writes it ("" for nothing).
    std::optional<TransitMinimum> ExactMinimumOf(double t, std::int16_t first, double step,
                                                 const GridMinimum& found);
    std::string ExactMinimumText(double t, std::int16_t first, double step,
                                 const GridMinimum& found);
    // The exact minimum near local time t, as the scan searches for it.
    std::optional<TransitMinimum> ExactMinimumNear(
        double t, std::int16_t first, std::int16_t second, int aspectType, double step,
        const std::array<double, 3>* scanDistances = nullptr);
    // Makes the scan's searches walk every minute (the reference for the
    // quicker search, and for comparing their costs).
    void SetMinuteByMinuteSearch(bool on) { minuteByMinute_ = on; }
    // Told the step time and aspect type of every exact-minimum search the
    // scan makes (for recording the searches of real scans).
    void SetExactMinimumObserver(std::function<void(double t, int aspectType)> observer) {
        exactMinimumObserver_ = std::move(observer);
    }
    // Makes the scan evaluate every step of its grid instead of leaving out
    // the steps in which the motion bounds prove that nothing can happen:
    // the reference the quicker scan must match, report for report.
    void SetFixedStepScan(bool on) { fixedStep_ = on; }
    void WriteApproximateMinimum(std::int32_t row, double time, double distance, int minutes);
    bool RowIsEmpty(std::int32_t row) const { return table_.RowIsEmpty(row); }
    // Writes row r to the output (with the header rows before the first)
    // and adds it to the results.
    void WriteTableRow(std::int32_t row);

    // Every table line written since the results were last cleared, under
    // the table it was written in.
    const TransitResults& Results() const { return results_; }
    // The output box filled up during the last scan ("Output textbox is
    // full." was shown).
    bool BoxFilled() const { return boxFilled_; }
    void ClearResults() { results_.clear(); }

    struct OrbSwitch {
        int first = 0;   // aspect type leaving its outer orb
        int second = 0;  // aspect type entering its outer orb
        bool found = false;
    };
    OrbSwitch DetectOrbSwitch() const;

private:
    // What one orb level of one aspect does between t and t + step.
    enum class OrbEvent { None, Entering, Inside, Leaving };
    struct OrbLevel {
        bool inOrbAtT = false;     // distance at t within the orb
        bool inOrbAtNext = false;  // distance at t + step within the orb
        OrbEvent event = OrbEvent::None;
    };
    struct LevelEvents {
        int entry = -1;   // innermost level entered, -1 for none
        int exit = -1;    // innermost level left
        int inside = -1;  // innermost level the transit stays inside
    };

    // The scan's stages: prepare the table and the busy state, step through
    // the period, summarise how the steps ended, leave the busy state.
    enum class StepOutcome { Completed, Stopped, Found, Failed };
    void PrepareScan();
    bool UserConfirmsStop();
    StepOutcome RunSteps(double first, double last);
    ScanEnd SummariseScan(StepOutcome outcome);
    ScanEnd SummariseCompletedScan();
    void FinishScan();
    void ClearOrbFlags();
    void ClearTransitTable();
    void BuildTableHeader();
    void FlushTransit();
    // Which longitudes a step computes: all three samples on the first step,
    // only the next one on a step after a step, and after a jump the step's
    // own and the next, with or without the one before.
    enum class Sampling { First, Next, Landing, LandingWithoutBefore };
    void ComputeSamples(double t, double before, Sampling sampling);
    void EvaluateOrbs();
    // One step's event handling; returns true when a search has found its
    // transit.
    bool HandleEvents(double t, bool firstStep, const OrbSwitch& orbSwitch);
    int ClassifyOrbEvents(const OrbSwitch& orbSwitch);
    LevelEvents LevelEventsOf(int type) const;
    void RecordEntry(int type, int level, const OrbCrossing& crossing, double t);
    void RecordInnerExit(int type, int level, const OrbCrossing& crossing);
    bool RecordOuterExit(int type, const OrbCrossing& crossing, double t, std::int32_t markerDay,
                         const OrbSwitch& orbSwitch);
    TransitLine& LineAt(std::int32_t row) { return table_.LineForWrite(row); }
    // A new result table for the header just written.
    void StartResultTable();
    void FollowMinimum(double t, bool firstStep, int type, int insideLevel);
    void WriteRunningMinimum();
    void NextMinimumRow();
    std::int32_t& Offset(TransitColumn column);
    void ResetOffsets();
    void SetAspectNameIfEmpty(int type);
    bool AnyStartFilled(std::int32_t row) const;
    // Shows the data-file failure the positions met, if any; true then.
    bool PositionsFailed();
    // The steps after the current one that can be left out, and what their
    // running minimum does.
    struct Skip {
        long steps = 0;
        bool needsBefore = false;  // the landing step reads the sample before it
        int replayType = 0;        // aspect whose falling distance the landing replays
    };
    Skip StepsWithoutEvents(double t);
    // What the bounds extrapolate from after a step: S_k+1, its move v and
    // second difference a, whether no fold lies among the samples, and how
    // many steps ahead the points stay in one smooth piece (0: a unknown).
    struct Extrapolation {
        double s = 0.0;
        double v = 0.0;
        double a = 0.0;
        bool curved = false;
        long smoothSteps = 0;
    };
    void PrepareExtrapolation(double t);
    long SmoothSteps(double before) const;
    long StepsInside(double low, double high, bool monotone) const;
    Skip InsideOrbSteps(double t, int active, double low, double high);
    void ApplySkippedStep(double t);
    double NextCriticalSeparation(double from, bool upwards) const;
    void ReplaySkippedMinimum(double before);
    // The samples of a search at t - step, t and t + step as known distances
    // of its grid (the scan's own where it has them), with the bound on the
    // distance's second derivative; none where the distance is not one
    // smooth function of time over the search.
    struct SmoothSearch {
        std::array<KnownDistance, 3> known{};
        double curvature = 0.0;
        long lastMinute = 0;
    };
    std::optional<SmoothSearch> SmoothSearchAround(double t, std::int16_t first,
                                                   std::int16_t second, int aspectType, double step,
                                                   const std::array<double, 3>* scanDistances);
    // The bound on the second derivative of the distance of the search
    // between universal times low and high (radians per minute squared),
    // where it is one smooth function of time: none otherwise.
    std::optional<double> SearchCurvature(std::int16_t first, std::int16_t second, int aspectType,
                                          double low, double high, double distanceAtT) const;
    void ReportProgressMaybe(double t, double first, double last, unsigned long stepCount);

    RunHost& host_;
    PositionSource& positions_;
    TransitRequest req_;
    TransitTable table_;

    bool headerRowsBuilt_ = false;
    bool headerPrinted_ = false;
    bool boxFilled_ = false;

    double step_ = 0.5;
    int tzMinutes_ = 0;
    double tzDays_ = 0.0;

    // Longitude window: [planet][sample], samples at t - step, t, t + step.
    PositionResult lon_[2][3] = {};
    double separation_[3] = {};
    std::array<std::array<double, 3>, 8> distance_{};
    // [aspect type][orb level: 0 outer, 1 middle, 2 inner]
    std::array<std::array<OrbLevel, 3>, 8> orbs_{};

    double runningMinimum_ = 10.0;
    double runningMinimumTime_ = 0.0;
    std::int32_t baseRow_ = kFirstTransitRow;
    std::array<std::int32_t, 7> offset_{};  // by column, MiddleStart..MiddleEnd
    TransitResults results_;

    long long lastProgressNanos_ = 0;
    std::function<void(double, int)> exactMinimumObserver_;
    bool minuteByMinute_ = false;
    bool fixedStep_ = false;
    std::optional<SeparationBounds> bounds_;
    Extrapolation extrapolation_;
    int activeType_ = 0;
    int replayType_ = 0;
};

}  // namespace vlt
