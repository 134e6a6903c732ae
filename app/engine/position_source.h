#pragma once
// Where the transit scan gets its positions.  The program uses the shared
// position dispatch; tests drive the scan with constructed longitudes or an
// independent ephemeris, benchmarks count and time the calls.

#include <cstdint>
#include <optional>

#include "app/positions/position_failure.h"

namespace vlt {

class PositionSource {
public:
    virtual ~PositionSource() = default;
    // Ecliptic longitude in radians, or why there is none.
    PositionResult Position(std::int16_t planet, double jd, bool heliocentric) {
        return PositionResult::FromAnswer(Longitude(planet, jd, heliocentric));
    }
    // Whether the planet moves backwards (geocentrically) at universal time jd.
    virtual bool IsRetrograde(std::int16_t planet, double jd) = 0;
    // The first position since ClearFailure that a data file could not give
    // (a missing, short or damaged file), if any.  A source that has no data
    // files never has one.
    virtual std::optional<PositionFailure> Failure() const { return std::nullopt; }
    virtual void ClearFailure() {}
    // Whether the longitudes are the program's own, which move no faster
    // than the measured motion bounds (app/engine/motion_bounds.h) allow; only
    // then may the scan jump over steps.  Constructed positions need not.
    virtual bool FollowsMotionBounds() const { return false; }

private:
    // The source's own answer: radians in [0, 2π), or a negative code as the
    // positions library gives it.  Read only through Position.
    virtual double Longitude(std::int16_t planet, double jd, bool heliocentric) = 0;
};

// PlanetLongitude and IsRetrograde of the position dispatch.
class EphemerisPositions final : public PositionSource {
public:
    bool IsRetrograde(std::int16_t planet, double jd) override;
    std::optional<PositionFailure> Failure() const override;
    void ClearFailure() override;
    bool FollowsMotionBounds() const override { return true; }

private:
    double Longitude(std::int16_t planet, double jd, bool heliocentric) override;
};

// One shared instance for callers that do not inject their own.
PositionSource& DefaultPositions();

}  // namespace vlt
