#include "app/engine/transit_records.h"

#include "app/engine/report_lines.h"

namespace vlt {
namespace {

void SetCrossing(const std::optional<OrbCrossing>& crossing, std::string& date, bool& retrograde) {
    if (!crossing) return;
    date = ReportDateText(crossing->day);
    retrograde = crossing->retrograde;
}

void SetMinimum(const TransitMinimum& m, const std::string& zoneLabel, TransitRecord& row) {
    row.minimumDate = ReportDateText(m.day);
    row.minimumRetrograde = m.retrograde;
    row.exact = m.exact;
    if (m.exact) {
        row.minimumTime = ClockTimeText(static_cast<double>(m.minuteOfDay) / 1440.0);
        row.zone = zoneLabel;
        return;
    }
    const std::optional<DegreesMinutes> dm = DegreesMinutesOf(m.distance);
    if (!dm) return;
    row.minimumDistance = FormatDegMin(m.distance, false, false);
    row.minimumDegrees = static_cast<double>(dm->degrees) + static_cast<double>(dm->minutes) / 60.0;
}

TransitRecord TableContext(const TransitTableResult& table) {
    TransitRecord context;
    context.centricity = IsHeliocentric(table.centricity) ? "heliocentric" : "geocentric";
    context.firstPlanet = std::string(Name(table.first, table.centricity));
    context.secondPlanet = std::string(Name(table.second, table.centricity));
    context.outerOrb = table.orbs.outer;
    context.middleOrb = table.orbs.middle;
    context.innerOrb = table.orbs.inner;
    return context;
}

}  // namespace

std::vector<TransitRecord> TransitRecords(const TransitResults& results) {
    std::vector<TransitRecord> rows;
    for (const TransitTableResult& table : results) {
        TransitRecord context = TableContext(table);
        for (const TransitLine& line : table.lines) {
            if (line.aspect) context.aspect = std::string(Info(*line.aspect).name);
            TransitRecord row = context;
            for (int k = 0; k < kOrbLevels; ++k) {
                const auto level = static_cast<std::size_t>(k);
                SetCrossing(line.entry[level], row.start[k], row.startRetrograde[k]);
                // Ends in the order of their columns: inner, middle, outer.
                SetCrossing(line.exit[2 - level], row.end[k], row.endRetrograde[k]);
            }
            if (line.minimum) SetMinimum(*line.minimum, table.zoneLabel, row);
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace vlt
