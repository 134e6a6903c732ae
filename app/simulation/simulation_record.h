#pragma once
// The state of one (aspect type, orb) pair of an investment simulation, kept
// as one fixed-column text of 28 characters (columns counted from 1):
//
//   1-7    accumulated gain of the redeemed investments, two decimals, "." and
//          no grouping, right-aligned ("  00.00" at the start)
//   8      blank
//   9      first planet number      10  second planet number
//   11     aspect number            12-13 orb in whole degrees, right-aligned
//   14-16  invested flag, " 0 " or " 1 "
//   17-24  index value at purchase while an investment is open, two
//          decimals, left-aligned; blanks when none
//   25     blank
//   26-28  number of investments opened and not cancelled, right-aligned
//
// Fields are read back as numbers from exactly these columns (the count from
// column 26 to the end, so a count beyond 999 stays readable).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vlt {

using SimulationRecord = std::string;

inline constexpr std::size_t kSimulationRecordWidth = 28;

// A fresh record: "  00.00", blank, p1, p2, aspect, orb in 2 columns, " 0 ",
// 9 blanks, count 0 in 3 columns.
SimulationRecord NewSimulationRecord(std::int16_t firstPlanet, std::int16_t secondPlanet,
                                     int aspect, int orbDegrees);

// For each checked aspect type (box b stands for aspect b + 1), in box
// order, the records of the outer, middle and inner orb.
std::vector<SimulationRecord> BuildSimulationRecords(std::int16_t firstPlanet,
                                                     std::int16_t secondPlanet,
                                                     const std::array<bool, 7>& aspectChecked,
                                                     const std::array<int, 3>& orbDegrees);

// Field readers.
double RecordGain(const SimulationRecord& record);                // columns 1-7
std::int16_t RecordFirstPlanet(const SimulationRecord& record);   // column 9
std::int16_t RecordSecondPlanet(const SimulationRecord& record);  // column 10
int RecordAspect(const SimulationRecord& record);                 // column 11
int RecordOrb(const SimulationRecord& record);                    // columns 12-13
int RecordInvestedFlag(const SimulationRecord& record);           // columns 14-15
double RecordPurchaseValue(const SimulationRecord& record);       // columns 17-24
int RecordCount(const SimulationRecord& record);                  // columns 26-end

// An investment opened at indexValue: columns 1-13 kept, " 1 ", the value
// with two decimals left-aligned in 8 columns, a blank, count in 3 columns.
SimulationRecord OpenedRecord(const SimulationRecord& record, double indexValue, int count);
// An investment redeemed: the new accumulated gain in 7 columns, a blank,
// columns 9-13 kept, " 0 ", 9 blanks, count in 3 columns.  A gain that does
// not fit 7 columns with two decimals is written with fewer decimals (and
// past that, held at the widest value) so that the columns stay in place.
SimulationRecord RedeemedRecord(const SimulationRecord& record, double gain, int count);
// An open investment cancelled: columns 1-16 kept, 9 blanks, count in 3
// columns.
SimulationRecord CancelledRecord(const SimulationRecord& record, int count);

// Sort key of a text: the number read from it with blanks removed, an
// optional sign, digits with at most one ".", stopping at the first other
// character.  For a record: the gain followed, as further decimals, by the
// planets, aspect, orb, flag and then purchase value or count.
double RecordKey(const std::string& text);

// Sorts list[lo..hi] (0-based, inclusive) by descending key, with the
// partition scheme the reports have always used (pivot in the middle, both
// scans bounded by the range), so that entries with equal keys end in the
// same order as ever.
void QuickSort(std::vector<SimulationRecord>& list, int lo, int hi);

}  // namespace vlt
