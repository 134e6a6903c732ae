#pragma once
// Positions that a data file could not give.  The positions library and the
// Pluto tables answer a negative code; the codes of an unreadable, short or
// damaged data file (unlike -99/-100, a date outside the data) mean that the
// report would be wrong, so the commands end with a message that names the
// file.  This module turns such a code into that message and remembers the
// first one met, so that a run can stop at the step where it happened.

#include <cstdint>
#include <optional>
#include <string>

namespace vlt {

// The Moon's coefficient file in the data folder (read by the positions
// library).
inline constexpr const char* kMoonFile = "moon.chb";

// What a longitude from the dispatch stands for.  The negative codes of the
// positions library and the Pluto tables stop here: the layers above ask
// this, never the numbers.
enum class PositionKind {
    Longitude,        // a longitude in [0, 2π)
    BeforeData,       // -99: the date lies before the planet's data
    AfterData,        // -100: the date lies after it
    DataFileFailure,  // a data file could not give the position (below)
    NoPosition,       // any other code: a body without positions, a date
                      // that is not a number
};

PositionKind ClassifyLongitude(double longitude);

// Codes of the data files (the positions library's -101 to -104 and -107,
// the Pluto tables' -101, -103 and -106).
bool IsDataFileFailure(double longitude);

// A longitude, or the kind of its absence.  The position sources answer
// with this; the code behind a missing position is kept only to name the
// data file that failed.
class PositionResult {
public:
    // The dispatch's answer (or that of a source standing in for it): a
    // longitude in [0, 2π) or a negative code.
    static PositionResult FromAnswer(double answer) {
        return PositionResult(ClassifyLongitude(answer), answer);
    }
    // A position that was never asked for.
    PositionResult() = default;
    static PositionResult None() { return PositionResult(); }

    bool HasLongitude() const { return kind_ == PositionKind::Longitude; }
    PositionKind Kind() const { return kind_; }
    bool IsDataFileFailure() const { return kind_ == PositionKind::DataFileFailure; }
    // Radians in [0, 2π); only when HasLongitude.
    double Longitude() const { return value_; }
    // The code for DescribePositionFailure; only without a longitude.
    double FailureCode() const { return value_; }

private:
    PositionResult(PositionKind kind, double value) : kind_(kind), value_(value) {}

    PositionKind kind_ = PositionKind::NoPosition;
    double value_ = -1.0;
};

// A position that a data file could not give, and why.
struct PositionFailure {
    std::int16_t planet = 0;  // program planet number
    double jd = 0.0;          // universal Julian date asked for
    bool heliocentric = false;
    double code = 0.0;
    std::string fileName;  // "saturn.dac", "pluto.slx", "moon.chb"
    std::string reason;    // "No such file or directory"

    // "Cannot read the data file saturn.dac: No such file or directory."
    std::string Message() const;
};

// Works out the file and the reason behind a data-file code (for a file that
// cannot be opened, the system's own words for it).
PositionFailure DescribePositionFailure(std::int16_t planet, double jd, bool heliocentric,
                                        double code);

// The first data-file failure met by PlanetLongitude, HelioLongitude or
// GeoLongitude since the last ClearPositionFailure (none at start), on any
// thread: a copy, taken under the record's lock.
std::optional<PositionFailure> FirstPositionFailure();
void ClearPositionFailure();
// Called by the dispatch for every code it passes on.
void NotePositionCode(std::int16_t planet, double jd, bool heliocentric, double code);

}  // namespace vlt
