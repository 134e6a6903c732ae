#include "app/engine/position_source.h"

#include "app/positions/positions.h"

namespace vlt {

double EphemerisPositions::Longitude(std::int16_t planet, double jd, bool heliocentric) {
    return PlanetLongitude(planet, jd, heliocentric);
}

bool EphemerisPositions::IsRetrograde(std::int16_t planet, double jd) {
    return vlt::IsRetrograde(planet, jd);
}

std::optional<PositionFailure> EphemerisPositions::Failure() const {
    return FirstPositionFailure();
}

void EphemerisPositions::ClearFailure() { ClearPositionFailure(); }

PositionSource& DefaultPositions() {
    static EphemerisPositions positions;
    return positions;
}

}  // namespace vlt
