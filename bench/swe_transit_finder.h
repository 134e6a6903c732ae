#pragma once
// A plain transit finder on the Swiss Ephemeris, the yardstick for the
// transit scan's speed: one geocentric longitude per planet and day, and
// for every orb entry and exit and every exact aspect between two days a
// bisection down to the minute.  Same aspects and orbs as the scan; no
// report, only counts.

namespace vlt::bench {

struct YardstickCounts {
    long long longitudes = 0;  // ephemeris calls
    long orbEvents = 0;        // entries and exits, all orbs
    long exactAspects = 0;     // crossings of an aspect angle
};

// Opens the ephemeris files (once per process).
void OpenYardstickEphemeris();

// Ephemeris body numbers of the Swiss Ephemeris (SE_SUN = 0, SE_MERCURY = 2,
// ... SE_PLUTO = 9) for the program's planets 1 (Sun) .. 9 (Pluto).
int YardstickBody(int programPlanet);

// Scans days firstDay..lastDay (Julian day numbers, at 0h universal time)
// for all seven aspects with orbs of `orbDegrees` (outer, middle, inner).
YardstickCounts FindTransits(int firstBody, int secondBody, double firstDay, double lastDay,
                             const double orbDegrees[3]);

}  // namespace vlt::bench
