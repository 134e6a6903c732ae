#include "app/engine/event_zone.h"

#include <date/date.h>
#include <date/tz.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "app/positions/request_rules.h"
#include "app/positions/timezone_list.h"

namespace vlt {

namespace {

constexpr double kUnixEpochJd = 2440587.5;

using Minutes = std::chrono::minutes;
using SysMinutes = date::sys_time<Minutes>;

}  // namespace

std::optional<EventZone> EventZone::Read(const std::string& text, std::string& error) {
    bool isLabel = false;
    if (const int index = TimezoneIndex(text, true, isLabel); index != 0) {
        return Fixed(TimezoneMinutesOfIndex(index), text);
    }
    // Names of the database have a slash, or are a few like "UTC"; the
    // database itself decides.
    try {
        EventZone z;
        z.zone_ = date::locate_zone(text);
        z.name_ = text;
        return z;
    } catch (const std::exception&) {
        error = "unknown time zone \"" + text +
                "\": give an entry of the window's list (GMT, GMT+1:00, EST/CDT) or a name of the "
                "time-zone database (America/New_York)";
        return std::nullopt;
    }
}

EventZone EventZone::Local() {
    try {
        EventZone z;
        z.zone_ = date::current_zone();
        z.name_ = std::string(z.zone_->name());
        return z;
    } catch (const std::exception&) {
        return Fixed(0, "GMT");
    }
}

EventZone EventZone::Fixed(int minutesEast, std::string name) {
    EventZone z;
    z.fixedMinutes_ = minutesEast;
    z.name_ = std::move(name);
    return z;
}

int EventZone::OffsetMinutes(std::int64_t unixMinutes) const {
    if (zone_ == nullptr) return fixedMinutes_;
    const date::sys_info info = zone_->get_info(SysMinutes{Minutes{unixMinutes}});
    return static_cast<int>(std::chrono::duration_cast<Minutes>(info.offset).count());
}

double EventZone::StartOfDay(const CalendarDay& day, int laterDays) const {
    const date::local_days local =
        date::local_days{date::year{day.year} / day.month / day.day} + date::days{laterDays};
    std::int64_t minutes = 0;
    if (zone_ == nullptr) {
        minutes =
            std::chrono::duration_cast<Minutes>(local.time_since_epoch()).count() - fixedMinutes_;
    } else {
        // A midnight that a change of the clocks skips or repeats is taken
        // at its earliest.
        const auto sys = zone_->to_sys(local, date::choose::earliest);
        minutes = std::chrono::duration_cast<Minutes>(sys.time_since_epoch()).count();
    }
    return kUnixEpochJd + static_cast<double>(minutes) / 1440.0;
}

std::int64_t UnixMinutes(double jd) {
    return static_cast<std::int64_t>(std::floor((jd - kUnixEpochJd) * 1440.0 + 0.5));
}

LocalTime ToLocal(double jd, const EventZone& zone) {
    const std::int64_t utc = UnixMinutes(jd);
    LocalTime t;
    t.offsetMinutes = zone.OffsetMinutes(utc);
    const SysMinutes local{Minutes{utc + t.offsetMinutes}};
    const auto day = date::floor<date::days>(local);
    const date::year_month_day ymd{day};
    const auto inDay = std::chrono::duration_cast<Minutes>(local - day).count();
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(inDay / 60);
    t.minute = static_cast<int>(inDay % 60);
    return t;
}

std::string OffsetText(int minutes) {
    char text[16];
    const int a = std::abs(minutes);
    std::snprintf(text, sizeof text, "%c%02d:%02d", minutes < 0 ? '-' : '+', a / 60, a % 60);
    return text;
}

std::string IsoTime(const LocalTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:00", t.year, t.month, t.day, t.hour,
                  t.minute);
    return text + OffsetText(t.offsetMinutes);
}

}  // namespace vlt
