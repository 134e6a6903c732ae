#pragma once
// What a transit scan finds, as data: each line of a transit table holds the
// orb entries and exits and the minimum that fell on it.  The report text,
// CSV, JSON and the charts are all written from these values.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/positions/request_rules.h"
#include "app/positions/vocabulary.h"

namespace vlt {

// Orb levels: 0 outer, 1 middle, 2 inner.
inline constexpr int kOrbLevels = 3;

// An orb entered or left: the report day, and whether the first planet was
// retrograde then.
struct OrbCrossing {
    std::int32_t day = 0;
    bool retrograde = false;
    bool operator==(const OrbCrossing&) const = default;
};

// The least distance to the aspect angle within a stretch of the transit.
// An exact minimum (below one minute of arc) has its local clock minute; an
// approximate one the least distance the scan's steps met.
struct TransitMinimum {
    std::int32_t day = 0;
    bool retrograde = false;
    bool exact = false;
    int minuteOfDay = 0;    // exact: local minutes after midnight
    double distance = 0.0;  // approximate: radians
    bool operator==(const TransitMinimum&) const = default;
};

// One line of a transit table.  A transit takes one line or more: the first
// names its aspect; an entry or exit missing from every line leaves the
// transit open at that end (it began before or lasts past the period).
struct TransitLine {
    std::optional<Aspect> aspect;
    std::array<std::optional<OrbCrossing>, kOrbLevels> entry{};  // by level
    std::array<std::optional<OrbCrossing>, kOrbLevels> exit{};   // by level
    std::optional<TransitMinimum> minimum;

    bool Empty() const;
    bool AnyEntry() const;
    bool operator==(const TransitLine&) const = default;
};

// One table of a report: the pair it is for and the lines written under its
// title.
struct TransitTableResult {
    Centricity centricity = Centricity::Geocentric;
    Planet first = Planet::Mars;
    Planet second = Planet::Jupiter;
    Orbs orbs;
    std::string zoneLabel;  // as the exact minima are written
    std::string title;      // the table's title line
    bool search = false;    // a search's table: the first transit found
    std::vector<TransitLine> lines;
};

// Every table a run wrote, in order.
using TransitResults = std::vector<TransitTableResult>;

// A minimum's distance in whole degrees and minutes of arc, as reports
// write it; nothing for a distance they do not write.
struct DegreesMinutes {
    long degrees = 0;
    long minutes = 0;
};
std::optional<DegreesMinutes> DegreesMinutesOf(double radians);

}  // namespace vlt
