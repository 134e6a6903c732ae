#include "app/engine/sky_events.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <tuple>

#include "app/engine/motion_bounds.h"
#include "app/positions/position_failure.h"
#include "app/positions/positions.h"

namespace vlt {

namespace {

constexpr double kMinute = 1.0 / 1440.0;
// Bisection stops below a tenth of a second, far inside the minute the
// events are given to.
constexpr double kRootWidth = 1e-6;
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
// The Moon's geocentric speed never reaches 15.4°/day; the bound is used
// until the measured figures of the scans hold the Moon.
constexpr double kMoonRate = 15.4;
// No station follows another within a day: Mercury, the quickest to turn,
// stays retrograde for about three weeks and direct for about three months.
constexpr double kStationStep = 1.0;
// Longer than any stretch of days over which Pluto's table stands still.
constexpr double kStationLookAround = 30.0;

double RoundToMinute(double jd) { return std::floor(jd / kMinute + 0.5) * kMinute; }

// x brought into [-period/2, period/2).
double Wrap(double x, double period) { return x - period * std::floor(x / period + 0.5); }

// The largest geocentric speed of a body, degrees a day, with the scans'
// safety margin.
double RateBound(Planet p) {
    if (const auto m = MeasuredMotion(Number(p), false)) return m->rate * kMotionMargin;
    return kMoonRate * kMotionMargin;
}

// Longitudes in degrees; the first code that is no longitude is kept, and
// the finder reports it when it ends.
class Sky {
public:
    double Degrees(Planet p, double jd) {
        const double r = GeoLongitude(Number(p), jd);
        if (r < 0.0) {
            Fail(p, jd, r);
            return 0.0;
        }
        return r * kDegreesPerRadian;
    }
    // -1, 0 or +1: the sign of the geocentric speed.
    int SpeedSign(Planet p, double jd) {
        const GeoMotion m = GeoLongitudeAndSpeed(Number(p), jd);
        if (m.longitude < 0.0) Fail(p, jd, m.longitude);
        return (m.speed > 0.0) - (m.speed < 0.0);
    }
    const std::string& Failure() const { return failure_; }

private:
    void Fail(Planet p, double jd, double code) {
        if (!failure_.empty()) return;
        if (IsDataFileFailure(code)) {
            failure_ = DescribePositionFailure(Number(p), jd, false, code).Message();
        } else {
            failure_ = std::string("No position of ") +
                       std::string(Name(p, Centricity::Geocentric)) + " for that period.";
        }
    }
    std::string failure_;
};

// The search of WrappedZeros (sky_events.h).
class CrossingFinder {
public:
    CrossingFinder(std::function<double(double)> g, double period, double bound)
        : g_(std::move(g)), period_(period), bound_(bound) {}

    std::vector<Crossing> Find(EventSpan span, const std::stop_token& stop) {
        const double step = std::min(30.0, period_ / (4.0 * bound_));
        double a = span.from;
        double ga = g_(a);
        while (a < span.to && !stop.stop_requested()) {
            const double b = std::min(a + step, span.to);
            const double gb = g_(b);
            Examine(a, ga, b, gb);
            a = b;
            ga = gb;
        }
        return found_;
    }

private:
    void Examine(double a, double ga, double b, double gb) {
        if ((ga < 0.0) != (gb < 0.0)) {
            if (std::fabs(gb - ga) < period_ / 2.0) Bisect(a, ga, b);
            return;
        }
        if (b - a <= kMinute || std::fabs(ga) + std::fabs(gb) > bound_ * (b - a)) return;
        const double m = 0.5 * (a + b);
        const double gm = g_(m);
        Examine(a, ga, m, gm);
        Examine(m, gm, b, gb);
    }
    void Bisect(double a, double ga, double b) {
        const bool rising = ga < 0.0;
        while (b - a > kRootWidth) {
            const double m = 0.5 * (a + b);
            ((g_(m) < 0.0) == (ga < 0.0) ? a : b) = m;
        }
        found_.push_back({0.5 * (a + b), rising});
    }

    std::function<double(double)> g_;
    double period_;
    double bound_;
    std::vector<Crossing> found_;
};

bool InSpan(double jd, EventSpan span) { return jd >= span.from && jd < span.to; }

SkyEventList Finish(std::vector<SkyEvent> events, const Sky& sky, std::stop_token stop) {
    SkyEventList list;
    list.failure = sky.Failure();
    list.stopped = stop.stop_requested();
    if (list.failure.empty()) list.events = std::move(events);
    SortEvents(list.events);
    return list;
}

// The edge, within [a, b], of the stretch from a on which `holds` is true.
double EdgeOf(const std::function<bool(double)>& holds, double a, double b) {
    while (b - a > kRootWidth) {
        const double m = 0.5 * (a + b);
        (holds(m) ? a : b) = m;
    }
    return 0.5 * (a + b);
}

std::string CheckedSpan(std::initializer_list<Planet> bodies, EventSpan span) {
    for (Planet p : bodies) {
        if (std::string problem = SpanProblem(p, span); !problem.empty()) return problem;
    }
    return std::string();
}

// The span searched: its end, where a body's data end with it, a minute
// early (the end itself is the first instant after the data).
EventSpan Searched(std::initializer_list<Planet> bodies, EventSpan span) {
    for (Planet p : bodies) {
        if (!SpanProblem(p, {span.to, span.to + kMinute}).empty()) span.to -= kMinute;
    }
    return span;
}

// The span with `days` more at each end where the body has positions.
EventSpan Widened(Planet p, EventSpan span, double days) {
    EventSpan wide = Searched({p}, span);
    if (SpanProblem(p, {span.from - days, span.from - days + kMinute}).empty()) wide.from -= days;
    if (SpanProblem(p, {span.to + days, span.to + days + kMinute}).empty()) wide.to += days;
    return wide;
}

SkyEventList Refused(std::string why) {
    SkyEventList list;
    list.failure = std::move(why);
    return list;
}

// The instants the body's geocentric motion turns within the span, rising
// where it turns direct.  Where the positions come from a table of whole
// arc minutes (Pluto) the speed reads 0 for days about a station: the
// station is then the middle of the stretch between the last motion one way
// and the first the other.  Such a stretch may straddle an end of the
// period asked for, so the caller widens the span by a month where there
// are positions.
std::vector<Crossing> StationTimes(Sky& sky, Planet planet, EventSpan span,
                                   const std::stop_token& stop) {
    std::vector<Crossing> turns;
    int last = sky.SpeedSign(planet, span.from);
    double lastAt = span.from;
    double t = span.from;
    while (t < span.to && !stop.stop_requested()) {
        t = std::min(t + kStationStep, span.to);
        const int s = sky.SpeedSign(planet, t);
        if (s != 0 && last != 0 && s != last) {
            const double oldEdge =
                EdgeOf([&](double x) { return sky.SpeedSign(planet, x) == last; }, lastAt, t);
            const double newEdge =
                EdgeOf([&](double x) { return sky.SpeedSign(planet, x) != s; }, lastAt, t);
            turns.push_back({0.5 * (oldEdge + newEdge), s > 0});
        }
        if (s != 0) {
            last = s;
            lastAt = t;
        }
    }
    return turns;
}

// The events of one body: `find` gives the instants in (or about) the span,
// rising where the body moves forward through it, and `classify` fills in
// what the kind of event adds.  Only events whose minute lies in the span
// are kept.
using Instants = std::function<std::vector<Crossing>(Sky&, const std::stop_token&)>;
using Classify = std::function<void(Sky&, const Crossing&, SkyEvent&)>;
SkyEventList BodyEvents(Planet planet, EventSpan span, const std::stop_token& stop,
                        const Instants& find, const Classify& classify) {
    if (std::string why = CheckedSpan({planet}, span); !why.empty()) return Refused(why);
    Sky sky;
    std::vector<SkyEvent> events;
    for (const Crossing& c : find(sky, stop)) {
        SkyEvent e;
        e.jd = RoundToMinute(c.jd);
        if (!InSpan(e.jd, span)) continue;
        e.body = planet;
        e.motion = c.rising ? Motion::Direct : Motion::Retrograde;
        classify(sky, c, e);
        events.push_back(e);
    }
    return Finish(std::move(events), sky, stop);
}

}  // namespace

const char* SignName(int sign) {
    static const std::array<const char*, 12> kSigns = {
        "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
        "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};
    return kSigns[static_cast<std::size_t>(((sign % 12) + 12) % 12)];
}

const char* PhaseWord(LunarPhase phase) {
    static const std::array<const char*, 4> kWords = {"new", "first", "full", "last"};
    return kWords[static_cast<std::size_t>(phase)];
}

const char* PhaseTitle(LunarPhase phase) {
    static const std::array<const char*, 4> kTitles = {"New moon", "First quarter", "Full moon",
                                                       "Last quarter"};
    return kTitles[static_cast<std::size_t>(phase)];
}

bool HasStations(Planet p) { return p != Planet::Sun && p != Planet::Moon; }

std::string SpanProblem(Planet p, EventSpan span) {
    // The span's first and last minute: the last day of a body's data is
    // a whole day of the span (a speed read an hour beyond it is taken as
    // no motion).
    const double edges[2] = {span.from, span.to - kMinute};
    for (int k = 0; k < 2; ++k) {
        const double r = GeoLongitude(Number(p), edges[k]);
        const PositionKind kind = ClassifyLongitude(r);
        const std::string name(Name(p, Centricity::Geocentric));
        if (kind == PositionKind::BeforeData) return "Start date is too early for " + name + ".";
        if (kind == PositionKind::AfterData) return "End date is too late for " + name + ".";
        if (kind == PositionKind::DataFileFailure) {
            return DescribePositionFailure(Number(p), edges[k], false, r).Message();
        }
        if (kind != PositionKind::Longitude) return "No positions of " + name + ".";
    }
    return std::string();
}

SkyEventList FindLunarPhases(EventSpan span, std::stop_token stop) {
    if (std::string why = CheckedSpan({Planet::Sun, Planet::Moon}, span); !why.empty()) {
        return Refused(why);
    }
    Sky sky;
    const auto elongation = [&sky](double jd) {
        return sky.Degrees(Planet::Moon, jd) - sky.Degrees(Planet::Sun, jd);
    };
    CrossingFinder finder([&](double jd) { return Wrap(elongation(jd), 90.0); }, 90.0,
                          RateBound(Planet::Moon) + RateBound(Planet::Sun));
    std::vector<SkyEvent> events;
    for (const Crossing& c : finder.Find(Searched({Planet::Sun, Planet::Moon}, span), stop)) {
        const double jd = RoundToMinute(c.jd);
        if (!c.rising || !InSpan(jd, span)) continue;
        SkyEvent e;
        e.jd = jd;
        e.kind = SkyEventKind::Phase;
        e.body = Planet::Moon;
        e.other = Planet::Sun;
        const double quarter = std::round(Wrap(elongation(c.jd) - 180.0, 360.0) / 90.0) + 2.0;
        e.phase = static_cast<LunarPhase>(static_cast<int>(quarter) % 4);
        e.longitude = sky.Degrees(Planet::Moon, c.jd);
        events.push_back(e);
    }
    return Finish(std::move(events), sky, stop);
}

SkyEventList FindStations(Planet planet, EventSpan span, std::stop_token stop) {
    if (!HasStations(planet)) {
        return Refused(std::string(Name(planet, Centricity::Geocentric)) +
                       " has no stations: it is never retrograde.");
    }
    const auto turns = [&](Sky& sky, const std::stop_token& token) {
        return StationTimes(sky, planet, Widened(planet, span, kStationLookAround), token);
    };
    return BodyEvents(planet, span, stop, turns, [&](Sky& sky, const Crossing& c, SkyEvent& e) {
        e.kind = SkyEventKind::Station;
        e.longitude = sky.Degrees(planet, c.jd);
    });
}

SkyEventList FindIngresses(Planet planet, EventSpan span, std::stop_token stop) {
    const auto cusps = [&](Sky& sky, const std::stop_token& token) {
        CrossingFinder finder([&](double jd) { return Wrap(sky.Degrees(planet, jd), 30.0); }, 30.0,
                              RateBound(planet));
        return finder.Find(Searched({planet}, span), token);
    };
    return BodyEvents(planet, span, stop, cusps, [&](Sky& sky, const Crossing& c, SkyEvent& e) {
        e.kind = SkyEventKind::Ingress;
        const int boundary = static_cast<int>(std::lround(sky.Degrees(planet, c.jd) / 30.0)) % 12;
        e.sign = c.rising ? boundary : (boundary + 11) % 12;
        e.longitude = boundary * 30.0;
    });
}

SkyEventList FindExactAspects(Planet first, Planet second, const std::vector<Aspect>& aspects,
                              EventSpan span, std::stop_token stop) {
    if (std::string why = CheckedSpan({first, second}, span); !why.empty()) return Refused(why);
    Sky sky;
    const auto difference = [&](double jd) {
        return sky.Degrees(first, jd) - sky.Degrees(second, jd);
    };
    std::vector<SkyEvent> events;
    for (Aspect aspect : aspects) {
        const double angle = Info(aspect).degrees;
        // 0° and 180° are one target; the others are reached from either side.
        std::vector<double> targets{angle};
        if (angle != 0.0 && angle != 180.0) targets.push_back(-angle);
        for (double target : targets) {
            CrossingFinder finder([&](double jd) { return Wrap(difference(jd) - target, 360.0); },
                                  360.0, RateBound(first) + RateBound(second));
            for (const Crossing& c : finder.Find(Searched({first, second}, span), stop)) {
                SkyEvent e;
                e.jd = RoundToMinute(c.jd);
                if (!InSpan(e.jd, span)) continue;
                e.kind = SkyEventKind::Aspect;
                e.body = first;
                e.other = second;
                e.aspect = aspect;
                e.longitude = sky.Degrees(first, c.jd);
                events.push_back(e);
            }
        }
    }
    return Finish(std::move(events), sky, stop);
}

std::vector<Crossing> WrappedZeros(std::function<double(double)> g, double period, double bound,
                                   EventSpan span, std::stop_token stop) {
    return CrossingFinder(std::move(g), period, bound).Find(span, stop);
}

void SortEvents(std::vector<SkyEvent>& events) {
    const auto key = [](const SkyEvent& e) {
        return std::make_tuple(e.jd, static_cast<int>(e.kind), Number(e.body),
                               e.other ? Number(*e.other) : 0, e.aspect ? Number(*e.aspect) : 0);
    };
    std::stable_sort(events.begin(), events.end(),
                     [&](const SkyEvent& a, const SkyEvent& b) { return key(a) < key(b); });
}

}  // namespace vlt
