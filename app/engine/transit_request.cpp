#include "app/engine/transit_request.h"

#include <algorithm>

#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/numbers.h"

namespace vlt {

double OrbRadians(int degrees) { return degrees * kTwoPi / 360.0; }

void CompleteRequest(TransitRequest& request) {
    for (int type = 1; type <= kAspectCount; ++type) {
        request.aspectAngle[type] = AspectAngles[type];
        request.aspectName[type] = AspectNames[type].name;
    }
    for (int level = 0; level < 3; ++level) {
        request.orb[level] = OrbRadians(request.orbDegrees[level]);
    }
    request.orbSwitch = request.orbDegrees[0] == 15;
}

double ScanStep(std::int16_t firstPlanet, std::int16_t secondPlanet) {
    if (firstPlanet == kMoon || secondPlanet == kMoon) return kMoonScanStep;
    if (firstPlanet == kMercury || secondPlanet == kMercury) return 0.125;
    if (firstPlanet <= kMars || secondPlanet <= kMars) return 0.25;
    return 0.5;
}

std::int32_t EstimatedTableRows(std::int32_t startDay, std::int32_t endDay, bool searchMode) {
    if (searchMode) return 100;
    const double estimate =
        RoundHalfEven(static_cast<double>(endDay - startDay + 1) / 58.0 * 8.0, 0);
    return static_cast<std::int32_t>(std::clamp(estimate, 200.0, 32760.0));
}

}  // namespace vlt
