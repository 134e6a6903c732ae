#include "app/simulation/simulation_record.h"

#include <string_view>
#include <utility>

#include "app/simulation/amount_format.h"
#include "app/support/numbers.h"

namespace vlt {

namespace {

std::string RightAligned(const std::string& text, std::size_t width) {
    if (text.size() >= width) return text;
    return std::string(width - text.size(), ' ') + text;
}

std::string LeftAligned(const std::string& text, std::size_t width) {
    if (text.size() >= width) return text.substr(0, width);
    return text + std::string(width - text.size(), ' ');
}

// Columns first..last (1-based, inclusive) of a record; what exists of them.
std::string_view Columns(const SimulationRecord& record, std::size_t first, std::size_t last) {
    if (first > record.size()) return {};
    const std::size_t begin = first - 1;
    const std::size_t end = last < record.size() ? last : record.size();
    return std::string_view(record).substr(begin, end - begin);
}

std::string Digit(int value) { return std::to_string(value); }

std::string CountField(int count) { return RightAligned(std::to_string(count), 3); }

// Columns 1..n of a record, padded to n when the record is short.
std::string Head(const SimulationRecord& record, std::size_t n) {
    return LeftAligned(record.substr(0, n < record.size() ? n : record.size()), n);
}

}  // namespace

SimulationRecord NewSimulationRecord(std::int16_t firstPlanet, std::int16_t secondPlanet,
                                     int aspect, int orbDegrees) {
    SimulationRecord record = "  00.00 ";
    record += Digit(firstPlanet);
    record += Digit(secondPlanet);
    record += Digit(aspect);
    record += RightAligned(std::to_string(orbDegrees), 2);
    record += " 0 ";
    record += std::string(9, ' ');
    record += CountField(0);
    return record;
}

std::vector<SimulationRecord> BuildSimulationRecords(std::int16_t firstPlanet,
                                                     std::int16_t secondPlanet,
                                                     const std::array<bool, 7>& aspectChecked,
                                                     const std::array<int, 3>& orbDegrees) {
    std::vector<SimulationRecord> records;
    for (int box = 0; box < 7; ++box) {
        if (!aspectChecked[static_cast<std::size_t>(box)]) continue;
        for (int k = 0; k < 3; ++k) {
            records.push_back(NewSimulationRecord(firstPlanet, secondPlanet, box + 1,
                                                  orbDegrees[static_cast<std::size_t>(k)]));
        }
    }
    return records;
}

double RecordGain(const SimulationRecord& record) { return NumberFromText(Columns(record, 1, 7)); }

std::int16_t RecordFirstPlanet(const SimulationRecord& record) {
    return static_cast<std::int16_t>(NumberFromText(Columns(record, 9, 9)));
}

std::int16_t RecordSecondPlanet(const SimulationRecord& record) {
    return static_cast<std::int16_t>(NumberFromText(Columns(record, 10, 10)));
}

int RecordAspect(const SimulationRecord& record) {
    return static_cast<int>(NumberFromText(Columns(record, 11, 11)));
}

int RecordOrb(const SimulationRecord& record) {
    return static_cast<int>(NumberFromText(Columns(record, 12, 13)));
}

int RecordInvestedFlag(const SimulationRecord& record) {
    return static_cast<int>(NumberFromText(Columns(record, 14, 15)));
}

double RecordPurchaseValue(const SimulationRecord& record) {
    return NumberFromText(Columns(record, 17, 24));
}

int RecordCount(const SimulationRecord& record) {
    return static_cast<int>(NumberFromText(Columns(record, 26, record.size())));
}

SimulationRecord OpenedRecord(const SimulationRecord& record, double indexValue, int count) {
    return Head(record, 13) + " 1 " + LeftAligned(DecimalFittingWidth(indexValue, 8), 8) + " " +
           CountField(count);
}

SimulationRecord RedeemedRecord(const SimulationRecord& record, double gain, int count) {
    return RightAligned(DecimalFittingWidth(gain, 7), 7) + " " +
           std::string(Columns(record, 9, 13)) + " 0 " + std::string(9, ' ') + CountField(count);
}

SimulationRecord CancelledRecord(const SimulationRecord& record, int count) {
    return Head(record, 16) + std::string(9, ' ') + CountField(count);
}

double RecordKey(const std::string& text) { return NumberFromText(text); }

void QuickSort(std::vector<SimulationRecord>& list, int lo, int hi) {
    // Iterates over the larger part and recurses into the smaller one, so the
    // stack depth stays logarithmic whatever the keys.
    while (lo < hi) {
        const double pivot = RecordKey(list[static_cast<std::size_t>(lo + (hi - lo) / 2)]);
        int i = lo;
        int j = hi;
        while (i <= j) {
            while (i < hi && RecordKey(list[static_cast<std::size_t>(i)]) > pivot) ++i;
            while (j > lo && RecordKey(list[static_cast<std::size_t>(j)]) < pivot) --j;
            if (i <= j) {
                if (i < j) {
                    std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
                }
                ++i;
                --j;
            }
        }
        if (j - lo < hi - i) {
            if (lo < j) QuickSort(list, lo, j);
            lo = i;
        } else {
            if (i < hi) QuickSort(list, i, hi);
            hi = j;
        }
    }
}

}  // namespace vlt
