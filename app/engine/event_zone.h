#pragma once
// The time zone events are told in: an entry of the window's fixed list
// ("GMT+1:00", "EST/CDT"), or a zone of the system's time-zone database
// ("America/New_York") with its daylight-saving rules.  Also the one
// conversion between the finders' universal-time Julian dates and clock
// time, so that every format writes the same minute.

#include <cstdint>
#include <optional>
#include <string>

namespace date {
class time_zone;
}

namespace vlt {

// A day of the proleptic Gregorian calendar, as a user names it.
struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const CalendarDay&) const = default;
};

class EventZone {
public:
    // The zone a text names (an entry of the list, any case, or a name of
    // the database); nothing (and `error` one line) when it names none.
    static std::optional<EventZone> Read(const std::string& text, std::string& error);
    // The computer's own zone, else GMT.
    static EventZone Local();
    static EventZone Fixed(int minutesEast, std::string name);

    const std::string& Name() const { return name_; }
    // Minutes east of GMT at a universal-time instant (minutes since 1970).
    int OffsetMinutes(std::int64_t unixMinutes) const;
    // The universal-time Julian date of 0h, in this zone, of the day
    // `laterDays` after `day`.
    double StartOfDay(const CalendarDay& day, int laterDays = 0) const;

private:
    std::string name_;
    const date::time_zone* zone_ = nullptr;
    int fixedMinutes_ = 0;
};

// A universal-time Julian date (a whole minute) in a zone.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    int offsetMinutes = 0;
};
std::int64_t UnixMinutes(double jd);
LocalTime ToLocal(double jd, const EventZone& zone);
// "2026-03-03T11:38:00-05:00"
std::string IsoTime(const LocalTime& t);
// "-05:00"
std::string OffsetText(int minutes);

}  // namespace vlt
