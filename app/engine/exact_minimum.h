#pragma once
// The search for the exact minute of a minimum distance on a grid of whole
// minutes.  Minute k of the grid lies k minutes after its lower bound; the
// caller says how to compute the distance at a grid minute.
//
// The answer is defined by the walk minute by minute from the lower bound:
// a distance below the best so far becomes the best, an equal one goes on,
// the first larger one ends the walk, and so does the upper bound.  The
// best starts at 10 (above any distance), so a first distance of 10 or more
// ends the walk at once with no minute found.

#include <array>
#include <functional>
#include <vector>

namespace vlt {

struct GridMinimum {
    long minute = 0;         // grid minute of the best distance
    double distance = 10.0;  // the best distance (10 when none was smaller)
    bool operator==(const GridMinimum&) const = default;
};

// Distance at grid minute k, 0 <= k <= last.
using GridDistance = std::function<double(long)>;

// The walk itself: every minute from the lower bound until the distance
// grows.
GridMinimum MinuteByMinuteMinimum(const GridDistance& distanceAt, long last);

// The same answer from far fewer distances, for distances that change
// smoothly except, perhaps, across the grid minutes listed in `breaks` (the
// first minute after each place where the positions may jump or bend).  It
// probes the grid coarsely until the distance rises, probes the last two
// coarse stretches finely, and halves down to the first rise.  It keeps that
// answer only where every distance it computed fits one smooth minimum:
// strictly falling up to the answer (on both sides of every break before
// it), the fall per minute bending smoothly from stretch to stretch, and
// rising after it.  Anywhere else it walks minute by minute, reusing what
// it computed.
GridMinimum FastGridMinimum(const GridDistance& distanceAt, long last,
                            const std::vector<long>& breaks);

// A distance already known at a time given in grid minutes (not necessarily
// a whole one), such as the samples of a scan around the minimum.
struct KnownDistance {
    double minute = 0.0;
    double distance = 0.0;
};

// The same answer from a handful of distances, for distances |f| of one
// function f of time whose second derivative stays within `curvature`
// (radians per minute squared) over the whole grid: no record change of the
// positions and no fold of the separation inside.  It predicts where f
// crosses zero from the known distances, steps to the grid minute whose
// neighbours both lie higher, and keeps it only where the distances it has
// prove |f'| bounded away from zero from the lower bound to one minute past
// the answer: then f has at most one zero there, the distance falls strictly
// up to it and rises after it, and the walk ends exactly at that minute.
// Anywhere else it leaves the search to FastGridMinimum, reusing what it
// computed.
GridMinimum SmoothGridMinimum(const GridDistance& distanceAt, long last,
                              const std::vector<long>& breaks,
                              const std::vector<KnownDistance>& known, double curvature);

// Whether the distance provably stays at or above `floor` from minute 0 to
// minute `last`, from three known distances |f| at minutes inside the grid
// and the same curvature bound.  Of the signs f may take at the three, only
// those whose second divided difference the bound allows are possible; where
// that leaves f on one side of zero at all three, f can dip below the
// straight lines through them (and beyond them) only by what the curvature
// allows.
bool StaysAtOrAbove(const std::array<KnownDistance, 3>& known, long last, double curvature,
                    double floor);

}  // namespace vlt
