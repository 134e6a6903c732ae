#include "app/chart/chart_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace vlt {
namespace {

constexpr const char* kMonths[13] = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string DateLabel(const ChartDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

std::string MonthLabel(const ChartDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%s %d", kMonths[d.month], d.year);
    return text;
}

// The ticks of one unit and step: `next` gives the first tick date on or
// after a date; false when they would be more than maxTicks.
bool Collect(std::int32_t firstDay, std::int32_t lastDay, int maxTicks,
             const std::function<ChartDate(const ChartDate&)>& next,
             const std::function<std::string(const ChartDate&)>& label,
             std::vector<ChartTick>& ticks) {
    ticks.clear();
    ChartDate d = next(ChartDateOfDay(firstDay));
    for (std::int32_t day = ChartDayOfDate(d.year, d.month, d.day); day <= lastDay;
         day = ChartDayOfDate(d.year, d.month, d.day)) {
        if (static_cast<int>(ticks.size()) == maxTicks) return false;
        ticks.push_back({static_cast<double>(day), label(d)});
        d = next(ChartDateOfDay(day + 1));
    }
    return true;
}

int FloorToStep(int n, int step) {
    return n >= 0 ? n / step * step : -((-n + step - 1) / step) * step;
}

bool YearTicks(std::int32_t firstDay, std::int32_t lastDay, int maxTicks, int step,
               std::vector<ChartTick>& ticks) {
    const auto next = [step](const ChartDate& d) {
        const bool on = d.month == 1 && d.day == 1 && FloorToStep(d.year, step) == d.year;
        return on ? d : ChartDate{FloorToStep(d.year, step) + step, 1, 1};
    };
    return Collect(
        firstDay, lastDay, maxTicks, next,
        [](const ChartDate& d) { return std::to_string(d.year); }, ticks);
}

bool MonthTicks(std::int32_t firstDay, std::int32_t lastDay, int maxTicks, int step,
                std::vector<ChartTick>& ticks) {
    const auto next = [step](const ChartDate& d) {
        const int m0 = (d.month - 1) / step * step;  // months since January, on the step
        if (d.day == 1 && m0 == d.month - 1) return d;
        const int m = m0 + step;
        return m >= 12 ? ChartDate{d.year + 1, 1, 1} : ChartDate{d.year, m + 1, 1};
    };
    return Collect(firstDay, lastDay, maxTicks, next, MonthLabel, ticks);
}

// Days 1, 1 + step, 1 + 2 step ... of each month, none later than the 28th
// so that the last one of a month does not crowd the next month's first.
bool DayTicks(std::int32_t firstDay, std::int32_t lastDay, int maxTicks, int step,
              std::vector<ChartTick>& ticks) {
    const int last = step == 1 ? 31 : 28;
    const auto next = [step, last](const ChartDate& d) {
        const int k = (d.day - 1 + step - 1) / step;  // the first tick on or after d
        const int day = 1 + k * step;
        const ChartDate within{d.year, d.month, day};
        const bool fits =
            day <= last && ChartDateOfDay(ChartDayOfDate(d.year, d.month, day)).month == d.month;
        if (fits) return within;
        return d.month == 12 ? ChartDate{d.year + 1, 1, 1} : ChartDate{d.year, d.month + 1, 1};
    };
    return Collect(firstDay, lastDay, maxTicks, next, DateLabel, ticks);
}

// "-12,345.5" for "-12345.5".
std::string WithThousands(const std::string& number) {
    const std::size_t start = number[0] == '-' ? 1 : 0;
    const std::size_t point = std::min(number.find('.'), number.size());
    std::string out = number.substr(0, start);
    for (std::size_t i = start; i < point; ++i) {
        if (i > start && (point - i) % 3 == 0) out.push_back(',');
        out.push_back(number[i]);
    }
    out.append(number, point, std::string::npos);
    return out;
}

}  // namespace

// Days from 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's
// civil calendar algorithms), shifted to day numbers.
std::int32_t ChartDayOfDate(int year, int month, int day) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 2440588;
}

ChartDate ChartDateOfDay(std::int32_t dayNumber) {
    const int z = dayNumber - 2440588 + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

std::vector<ChartTick> DateTicks(std::int32_t firstDay, std::int32_t lastDay, int maxTicks) {
    std::vector<ChartTick> ticks;
    std::vector<ChartTick> fewer;  // a unit that fits with a single tick, should nothing finer
    if (lastDay < firstDay || maxTicks < 1) return ticks;
    for (int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}) {
        if (!YearTicks(firstDay, lastDay, maxTicks, step, ticks)) continue;
        if (ticks.size() >= 2) return ticks;
        fewer = ticks;
        break;
    }
    for (int step : {1, 2, 3, 6}) {
        if (!MonthTicks(firstDay, lastDay, maxTicks, step, ticks)) continue;
        if (ticks.size() >= 2) return ticks;
        if (fewer.empty()) fewer = ticks;
        break;
    }
    for (int step : {1, 2, 5, 10, 15}) {
        if (DayTicks(firstDay, lastDay, maxTicks, step, ticks)) return ticks;
    }
    return fewer;
}

namespace {

double TicksOfStep(double lo, double hi, double step) {
    return std::floor(hi / step) - std::ceil(lo / step) + 1;
}

// The smallest of 1, 2, 5 times a power of ten that gives at most maxTicks.
double RoundStep(double lo, double hi, int maxTicks) {
    double power = std::pow(10.0, std::floor(std::log10((hi - lo) / maxTicks)));
    for (;; power *= 10) {
        for (double m : {1.0, 2.0, 5.0}) {
            if (TicksOfStep(lo, hi, m * power) <= maxTicks) return m * power;
        }
    }
}

}  // namespace

std::vector<ChartTick> ValueTicks(double lo, double hi, int maxTicks) {
    std::vector<ChartTick> ticks;
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi) || maxTicks < 1) return ticks;
    const double step = RoundStep(lo, hi, maxTicks);
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    for (double k = std::ceil(lo / step); k <= std::floor(hi / step); ++k) {
        const double at = k * step;
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, at);
        const std::string label = text;
        // ceil() of a small negative ratio is -0, which prints with a sign;
        // zero reads best without one and without decimals.
        const bool zero = label.find_first_not_of("-0.") == std::string::npos;
        ticks.push_back({zero ? 0.0 : at, zero ? std::string(1, '0') : WithThousands(label)});
    }
    return ticks;
}

}  // namespace vlt
