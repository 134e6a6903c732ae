#pragma once
// The lines of an investment simulation's box text.  None of them ends with
// a line break; the text formatter (simulation_text.h) adds CR LF after each.  Dollar
// amounts go through the caller's AmountFormatter (the user's locale);
// counts and dates are plain.

#include <cstdint>
#include <string>

#include "app/simulation/amount_format.h"
#include "app/simulation/simulation_result.h"

namespace vlt {

// "Simulated investments for selected aspects for " followed by the report
// title after its first "for " ("Earth and Mars from ...").  A title
// without "for" is kept whole.
std::string SimulationHeader(const std::string& reportTitle);

// Aspect name, a blank, the orb right-aligned in 3 columns and "°".
std::string DetailPrefix(int aspect, int orbDegrees);

// prefix + ", investment #" + n + " on " + date + " of $100".
std::string InvestmentLine(int aspect, int orbDegrees, int number, const std::string& dateText,
                           const AmountFormatter& amounts);

// prefix + ", redemption #" + n + " on " + date + ", gained $g" (", lost $|g|")
// + ", total gain is $G" (", total loss is $|G|").
std::string RedemptionLine(int aspect, int orbDegrees, int number, const std::string& dateText,
                           double gain, double totalGain, const AmountFormatter& amounts);

// prefix + ", investment #" + number + " cancelled.".
std::string CancellationLine(int aspect, int orbDegrees, int number);

// "Ea con Ma, 10°" ("Su con Ma, 10°" geocentrically): the pair as the
// summary lines name it.
std::string PairLabel(std::int16_t firstPlanet, std::int16_t secondPlanet, int aspect,
                      int orbDegrees, bool heliocentric = true);

// "Ea con Ma, 10°, ends with $12.34", or ", no investments" when the
// pair's count is below 1.
std::string SummaryLine(const SimulationPair& pair, const AmountFormatter& amounts,
                        bool heliocentric = true);

// Aspect name padded or cut to 14 characters, the redemption count, "  $" and
// the gain sum.
std::string AspectTotalLine(int aspect, int redemptions, double gainSum,
                            const AmountFormatter& amounts);

}  // namespace vlt
