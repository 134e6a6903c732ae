#include "app/engine/event_formats.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace vlt {

namespace {

std::string CsvLongitude(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", RoundedLongitude(degrees));
    return text;
}

// "20270107T202400Z"
std::string IcsUtc(std::int64_t unixMinutes) {
    const LocalTime t =
        ToLocal(2440587.5 + static_cast<double>(unixMinutes) / 1440.0, EventZone::Fixed(0, "GMT"));
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d00Z", t.year, t.month, t.day, t.hour,
                  t.minute);
    return text;
}

// Unique and stable: the same event of a later export replaces the first in
// a calendar program instead of doubling it.
std::string EventUid(const SkyEvent& e) {
    std::vector<std::string> parts = {IcsUtc(UnixMinutes(e.jd)), KindWord(e.kind),
                                      BodyName(e.body)};
    if (e.other) parts.push_back(BodyName(*e.other));
    if (e.aspect) parts.push_back(AspectWord(*e.aspect));
    if (e.phase) parts.push_back(PhaseWord(*e.phase));
    if (e.motion) parts.push_back(MotionWord(*e.motion));
    std::string uid;
    for (const std::string& part : parts) {
        if (!uid.empty()) uid += '-';
        uid += part;
    }
    return uid + "@veltaro";
}

}  // namespace

std::string BodyName(Planet p) { return std::string(Name(p, Centricity::Geocentric)); }

const char* MotionWord(Motion m) { return m == Motion::Retrograde ? "retrograde" : "direct"; }

// The option names of the report ("con", "sqr"): the table's abbreviation
// in lower case.
std::string AspectWord(Aspect a) {
    std::string word(Info(a).abbreviation);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

// Longitudes are given to a thousandth of a degree (3.6 arc seconds), about
// the program's accuracy.
double RoundedLongitude(double degrees) { return std::round(degrees * 1000.0) / 1000.0; }

std::string ClockText(const LocalTime& t) {
    char when[40];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return when;
}

const char* KindWord(SkyEventKind kind) {
    switch (kind) {
        case SkyEventKind::Aspect: return "aspect";
        case SkyEventKind::Phase: return "phase";
        case SkyEventKind::Station: return "station";
        case SkyEventKind::Ingress: return "ingress";
    }
    return "";
}

std::string EventSummary(const SkyEvent& e) {
    switch (e.kind) {
        case SkyEventKind::Aspect:
            return BodyName(e.body) + " " + std::string(Info(*e.aspect).adjective) + " " +
                   BodyName(*e.other) + " (exact)";
        case SkyEventKind::Phase: return PhaseTitle(*e.phase);
        case SkyEventKind::Station: return BodyName(e.body) + " stations " + MotionWord(*e.motion);
        case SkyEventKind::Ingress:
            return BodyName(e.body) + " enters " + SignName(*e.sign) +
                   (*e.motion == Motion::Retrograde ? " (retrograde)" : "");
    }
    return std::string();
}

std::string ZodiacPosition(double longitude) {
    // Whole arc minutes, carried into the degree and the sign.
    const long minutes = std::lround(longitude * 60.0) % (360 * 60);
    const int sign = static_cast<int>(minutes / (30 * 60));
    const long inSign = minutes % (30 * 60);
    char text[64];
    std::snprintf(text, sizeof text, "%02ld\u00b0%02ld' %s", inSign / 60, inSign % 60,
                  SignName(sign));
    return text;
}

void WriteEventsText(std::ostream& out, const std::vector<SkyEvent>& events, const EventZone& zone,
                     const std::string& title) {
    out << title << ", times in " << zone.Name() << '\n';
    for (const SkyEvent& e : events) {
        const LocalTime t = ToLocal(e.jd, zone);
        std::string summary = EventSummary(e);
        if (summary.size() < 36) summary.resize(36, ' ');
        out << ClockText(t) << ' ' << OffsetText(t.offsetMinutes) << "  " << summary << "  "
            << BodyName(e.body) << ' ' << ZodiacPosition(e.longitude) << '\n';
    }
    if (events.empty()) out << "No events in this period.\n";
}

void WriteEventsCsv(std::ostream& out, const std::vector<SkyEvent>& events, const EventZone& zone) {
    // RFC 4180 line ends, as the other CSV reports; no field can hold a
    // comma or a quote.
    out << "time,kind,body,other,aspect,phase,direction,sign,longitude\r\n";
    for (const SkyEvent& e : events) {
        out << IsoTime(ToLocal(e.jd, zone)) << ',' << KindWord(e.kind) << ',' << BodyName(e.body)
            << ',' << (e.other ? BodyName(*e.other) : "") << ','
            << (e.aspect ? AspectWord(*e.aspect) : "") << ','
            << (e.phase ? PhaseWord(*e.phase) : "") << ','
            << (e.motion ? MotionWord(*e.motion) : "") << ',' << (e.sign ? SignName(*e.sign) : "")
            << ',' << CsvLongitude(e.longitude) << "\r\n";
    }
}

std::string FoldedLine(const std::string& line) {
    std::string folded;
    std::size_t used = 0;  // octets on the current physical line
    for (std::size_t i = 0; i < line.size();) {
        std::size_t n = 1;  // the UTF-8 character starting at i
        while (i + n < line.size() && (static_cast<unsigned char>(line[i + n]) & 0xC0) == 0x80) ++n;
        if (used + n > 75) {
            folded += "\r\n ";
            used = 1;
        }
        folded.append(line, i, n);
        used += n;
        i += n;
    }
    return folded + "\r\n";
}

std::string IcsText(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == ';' || c == ',') escaped += '\\';
        if (c == '\n') {
            escaped += "\\n";
            continue;
        }
        escaped += c;
    }
    return escaped;
}

void WriteEventsIcs(std::ostream& out, const std::vector<SkyEvent>& events, std::time_t stamp,
                    const std::string& product) {
    const std::string dtstamp = IcsUtc(static_cast<std::int64_t>(stamp) / 60);
    out << FoldedLine("BEGIN:VCALENDAR") << FoldedLine("VERSION:2.0")
        << FoldedLine("PRODID:-//Veltaro//" + product + "//EN") << FoldedLine("CALSCALE:GREGORIAN");
    for (const SkyEvent& e : events) {
        out << FoldedLine("BEGIN:VEVENT") << FoldedLine("UID:" + EventUid(e))
            << FoldedLine("DTSTAMP:" + dtstamp)
            << FoldedLine("DTSTART:" + IcsUtc(UnixMinutes(e.jd)))
            << FoldedLine("SUMMARY:" + IcsText(EventSummary(e)))
            << FoldedLine("DESCRIPTION:" +
                          IcsText(EventSummary(e) + ", " + BodyName(e.body) + " at " +
                                  ZodiacPosition(e.longitude) + " (geocentric, tropical)"))
            << FoldedLine("TRANSP:TRANSPARENT") << FoldedLine("END:VEVENT");
    }
    out << FoldedLine("END:VCALENDAR");
}

}  // namespace vlt
