#include "app/positions/position_failure.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <mutex>
#include <utility>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"

namespace vlt {
namespace {

// Scans on several threads note their failures here; the lock keeps the
// first one whole (it is met rarely, so the lock costs nothing in a scan).
std::mutex g_firstLock;
std::optional<PositionFailure> g_first;

struct OuterFile {
    const char* name;
    int firstYear;
};

// The data file of a program planet 5..8, or null.
const OuterFile* OuterFileOf(std::int16_t planet) {
    static const OuterFile kFiles[4] = {
        {"jupiter.dac", -4000}, {"saturn.dac", -4000}, {"uranus.dac", 1600}, {"neptune.dac", 1600}};
    if (planet < 5 || planet > 8) return nullptr;
    return &kFiles[planet - 5];
}

// The system's words for why the file cannot be read as a data file.
std::string OpenProblem(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::strerror(errno);
    if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
    if (!S_ISREG(st.st_mode)) return "it is not a regular file";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return "it cannot be opened";
}

std::string DateText(double jd) {
    return FormatDayNumber(static_cast<std::int32_t>(std::floor(jd + 0.5)), kOrderYearMonthDay, "-",
                           "", false);
}

// The Moon's file holds one record per 16 days: the reasons name the date.
PositionFailure DescribeMoonFailure(PositionFailure f) {
    f.fileName = kMoonFile;
    const std::string date = DateText(f.jd);
    if (f.code == -101.0) {
        f.reason = OpenProblem(DataFolder() + f.fileName);
    } else if (f.code == -102.0 || f.code == -103.0) {
        f.reason = "the file ends before the record for " + date;
    } else if (f.code == -104.0) {
        f.reason = "no data folder is set";
    } else {
        f.reason = "the record for " + date + " is damaged";
    }
    return f;
}

}  // namespace

PositionKind ClassifyLongitude(double longitude) {
    if (longitude >= 0.0) return PositionKind::Longitude;
    if (longitude == -99.0) return PositionKind::BeforeData;
    if (longitude == -100.0) return PositionKind::AfterData;
    if (IsDataFileFailure(longitude)) return PositionKind::DataFileFailure;
    return PositionKind::NoPosition;
}

bool IsDataFileFailure(double longitude) {
    return longitude == -101.0 || longitude == -102.0 || longitude == -103.0 ||
           longitude == -104.0 || longitude == -106.0 || longitude == -107.0;
}

std::string PositionFailure::Message() const {
    return "Cannot read the data file " + fileName + ": " + reason + ".";
}

PositionFailure DescribePositionFailure(std::int16_t planet, double jd, bool heliocentric,
                                        double code) {
    PositionFailure f;
    f.planet = planet;
    f.jd = jd;
    f.heliocentric = heliocentric;
    f.code = code;
    if (planet == 9) {
        f.fileName = heliocentric ? kHelioPlutoFile : kGeoPlutoFile;
        if (code == -101.0) {
            f.reason = PlutoTableReadError(heliocentric);
        } else if (code == -106.0) {
            const std::int32_t line = PlutoDamagedLine(heliocentric, jd);
            f.reason = line > 0 ? "the entry on line " + std::to_string(line) + " is damaged"
                                : "an entry is damaged";
        } else {
            f.reason = "the table ends before " + DateText(jd);
        }
        return f;
    }
    if (planet == kMoon) return DescribeMoonFailure(f);
    const OuterFile* file = OuterFileOf(planet);
    f.fileName = file != nullptr ? file->name : "?";
    const int year = YearOfJulianDay(jd);
    const int blockStart =
        file != nullptr ? file->firstYear + (year - file->firstYear) / 5 * 5 : year;
    const std::string years = std::to_string(blockStart) + " to " + std::to_string(blockStart + 4);
    if (code == -101.0) {
        f.reason = OpenProblem(DataFolder() + f.fileName);
    } else if (code == -102.0) {
        f.reason = "cannot find the record for the years " + years;
    } else if (code == -103.0) {
        f.reason = "the file ends before the record for the years " + years;
    } else if (code == -104.0) {
        f.reason = "no data folder is set";
    } else {
        f.reason = "the record for the years " + years + " is damaged";
    }
    return f;
}

std::optional<PositionFailure> FirstPositionFailure() {
    const std::lock_guard<std::mutex> lock(g_firstLock);
    return g_first;
}

void ClearPositionFailure() {
    const std::lock_guard<std::mutex> lock(g_firstLock);
    g_first.reset();
}

void NotePositionCode(std::int16_t planet, double jd, bool heliocentric, double code) {
    if (!IsDataFileFailure(code)) return;
    {
        const std::lock_guard<std::mutex> lock(g_firstLock);
        if (g_first) return;
    }
    // Described outside the lock: it asks the file system why.
    PositionFailure failure = DescribePositionFailure(planet, jd, heliocentric, code);
    const std::lock_guard<std::mutex> lock(g_firstLock);
    if (!g_first) g_first = std::move(failure);
}

}  // namespace vlt
