#include "app/engine/exact_minimum.h"

#include <algorithm>
#include <cmath>
#include <optional>
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

GridMinimum QuickSearch(KnownDistances& d, long last, const std::vector<long>& breaks) {
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

}  // namespace

GridMinimum FastGridMinimum(const GridDistance& distanceAt, long last,
                            const std::vector<long>& breaks) {
    KnownDistances d(distanceAt, last);
    return QuickSearch(d, last, breaks);
}

namespace {

// What a computed distance and the time it belongs to may be off by
// (radians): the rounding of the positions, and of a known sample's time
// given as a real number of grid minutes (a millionth of a minute at most,
// over which even Mercury moves less than 1e-10 radians).
constexpr double kValueSlack = 1e-10;
// The least |f'| (radians per minute) the proof accepts: a minute's change
// far above any rounding, so that the computed distances fall and rise
// strictly wherever f does.
constexpr double kLeastSlope = 1e-9;
// Newton moves towards the bottom of the V after the prediction, and
// distances spent on splitting stretches too long for the proof.
constexpr int kMostMoves = 5;
constexpr int kMostSplits = 3;

// How much the points bend: the largest second divided difference.
double Roughness(const std::vector<KnownDistance>& p, const std::vector<double>& f) {
    double worst = 0.0;
    for (std::size_t i = 2; i < p.size(); ++i) {
        const double s1 = (f[i - 1] - f[i - 2]) / (p[i - 1].minute - p[i - 2].minute);
        const double s2 = (f[i] - f[i - 1]) / (p[i].minute - p[i - 1].minute);
        worst = std::max(worst, std::fabs((s2 - s1) / (p[i].minute - p[i - 2].minute)));
    }
    return worst;
}

// f at the points (in time order) signed as one crossing makes it: positive
// before the lowest point, negative after it, and the lowest point's own
// sign the one that bends the points less.
std::vector<double> SignedValues(const std::vector<KnownDistance>& p, std::size_t lowest) {
    std::vector<double> f(p.size());
    for (std::size_t i = 0; i < p.size(); ++i) f[i] = i < lowest ? p[i].distance : -p[i].distance;
    std::vector<double> positive = f;
    positive[lowest] = p[lowest].distance;
    return Roughness(p, positive) < Roughness(p, f) ? positive : f;
}

// Where f crosses zero, predicted from the known points (in time order, the
// first one at the lower bound): the root of the quadratic through the two
// points around the change of sign and the nearest third, by Newton steps
// from the straight line's root.  Only a prediction: the proof comes later.
std::optional<double> PredictZero(const std::vector<KnownDistance>& p) {
    if (p.size() < 2) return std::nullopt;
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (p[i].distance < p[lowest].distance) lowest = i;
    }
    if (lowest == 0) return std::nullopt;
    const std::vector<double> f = SignedValues(p, lowest);
    std::size_t i = p.size() - 2;  // no change of sign: extrapolate from the last two
    for (std::size_t j = 0; j + 1 < p.size(); ++j) {
        if (f[j] > 0 && !(f[j + 1] > 0)) i = j;
    }
    const double x0 = p[i].minute;
    const double x1 = p[i + 1].minute;
    const double slope = (f[i + 1] - f[i]) / (x1 - x0);
    double z = x0 - f[i] / slope;
    const std::size_t third = i > 0 ? i - 1 : i + 2;
    if (third < p.size()) {
        const double x2 = p[third].minute;
        const double slope2 = (f[third] - f[i + 1]) / (x2 - x1);
        const double bend = (slope2 - slope) / (x2 - x0);
        for (int n = 0; n < 3; ++n) {
            const double q = f[i] + slope * (z - x0) + bend * (z - x0) * (z - x1);
            z -= q / (slope + bend * (2 * z - x0 - x1));
        }
    }
    if (!std::isfinite(z)) return std::nullopt;
    return z;
}

// From minute m to the grid minute whose neighbours both lie higher (at the
// upper bound: whose neighbour before lies higher), by Newton steps on the
// V of the distance.  0 when none is found in a few moves.
long StepToBottom(KnownDistances& d, long last, long m) {
    for (int move = 0; move < kMostMoves; ++move) {
        m = std::clamp(m, 1L, last);
        const double here = d(m);
        const double before = d(m - 1);
        const bool rises = m == last || d(m + 1) > here;
        if (before > here && rises) return m;
        if (before < here && !rises && d(m + 1) < here) return 0;  // a peak
        if (!rises && d(m + 1) < here) {
            const double after = d(m + 1);
            const double ahead = std::min(after / (here - after), static_cast<double>(last));
            m += 1 + std::lround(ahead);
        } else if (before < here) {
            const double back = std::min(before / (here - before), static_cast<double>(last));
            m -= 1 + std::lround(back);
        } else {
            return 0;  // level, or not a number
        }
    }
    return 0;
}

// Whether the distances known up to minute m - 1 prove |f'| above
// kLeastSlope from the lower bound to one minute past m.  Between two known
// points a < b, f changes by at least |d(b) - d(a)|, so |f'| reaches that
// over b - a somewhere between them, and strays from it by at most
// curvature (b - a) anywhere between them.  A stretch too long for that is
// cut at its middle minute, a few times at most.
bool SlopeStaysAway(KnownDistances& d, std::vector<KnownDistance> chain, long m, long last,
                    double curvature) {
    const double end = static_cast<double>(m - 1);
    std::erase_if(chain, [end](const KnownDistance& p) { return !(p.minute < end - 0.5); });
    chain.push_back({end, d(m - 1)});
    int splits = 0;
    double least = 0.0;
    for (std::size_t i = 1; i < chain.size();) {
        const KnownDistance a = chain[i - 1];
        const KnownDistance b = chain[i];
        const double span = b.minute - a.minute;
        const double reached = (std::fabs(b.distance - a.distance) - 2 * kValueSlack) / span;
        const double bound = reached - curvature * span;
        if (bound > kLeastSlope) {
            least = bound;
            ++i;
            continue;
        }
        const long middle = std::lround(0.5 * (a.minute + b.minute));
        const auto mid = static_cast<double>(middle);
        // Near a station even the shortest stretches left would fail.
        const double shortest = span / static_cast<double>(1 << (kMostSplits - splits));
        if (splits == kMostSplits || !(reached - curvature * shortest > kLeastSlope) ||
            mid - a.minute < 0.5 || b.minute - mid < 0.5) {
            return false;
        }
        ++splits;
        chain.insert(chain.begin() + static_cast<std::ptrdiff_t>(i), {mid, d(middle)});
    }
    const double reach = static_cast<double>(std::min(m + 1, last) - (m - 1));
    return chain.size() >= 2 && least - curvature * reach > kLeastSlope;
}

// The proven answer of SmoothGridMinimum, 0 for none.
long SmoothAnswer(KnownDistances& d, long last, const std::vector<KnownDistance>& known,
                  double curvature) {
    std::vector<KnownDistance> points{{0.0, d(0)}};
    for (const KnownDistance& p : known) {
        if (p.minute >= 0.5 && p.minute <= static_cast<double>(last) && std::isfinite(p.distance)) {
            points.push_back(p);
        }
    }
    std::sort(points.begin(), points.end(),
              [](const KnownDistance& a, const KnownDistance& b) { return a.minute < b.minute; });
    const std::optional<double> zero = PredictZero(points);
    long start = 1;
    if (zero) start = std::lround(std::clamp(*zero, 1.0, static_cast<double>(last)));
    const long m = StepToBottom(d, last, start);
    if (m < 2) return 0;
    for (const auto& [minute, distance] : d.Sorted()) {
        points.push_back({static_cast<double>(minute), distance});
    }
    std::sort(points.begin(), points.end(),
              [](const KnownDistance& a, const KnownDistance& b) { return a.minute < b.minute; });
    // Points closer than half a minute add nothing but rounding.
    std::vector<KnownDistance> chain;
    for (const KnownDistance& p : points) {
        if (chain.empty() || p.minute - chain.back().minute >= 0.5) chain.push_back(p);
    }
    return SlopeStaysAway(d, chain, m, last, curvature) ? m : 0;
}

}  // namespace

GridMinimum SmoothGridMinimum(const GridDistance& distanceAt, long last,
                              const std::vector<long>& breaks,
                              const std::vector<KnownDistance>& known, double curvature) {
    KnownDistances d(distanceAt, last);
    if (last >= kShortestFastGrid && curvature > 0.0 && d(0) < 10.0) {
        const long answer = SmoothAnswer(d, last, known, curvature);
        if (answer > 0) return GridMinimum{answer, d(answer)};
    }
    return QuickSearch(d, last, breaks);
}

bool StaysAtOrAbove(const std::array<KnownDistance, 3>& known, long last, double curvature,
                    double floor) {
    const auto& [x0, d0] = known[0];
    const auto& [x1, d1] = known[1];
    const auto& [x2, d2] = known[2];
    const double h1 = x1 - x0;
    const double h2 = x2 - x1;
    if (!(curvature > 0.0) || !(h1 > 0.0) || !(h2 > 0.0) || !(x0 >= 0.0) ||
        !(x2 <= static_cast<double>(last))) {
        return false;
    }
    // f''(some time between x0 and x2) for the signs s0, +, s2.
    const auto bend = [d0 = d0, d1 = d1, d2 = d2, h1, h2](double s0, double s2) {
        return 2 * ((s2 * d2 - d1) / h2 - (d1 - s0 * d0) / h1) / (h1 + h2);
    };
    const double allowed = curvature + 4 * kValueSlack / (h1 * h2);
    for (const auto& [s0, s2] : {std::pair{-1.0, 1.0}, {1.0, -1.0}, {-1.0, -1.0}}) {
        if (!(std::fabs(bend(s0, s2)) > allowed)) return false;
    }
    // f on one side, say positive: between two known points it lies at
    // most curvature h^2 / 8 below the straight line; u minutes before x0
    // at least f(x0) - s u - curvature (h1 u + u^2) / 2 with s the slope from
    // x0 to x1, lowest at an end of the stretch; after x2 alike.
    const double before = x0;
    const double after = static_cast<double>(last) - x2;
    const double lowest = std::min({
        std::min(d0, d1) - curvature * h1 * h1 / 8,
        std::min(d1, d2) - curvature * h2 * h2 / 8,
        d0 - (d1 - d0) / h1 * before - curvature * (h1 * before + before * before) / 2,
        d2 + (d2 - d1) / h2 * after - curvature * (h2 * after + after * after) / 2,
    });
    return lowest - 2 * kValueSlack >= floor;
}

}  // namespace vlt
