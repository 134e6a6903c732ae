#include "app/engine/exact_minimum.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vlt {

namespace {

// Grid distances computed once each.  A search computes a few dozen, so a
// plain list is quick to look through; the walk that falls back on them
// spreads them over the grid first.
class KnownDistances {
public:
    KnownDistances(const GridDistance& distanceAt, long last)
        : distanceAt_(distanceAt), last_(last) {}

    double operator()(long k) {
        for (const auto& [minute, distance] : known_) {
            if (minute == k) return distance;
        }
        const double d = distanceAt_(k);
        known_.emplace_back(k, d);
        return d;
    }

    // The walk minute by minute, with the distances already known.
    GridMinimum Walk() const {
        std::vector<double> value(static_cast<std::size_t>(last_) + 1);
        std::vector<char> have(static_cast<std::size_t>(last_) + 1, 0);
        for (const auto& [minute, distance] : known_) {
            value[static_cast<std::size_t>(minute)] = distance;
            have[static_cast<std::size_t>(minute)] = 1;
        }
        return MinuteByMinuteMinimum(
            [&](long k) {
                const auto i = static_cast<std::size_t>(k);
                return have[i] != 0 ? value[i] : distanceAt_(k);
            },
            last_);
    }

    // The known distances in grid order.
    std::vector<std::pair<long, double>> Sorted() const {
        std::vector<std::pair<long, double>> sorted = known_;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }

private:
    const GridDistance& distanceAt_;
    long last_;
    std::vector<std::pair<long, double>> known_;
};

// Probes of the coarse pass per search: the grid is cut into this many
// pieces; the fine pass cuts the coarse pass's last two pieces again into
// pieces of an eighth of the coarse stride.
constexpr long kCoarsePieces = 24;
constexpr long kFinePerCoarse = 8;
constexpr long kShortestStride = 2;
// Below this many minutes the walk is as cheap as any search.
constexpr long kShortestFastGrid = 16;
// How far the fall per minute of a stretch between known distances may
// stray from the line through its neighbours', as a share of the largest.
constexpr double kBendShare = 0.05;

// Probes from `from` every `stride` minutes up to `to` (always probed),
// until the first one above its predecessor.
struct Pass {
    std::vector<long> probes;
    std::size_t turn = 0;  // index of the first probe above its predecessor; 0: none
    bool level = false;    // two neighbouring probes equal (or not numbers)
};

template <typename Distance>
Pass ProbePass(Distance& d, long from, long to, long stride) {
    Pass pass;
    pass.probes.push_back(from);
    for (long p = from + stride;; p += stride) {
        const long probe = p < to ? p : to;
        pass.probes.push_back(probe);
        const double before = d(pass.probes[pass.probes.size() - 2]);
        const double here = d(probe);
        if (!(here < before)) {
            if (here > before) {
                pass.turn = pass.probes.size() - 1;
            } else {
                pass.level = true;
            }
            return pass;
        }
        if (probe == to) return pass;
    }
}

// Whether the fall per minute changes smoothly along the known distances
// before the answer (the answer itself may lie just past the bottom of a
// sharp crossing, so the fall into it is shorter): for every three
// neighbouring stretches between known minutes within one piece between
// breaks, the middle one's fall per minute lies near the straight line
// through its neighbours' (the positions' own bending over a day is far
// smaller, while a second minimum passed over takes at least a minute's
// fall out of a stretch).
template <typename Piece>
bool FallsSmoothly(const std::vector<std::pair<long, double>>& known, long answer, Piece piece) {
    for (std::size_t i = 3; i < known.size() && known[i].first < answer; ++i) {
        const auto& [x0, d0] = known[i - 3];
        const auto& [x1, d1] = known[i - 2];
        const auto& [x2, d2] = known[i - 1];
        const auto& [x3, d3] = known[i];
        if (piece(x0) != piece(x3)) continue;
        const double sa = (d1 - d0) / static_cast<double>(x1 - x0);
        const double sb = (d2 - d1) / static_cast<double>(x2 - x1);
        const double sc = (d3 - d2) / static_cast<double>(x3 - x2);
        const double ma = 0.5 * static_cast<double>(x0 + x1);
        const double mb = 0.5 * static_cast<double>(x1 + x2);
        const double mc = 0.5 * static_cast<double>(x2 + x3);
        const double line = sa + (sc - sa) * (mb - ma) / (mc - ma);
        const double largest = std::max({std::fabs(sa), std::fabs(sb), std::fabs(sc)});
        if (!(std::fabs(sb - line) <= kBendShare * largest)) return false;
    }
    return true;
}

}  // namespace

GridMinimum MinuteByMinuteMinimum(const GridDistance& distanceAt, long last) {
    GridMinimum best;
    for (long k = 0; k <= last; ++k) {
        const double distance = distanceAt(k);
        if (distance < best.distance) {
            best.distance = distance;
            best.minute = k;
        } else if (distance > best.distance) {
            break;
        }
    }
    return best;
}

namespace {

// Where the first rise lies: after `lo` (where the distance still falls) and
// at `hi` or before it (`hi` is the upper bound when nothing rose); the
// distances after the answer rise up to `riseEnd`.
struct Bracket {
    long lo = 0;
    long hi = 0;
    long riseEnd = 0;
    bool found = false;  // false: leave the search to the walk
};

// Coarse pass from the lower bound until the first rise between probes, then
// a fine pass over the last two coarse stretches.  With one smooth minimum
// the first rise lies after the fine pass's last falling probe but one and
// no later than its turn; without a turn the distance may fall all the way
// to the upper bound, where the walk ends without a rise.
Bracket ProbeForRise(KnownDistances& d, long last) {
    Bracket b;
    const long stride = std::max(kShortestStride, last / kCoarsePieces);
    const Pass coarse = ProbePass(d, 0, last, stride);
    if (coarse.level) return b;
    b.riseEnd = last;
    long from = coarse.probes[coarse.probes.size() - 2];
    if (coarse.turn != 0) {
        b.riseEnd = coarse.probes[coarse.turn];
        from = coarse.turn >= 2 ? coarse.probes[coarse.turn - 2] : 0;
    }
    const Pass fine = ProbePass(d, from, b.riseEnd, std::max(1L, stride / kFinePerCoarse));
    if (fine.level) return b;
    b.lo = from;
    b.hi = last;  // last: no rise before the upper bound
    if (fine.turn != 0) {
        b.lo = fine.turn >= 2 ? fine.probes[fine.turn - 2] : from;
        b.hi = fine.probes[fine.turn] - 1;
    } else if (coarse.turn != 0) {
        return b;  // the coarse pass rose where the fine one did not
    } else {
        b.lo = fine.probes[fine.probes.size() - 2];
    }
    b.found = true;
    return b;
}

// Everything the answer rests on, computed: its neighbours, the start of the
// last halving, and both sides of every break before it.
void ComputeSupport(KnownDistances& d, long answer, long halvingStart, long last,
                    const std::vector<long>& breaks) {
    d(answer - 1);
    d(answer);
    if (answer < last) d(answer + 1);
    d(halvingStart);
    d(halvingStart + 1);
    for (const long b : breaks) {
        if (b < 1 || b > last || b > answer + 1) continue;
        d(b - 1);
        d(b);
        if (b + 1 <= answer) d(b + 1);
    }
}

// One smooth minimum: strictly falling up to the answer and bending
// smoothly, strictly rising after it up to the end of the bracket.
template <typename Piece>
bool OneSmoothMinimum(const std::vector<std::pair<long, double>>& known, long answer, long riseEnd,
                      Piece piece) {
    if (!FallsSmoothly(known, answer, piece)) return false;
    bool first = true;
    double previous = 0.0;
    for (const auto& [minute, distance] : known) {
        if (minute > riseEnd) break;
        if (!first) {
            const bool ok = minute <= answer ? distance < previous : distance > previous;
            if (!ok) return false;
        }
        first = false;
        previous = distance;
    }
    return true;
}

}  // namespace

GridMinimum FastGridMinimum(const GridDistance& distanceAt, long last,
                            const std::vector<long>& breaks) {
    KnownDistances d(distanceAt, last);
    if (last < kShortestFastGrid) return d.Walk();

    // The walk must go on past its first minute: a start that rises, stays
    // level, or lies at 10 or above is the walk's own (and it ends soon).
    // Comparisons with a value that is not a number are false, so those
    // fall back here as well.
    if (!(d(0) < 10.0) || !(d(1) < d(0))) return d.Walk();

    const Bracket bracket = ProbeForRise(d, last);
    if (!bracket.found) return d.Walk();
    long lo = bracket.lo;
    long hi = bracket.hi;

    // Halving down to the first rise: at lo the distance still falls, at
    // hi it rises (or hi is the upper bound).
    const auto rises = [&](long k) { return d(k + 1) > d(k); };
    if (hi < last && (hi <= lo || !rises(hi))) return d.Walk();
    const long halvingStart = lo;
    while (hi - lo > 1) {
        const long mid = lo + (hi - lo) / 2;
        if (rises(mid)) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    const long answer = hi;
    ComputeSupport(d, answer, halvingStart, last, breaks);

    // Anything but one smooth minimum (a level stretch, a second minimum, a
    // jump at a break) is left to the walk.  The piece between breaks that a
    // grid minute lies in:
    const auto piece = [&breaks](long k) {
        return std::count_if(breaks.begin(), breaks.end(), [k](long b) { return b <= k; });
    };
    if (!OneSmoothMinimum(d.Sorted(), answer, bracket.riseEnd, piece)) return d.Walk();
    return GridMinimum{answer, d(answer)};
}

}  // namespace vlt
