#include "app/chart/chart_model.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <tuple>

#include "app/chart/chart_legend.h"
#include "app/support/date_processing.h"

namespace vlt {
namespace {

constexpr const char* kAspectNames[8] = {"",      "Conjunction", "Opposition",  "Square",
                                         "Trine", "Sextile",     "Semisextile", "Quincunx"};

// One transit row's dates at one orb level; empty texts where the report
// left the cell empty.
struct LevelDates {
    std::string start;
    std::string end;
};

LevelDates DatesAt(const TransitRecord& r, int level) {
    // The start columns run outer to inner, the end columns inner to outer.
    return {r.start[level], r.end[kOrbLevels - 1 - level]};
}

int OrbAt(const TransitRecord& r, int level) {
    return level == 0 ? r.outerOrb : level == 1 ? r.middleOrb : r.innerOrb;
}

// Whether a row's transit came within the orb of `level`: a date of that
// level or of a deeper one, or a minimum inside the orb.
bool Reached(const TransitRecord& r, int level) {
    for (int k = level; k < kOrbLevels; ++k) {
        const LevelDates d = DatesAt(r, k);
        if (!d.start.empty() || !d.end.empty()) return true;
    }
    if (r.minimumDate.empty()) return false;
    return r.exact || (r.minimumDegrees >= 0 && r.minimumDegrees <= OrbAt(r, level));
}

std::string PairName(const TransitRecord& r) { return r.firstPlanet + "\u2013" + r.secondPlanet; }

}  // namespace

bool ChartModel::Empty() const {
    if (kind == Kind::Panels) return panels.empty();
    return kind == Kind::None || (intervals.empty() && minima.empty() && trades.empty());
}

const char* ChartAspectName(int aspect) {
    return aspect >= 1 && aspect <= 7 ? kAspectNames[aspect] : "";
}

int ChartAspectNumber(const std::string& name) {
    for (int a = 1; a <= 7; ++a) {
        if (name == kAspectNames[a]) return a;
    }
    return 0;
}

std::int32_t ChartDay(const std::string& date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return 0;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
        if (date[i] < '0' || date[i] > '9') return 0;
    }
    return GregorianDayNumber(std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                              std::stoi(date.substr(8, 2)));
}

std::string ChartDateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
}

namespace {

ChartModel EmptyChart(ChartModel::Kind kind, const std::string& title, std::int32_t firstDay,
                      std::int32_t lastDay) {
    ChartModel m;
    m.kind = kind;
    m.title = title;
    m.firstDay = firstDay;
    m.lastDay = lastDay;
    return m;
}

// Lanes in the order the report first names them; aspect lanes in aspect
// order, so that the same aspect keeps its place from run to run.
std::map<std::string, int> AssignLanes(const std::vector<TransitRecord>& rows, bool perPair,
                                       ChartModel& m) {
    std::map<std::string, int> laneOf;
    std::vector<std::string> laneKeys;
    for (const TransitRecord& r : rows) {
        const std::string key = perPair ? PairName(r) : r.aspect;
        if (laneOf.emplace(key, 0).second) laneKeys.push_back(key);
    }
    if (!perPair) {
        std::sort(laneKeys.begin(), laneKeys.end(), [](const std::string& a, const std::string& b) {
            return ChartAspectNumber(a) < ChartAspectNumber(b);
        });
    }
    for (std::size_t i = 0; i < laneKeys.size(); ++i) {
        laneOf[laneKeys[i]] = static_cast<int>(i);
        m.lanes.push_back({laneKeys[i]});
    }
    return laneOf;
}

// One transit's passage through an orb can span several rows: a second
// approach inside the outer orb reports only its inner entries and exits,
// the outer ones stay on the row that opened it.  So the intervals are
// followed per pair, aspect and level through the rows in report order: an
// entry opens, an exit closes, and a passage without an entry before the
// first one of its series was already under way when the period began.
class IntervalFollower {
public:
    IntervalFollower(ChartModel& m, std::int32_t firstDay, std::int32_t lastDay)
        : m_(m), firstDay_(firstDay), lastDay_(lastDay) {}

    void Follow(const TransitRecord& r, int lane, int aspect, int level) {
        Open& s = series_[{r.centricity + PairName(r), r.aspect, level}];
        const LevelDates d = DatesAt(r, level);
        if (!d.start.empty()) {
            Begin(s, r, lane, aspect, level, ChartDay(d.start), false);
        } else if (s.index < 0 && !s.any && Reached(r, level)) {
            Begin(s, r, lane, aspect, level, firstDay_, true);
        }
        if (!d.end.empty()) End(s, r, lane, aspect, level, ChartDay(d.end));
    }

private:
    struct Open {
        int index = -1;    // interval being built, -1 when none
        bool any = false;  // an interval of this series exists
    };

    void Begin(Open& s, const TransitRecord& r, int lane, int aspect, int level, std::int32_t day,
               bool open) {
        ChartInterval iv;
        iv.lane = lane;
        iv.aspect = aspect;
        iv.level = level;
        iv.orb = OrbAt(r, level);
        iv.startDay = day;
        iv.endDay = lastDay_;
        iv.openStart = open;
        iv.openEnd = true;
        iv.pair = PairName(r);
        m_.intervals.push_back(iv);
        s.index = static_cast<int>(m_.intervals.size()) - 1;
        s.any = true;
    }

    void End(Open& s, const TransitRecord& r, int lane, int aspect, int level, std::int32_t day) {
        if (s.index >= 0) {
            ChartInterval& iv = m_.intervals[static_cast<std::size_t>(s.index)];
            iv.endDay = day;
            iv.openEnd = false;
            s.index = -1;
        } else if (s.any) {
            // The exit of a passage an earlier row opened and closed early:
            // the passage lasted until this exit.
            for (auto it = m_.intervals.rbegin(); it != m_.intervals.rend(); ++it) {
                if (it->pair == PairName(r) && it->aspect == aspect && it->level == level) {
                    it->endDay = std::max(it->endDay, day);
                    break;
                }
            }
        } else {
            Begin(s, r, lane, aspect, level, firstDay_, true);
            m_.intervals.back().endDay = day;
            m_.intervals.back().openEnd = false;
            s.index = -1;
        }
    }

    ChartModel& m_;
    std::int32_t firstDay_;
    std::int32_t lastDay_;
    std::map<std::tuple<std::string, std::string, int>, Open> series_;
};

ChartMinimum MinimumOf(const TransitRecord& r, int lane, int aspect) {
    ChartMinimum mn;
    mn.lane = lane;
    mn.aspect = aspect;
    mn.day = ChartDay(r.minimumDate);
    mn.exact = r.exact;
    mn.retrograde = r.minimumRetrograde;
    mn.time = r.exact ? r.minimumTime + (r.zone.empty() ? "" : " " + r.zone) : "";
    mn.distance = r.minimumDistance;
    mn.pair = PairName(r);
    return mn;
}

}  // namespace

ChartModel TransitChart(const std::vector<TransitRecord>& rows, bool perPair, std::int32_t firstDay,
                        std::int32_t lastDay, const std::string& title) {
    ChartModel m = EmptyChart(ChartModel::Kind::Transits, title, firstDay, lastDay);
    std::map<std::string, int> laneOf = AssignLanes(rows, perPair, m);
    IntervalFollower intervals(m, firstDay, lastDay);
    for (const TransitRecord& r : rows) {
        const int lane = laneOf[perPair ? PairName(r) : r.aspect];
        const int aspect = ChartAspectNumber(r.aspect);
        for (int level = 0; level < kOrbLevels; ++level) intervals.Follow(r, lane, aspect, level);
        if (!r.minimumDate.empty()) m.minima.push_back(MinimumOf(r, lane, aspect));
    }
    return m;
}

ChartModel TransitChartOfResults(const TransitResults& results, std::int32_t firstDay,
                                 std::int32_t lastDay) {
    const std::vector<TransitRecord> rows = TransitRecords(results);
    const std::string title = results.empty() ? std::string() : results.front().title;
    const bool search = !results.empty() && results.front().search;
    bool severalPairs = false;
    for (const TransitRecord& r : rows) {
        severalPairs = severalPairs || PairName(r) != PairName(rows.front());
    }
    if (search && !rows.empty()) {
        std::int32_t lo = 0, hi = 0;
        for (const TransitRecord& r : rows) {
            for (const std::string* d : {&r.start[0], &r.start[1], &r.start[2], &r.minimumDate,
                                         &r.end[0], &r.end[1], &r.end[2]}) {
                const std::int32_t day = ChartDay(*d);
                if (day == 0) continue;
                lo = lo == 0 ? day : std::min(lo, day);
                hi = std::max(hi, day);
            }
        }
        if (lo != 0) {
            firstDay = lo - 14;
            lastDay = hi + 14;
        }
    }
    ChartModel m = TransitChart(rows, severalPairs, firstDay, lastDay, title);
    // A show-all series is one table per pair; the first table's title
    // would name one pair only.
    const std::string series = severalPairs ? SeriesTitle(rows, firstDay, lastDay) : "";
    if (!series.empty()) m.title = series;
    return m;
}

ChartModel SimulationChart(const std::vector<SimulationEvent>& events, std::int32_t firstDay,
                           std::int32_t lastDay, const std::string& title) {
    ChartModel m = EmptyChart(ChartModel::Kind::Simulation, title, firstDay, lastDay);

    // Curves in aspect order; each starts at 0 on the first day.
    std::map<int, std::size_t> curveOf;
    for (const SimulationEvent& e : events) curveOf.emplace(Number(e.aspect), 0);
    for (auto& [aspect, index] : curveOf) {
        index = m.curves.size();
        m.curves.push_back({aspect, {{firstDay, 0.0}}});
    }
    for (const SimulationEvent& e : events) {
        EquityCurve& c = m.curves[curveOf[Number(e.aspect)]];
        const double before = c.points.back().value;
        switch (e.kind) {
            case SimulationEvent::Kind::Investment:
                m.trades.push_back({Number(e.aspect), e.orbDegrees, e.day, before, true});
                break;
            case SimulationEvent::Kind::Redemption:
                // A step: the gain holds until the day and changes on it.
                c.points.push_back({e.day, before});
                c.points.push_back({e.day, before + e.gain});
                m.trades.push_back({Number(e.aspect), e.orbDegrees, e.day, before + e.gain, false});
                break;
            case SimulationEvent::Kind::Cancellation: break;
        }
    }
    for (EquityCurve& c : m.curves) c.points.push_back({lastDay, c.points.back().value});
    return m;
}

ChartModel ChartOfLastRun(bool outputEmpty, bool simulatedLast, const TransitResults& transits,
                          const InvestmentSimulation& simulation, const IndexData& index,
                          std::int32_t firstDay, std::int32_t lastDay) {
    ChartModel m;
    if (outputEmpty) return m;
    if (simulatedLast) {
        if (simulation.LastOutcome() != SimulationOutcome::Completed) return m;
        m = SimulationChart(simulation.Events(), simulation.StartDay(), simulation.EndDay(),
                            simulation.Title());
    } else if (!transits.empty()) {
        m = TransitChartOfResults(transits, firstDay, lastDay);
    } else {
        return m;
    }
    m.priceName = "DJIA";
    m.prices = IndexPrices(index, m.firstDay, m.lastDay);
    return m;
}

std::vector<ChartPoint> IndexPrices(const IndexData& data, std::int32_t firstDay,
                                    std::int32_t lastDay) {
    std::vector<ChartPoint> points;
    for (std::int32_t i = 1; i <= data.count && i < static_cast<std::int32_t>(data.lines.size());
         ++i) {
        const std::string& line = data.lines[static_cast<std::size_t>(i)];
        const std::int32_t day = ChartDay(line.substr(0, 10));
        if (day < firstDay || day > lastDay || !IndexLineValueIsNumber(line)) continue;
        const double value = IndexLineValue(line);
        if (value > 0) points.push_back({day, value});
    }
    return points;
}

std::vector<ChartPoint> SeriesPrices(const PriceSeries& series, std::int32_t firstDay,
                                     std::int32_t lastDay) {
    std::vector<ChartPoint> points;
    for (std::size_t i = 0; i < series.days.size() && i < series.values.size(); ++i) {
        const std::int32_t day = series.days[i];
        if (day >= firstDay && day <= lastDay && series.values[i] > 0) {
            points.push_back({day, series.values[i]});
        }
    }
    return points;
}

}  // namespace vlt
