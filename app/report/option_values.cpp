#include "app/report/option_values.h"

#include <cctype>

#include "app/positions/request_rules.h"
#include "app/positions/timezone_list.h"

namespace vlt {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// A whole number of at most `maxDigits` digits, nothing else.
std::optional<int> WholeNumber(const std::string& s, std::size_t maxDigits) {
    if (!AllDigits(s) || s.size() > maxDigits) return std::nullopt;
    return std::stoi(s);
}

// The same, from `low` to `high`.
std::optional<int> WholeNumberIn(const std::string& s, std::size_t maxDigits, int low, int high) {
    const auto n = WholeNumber(s, maxDigits);
    if (!n || *n < low || *n > high) return std::nullopt;
    return n;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : s) {
        if (c == sep) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

const char* const kPlanetChoices =
    "Sun or Earth, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto, Moon";

// Program planet number 1..10 of a name (either name of planet 1), 0 when the
// name is unknown.
int PlanetNumber(const std::string& name) {
    const std::string n = Lower(name);
    if (n == "earth") return 1;
    for (int p = 1; p <= kMoon; ++p) {
        if (n == Lower(PlanetName(static_cast<std::int16_t>(p), false, false))) return p;
    }
    return 0;
}

int AspectNumber(const std::string& name) {
    const std::string n = Lower(name);
    for (int a = 1; a <= 7; ++a) {
        if (n == AspectOptionNames()[static_cast<std::size_t>(a - 1)]) return a;
    }
    return 0;
}

std::string AspectChoices() {
    std::string s;
    for (const char* a : AspectOptionNames()) {
        if (!s.empty()) s += ',';
        s += a;
    }
    return s;
}

// YYYY-MM-DD (year 1 to 4 digits, month and day 1 or 2) naming a day of the
// Gregorian calendar.
std::optional<ReportDate> ParseDate(const std::string& text) {
    const std::vector<std::string> parts = Split(text, '-');
    if (parts.size() != 3) return std::nullopt;
    const auto y = WholeNumber(parts[0], 4);
    const auto m = WholeNumber(parts[1], 2);
    const auto d = WholeNumber(parts[2], 2);
    if (!y || !m || !d || !GregorianDateExists(*y, *m, *d)) {
        return std::nullopt;
    }
    return ReportDate{*y, *m, *d};
}

// The time-zone list's position of a text, 1..47, or 0.  The offsets are
// always understood; the North-American labels only when the list shows
// them.
bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::optional<Planet> PlanetOfOptionName(const std::string& name) {
    return PlanetOfNumber(PlanetNumber(name));
}

const std::array<const char*, 7>& AspectOptionNames() {
    static const std::array<const char*, 7> kNames = {"con", "opp", "sqr", "tri",
                                                      "sxt", "ssx", "qui"};
    return kNames;
}

OptionProblem ReadWholeOption(const std::string& value, int& into, const char* name, int low,
                              int high) {
    const auto n = WholeNumberIn(value, 7, low, high);
    if (!n) {
        return std::string(name) + " takes a whole number from " + std::to_string(low) + " to " +
               std::to_string(high) + ", not \"" + value + "\"";
    }
    into = *n;
    return std::nullopt;
}

OptionProblem ReadDateOption(const std::string& value, std::optional<ReportDate>& into,
                             const char* name) {
    into = ParseDate(value);
    if (into) return std::nullopt;
    return "malformed date \"" + value + "\" for " + name + " (YYYY-MM-DD, e.g. 2024-05-05)";
}

OptionProblem ReadAspectsOption(const std::string& value, std::array<bool, 7>& into) {
    into.fill(false);
    for (const std::string& a : Split(value, ',')) {
        const int n = AspectNumber(a);
        if (n == 0) return "unknown aspect \"" + a + "\" for --aspects (" + AspectChoices() + ")";
        into[static_cast<std::size_t>(n - 1)] = true;
    }
    return std::nullopt;
}

OptionProblem ReadSeedOption(const std::string& value, std::uint64_t& into) {
    if (!AllDigits(value) || value.size() > 19) {
        return "--seed takes a whole number of at most 19 digits, not \"" + value + "\"";
    }
    into = std::stoull(value);
    return std::nullopt;
}

OptionProblem ReadTextOption(const std::string& value, std::string& into, const char* problem) {
    if (value.empty()) return std::string(problem);
    into = value;
    return std::nullopt;
}

OptionProblem ReadChartFileOption(const std::string& value, std::string& into) {
    const std::string v = Lower(value);
    if (!EndsWith(v, ".png") && !EndsWith(v, ".svg")) {
        return "--chart takes a file name ending in .png or .svg, not \"" + value + "\"";
    }
    into = value;
    return std::nullopt;
}

}  // namespace vlt
