#pragma once
// Readers of the values that options of vlt-report take: whole numbers,
// dates, planet and aspect names, the time-zone list.  Every command reads
// its values with these, so that a date or a planet is understood (and
// refused) alike everywhere.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/positions/timezone_list.h"
#include "app/positions/vocabulary.h"

namespace vlt {

struct ReportDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

std::string Lower(std::string s);
bool AllDigits(const std::string& s);
// A whole number of at most `maxDigits` digits, nothing else.
std::optional<int> WholeNumber(const std::string& s, std::size_t maxDigits);
// The same, from `low` to `high`.
std::optional<int> WholeNumberIn(const std::string& s, std::size_t maxDigits, int low, int high);
std::vector<std::string> Split(const std::string& s, char sep);
bool EndsWith(const std::string& text, const std::string& end);

// The names --first and --second take, for messages.
extern const char* const kPlanetChoices;

// Program planet number of a name (either name of planet 1), 0 when the name
// is unknown.
int PlanetNumber(const std::string& name);
std::optional<Planet> PlanetOfOptionName(const std::string& name);

// The three-letter names of the aspect types 1..7 as the command line takes
// them: con, opp, sqr, tri, sxt, ssx, qui.
const std::array<const char*, 7>& AspectOptionNames();
// Aspect number 1..7 of a three-letter name, 0 when unknown.
int AspectNumber(const std::string& name);
// "con,opp,sqr,tri,sxt,ssx,qui".
std::string AspectChoices();

// YYYY-MM-DD (year 1 to 4 digits, month and day 1 or 2) naming a day of the
// Gregorian calendar.
std::optional<ReportDate> ParseDate(const std::string& text);

// Readers of one option's value for the commands of their own files: each
// fills its target and gives nothing, or gives the line that says what is
// wrong with the value.
using OptionProblem = std::optional<std::string>;
// A whole number from low to high (at most 7 digits).
OptionProblem ReadWholeOption(const std::string& value, int& into, const char* name, int low,
                              int high);
// A date as YYYY-MM-DD.
OptionProblem ReadDateOption(const std::string& value, std::optional<ReportDate>& into,
                             const char* name);
// Aspect types, comma-separated three-letter names; the others unchecked.
OptionProblem ReadAspectsOption(const std::string& value, std::array<bool, 7>& into);
// --seed: at most 19 digits.
OptionProblem ReadSeedOption(const std::string& value, std::uint64_t& into);
// A text that must not be empty (a file or column name).
OptionProblem ReadTextOption(const std::string& value, std::string& into, const char* problem);
// --chart: an image file named .png or .svg.
OptionProblem ReadChartFileOption(const std::string& value, std::string& into);

// A word matched case-blind against a few choices.
template <typename T>
std::optional<T> Choice(const std::string& value,
                        std::initializer_list<std::pair<const char*, T>> choices) {
    const std::string v = Lower(value);
    for (const auto& [word, meaning] : choices) {
        if (v == word) return meaning;
    }
    return std::nullopt;
}

}  // namespace vlt
