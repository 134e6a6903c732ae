#include "app/simulation/simulation_lines.h"

#include <cctype>

#include "app/positions/vocabulary.h"

namespace vlt {

namespace {

constexpr const char* kDegree = "\u00B0";
constexpr double kInvestmentAmount = 100.0;

std::string OrbText(int orbDegrees) {
    std::string text = std::to_string(orbDegrees);
    if (text.size() < 3) text.insert(0, 3 - text.size(), ' ');
    return text + kDegree;
}

const AspectRecord& AspectRecordOf(int aspect) {
    static const AspectRecord none{};
    if (aspect < 1 || aspect > kAspectCount) return none;
    return AspectNames[static_cast<std::size_t>(aspect)];
}

}  // namespace

std::string SimulationHeader(const std::string& reportTitle) {
    // Everything up to and including the first "for " gives way to the
    // simulation's own words.
    const auto at = reportTitle.find("for");
    std::string rest = reportTitle;
    if (at != std::string::npos) {
        rest = at + 4 <= reportTitle.size() ? reportTitle.substr(at + 4) : std::string();
    }
    return "Simulated investments for selected aspects for " + rest;
}

std::string DetailPrefix(int aspect, int orbDegrees) {
    return AspectRecordOf(aspect).name + " " + OrbText(orbDegrees);
}

std::string InvestmentLine(int aspect, int orbDegrees, int number, const std::string& dateText,
                           const AmountFormatter& amounts) {
    return DetailPrefix(aspect, orbDegrees) + ", investment #" + std::to_string(number) + " on " +
           dateText + " of $" + amounts.Format(kInvestmentAmount, 0);
}

std::string RedemptionLine(int aspect, int orbDegrees, int number, const std::string& dateText,
                           double gain, double totalGain, const AmountFormatter& amounts) {
    std::string line = DetailPrefix(aspect, orbDegrees) + ", redemption #" +
                       std::to_string(number) + " on " + dateText;
    line +=
        gain < 0.0 ? ", lost $" + amounts.Format(-gain, 2) : ", gained $" + amounts.Format(gain, 2);
    line += totalGain < 0.0 ? ", total loss is $" + amounts.Format(-totalGain, 2)
                            : ", total gain is $" + amounts.Format(totalGain, 2);
    return line;
}

std::string CancellationLine(int aspect, int orbDegrees, int number) {
    return DetailPrefix(aspect, orbDegrees) + ", investment #" + std::to_string(number) +
           " cancelled.";
}

std::string PairLabel(std::int16_t firstPlanet, std::int16_t secondPlanet, int aspect,
                      int orbDegrees, bool heliocentric) {
    std::string abbreviation = AspectRecordOf(aspect).abbreviation;
    for (char& c : abbreviation) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return PlanetName(firstPlanet, heliocentric, true) + " " + abbreviation + " " +
           PlanetName(secondPlanet, heliocentric, true) + "," + OrbText(orbDegrees);
}

std::string SummaryLine(const SimulationPair& pair, const AmountFormatter& amounts,
                        bool heliocentric) {
    std::string line = PairLabel(Number(pair.first), Number(pair.second), Number(pair.aspect),
                                 pair.orbDegrees, heliocentric);
    if (pair.investments < 1) return line + ", no investments";
    return line + ", ends with $" + amounts.Format(pair.totalGain, 2);
}

std::string AspectTotalLine(int aspect, int redemptions, double gainSum,
                            const AmountFormatter& amounts) {
    std::string name = AspectRecordOf(aspect).name;
    name.resize(14, ' ');
    return name + std::to_string(redemptions) + "  $" + amounts.Format(gainSum, 2);
}

}  // namespace vlt
