#include "app/window/program_services.h"

#include <ctime>
#include <filesystem>
#include <optional>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/calendar.h"
#include "app/support/date_processing.h"

namespace vlt {

void ProgramServices::InitPositions() { vlt::InitPositions(); }
// By its full path, so that a message about it says which file it was.
void ProgramServices::LoadIndexData(MessageBoxes& boxes) {
    std::error_code error;
    const std::string working = std::filesystem::current_path(error).string();
    vlt::LoadIndexData(index_, boxes,
                       IndexFilePath(working, indexBesideProgram_ ? ProgramFolder() : ""));
}
bool ProgramServices::ReadPlutoData(MessageBoxes& boxes) { return vlt::ReadPlutoData(boxes); }
std::string ProgramServices::PlutoTableProblem(bool heliocentric) {
    return vlt::PlutoTableProblem(heliocentric);
}

int32_t ProgramServices::DateToDayNumber(int32_t year, int32_t month, int32_t day, bool& valid) {
    DateRecord r{};
    r.year = year;
    r.month = month;
    r.day = day;
    r.calendar = kCalendarGregorian;
    const int32_t dn = vlt::DateToDayNumber(r);
    valid = r.valid != 0;
    return dn;
}

void ProgramServices::DayNumberToDate(int32_t dayNumber, int32_t& year, int32_t& month,
                                      int32_t& day) {
    DateRecord r{};
    r.calendar = kCalendarGregorian;
    r.jdn = dayNumber;
    vlt::DayNumberToDate(r);
    year = r.year;
    month = r.month;
    day = r.day;
}

std::string ProgramServices::FormatNumericDate(int32_t year, int32_t month, int32_t day) {
    DateRecord r{};
    r.year = year;
    r.month = month;
    r.day = day;
    r.calendar = kCalendarGregorian;
    return vlt::FormatNumericDate(r, kOrderYearMonthDay, "-", "", false);
}

std::string ProgramServices::MonthName(int month) { return EnglishMonthName(month, false); }

int32_t ProgramServices::TimezoneSeconds() { return GetTimezone(); }

int ProgramServices::CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

std::string ProgramServices::PlanetName(int planet, bool heliocentric) {
    return vlt::PlanetName(static_cast<int16_t>(planet), heliocentric, false);
}

std::string ProgramServices::AspectName(int aspect) {
    const std::optional<Aspect> a = AspectOfNumber(aspect);
    return a ? std::string(Info(*a).name) : std::string();
}

std::string ProgramServices::ProgramFolder() { return DataFolder(); }

}  // namespace vlt
