// The positions library shared by several threads: the same calls made on
// four threads at once give, bit for bit, what they give on one.  Built also
// under ThreadSanitizer (scripts/test), which reports any unguarded sharing
// that the comparison alone might miss.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "planets/include/planets_vlt.h"

namespace {

constexpr int kCalls = 100000;
constexpr int kThreads = 4;

enum class Function { Geocentric, Heliocentric, HeliocentricWithLatitude };

struct Call {
    Function function;
    int planet;
    double jd;
    int year;
};

struct Answer {
    double value = 0.0;
    double lat = 0.0;
    double rv = 0.0;
    bool operator==(const Answer& other) const {
        return std::memcmp(this, &other, sizeof(Answer)) == 0;
    }
};

// Proleptic Gregorian year of a Julian date (the civil-calendar algorithm of
// Meeus, Astronomical Algorithms, chapter 7).
int year_of(double jd) {
    const double z = std::floor(jd + 0.5);
    const double alpha = std::floor((z - 1867216.25) / 36524.25);
    const double a = z + 1 + alpha - std::floor(alpha / 4);
    const double b = a + 1524;
    const double c = std::floor((b - 122.1) / 365.25);
    const double d = std::floor(365.25 * c);
    const double e = std::floor((b - d) / 30.6001);
    const double month = e < 14 ? e - 1 : e - 13;
    return static_cast<int>(month > 2 ? c - 4716 : c - 4715);
}

// Every body the library knows and a few numbers it refuses, each of the
// three position functions, dates over 1600-2799; one call in twenty names a
// year that does not go with its date, so the error paths run in parallel too.
std::vector<Call> make_calls() {
    const int planets[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const Function functions[] = {Function::Geocentric, Function::Heliocentric,
                                  Function::HeliocentricWithLatitude};
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> dates(2305447.5, 2743918.5);
    std::vector<Call> calls;
    calls.reserve(kCalls);
    for (int i = 0; i < kCalls; ++i) {
        const double jd = dates(random);
        int year = year_of(jd);
        if (i % 20 == 7) year += 10;
        calls.push_back({functions[i % 3], planets[(i / 3) % 12], jd, year});
    }
    return calls;
}

Answer answer(const Call& c) {
    Answer a;
    switch (c.function) {
        case Function::Geocentric:
            a.value = gc_app_long_rv_planet(c.planet, c.jd, c.year, &a.rv);
            break;
        case Function::Heliocentric:
            a.value = hc_j2000_long_rv_planet(c.planet, c.jd, c.year, &a.rv);
            break;
        case Function::HeliocentricWithLatitude:
            a.value = hc_j2000_long_lat_rv_planet(c.planet, c.jd, c.year, &a.lat, &a.rv);
            break;
    }
    return a;
}

// Thread t answers calls t, t + 4, t + 8, ...: neighbouring calls (other
// planets, other data files) run at the same time.
std::vector<Answer> answer_on_threads(const std::vector<Call>& calls) {
    std::vector<Answer> answers(calls.size());
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&calls, &answers, t] {
            for (std::size_t i = static_cast<std::size_t>(t); i < calls.size(); i += kThreads) {
                answers[i] = answer(calls[i]);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    return answers;
}

class PositionsOnThreads : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GT(set_datafiles_folder(folder_.c_str()), 1); }
    const std::string folder_ = std::string(VLT_DATA_DIR) + "/";
};

void expect_same(const std::vector<Call>& calls, const std::vector<Answer>& one,
                 const std::vector<Answer>& many) {
    int differences = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (one[i] == many[i]) continue;
        if (++differences <= 5) {
            ADD_FAILURE() << "call " << i << " planet " << calls[i].planet << " jd " << calls[i].jd
                          << ": " << one[i].value << " on one thread, " << many[i].value
                          << " on four";
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST_F(PositionsOnThreads, FourThreadsGiveTheOneThreadAnswersBitForBit) {
    const std::vector<Call> calls = make_calls();
    std::vector<Answer> one;
    one.reserve(calls.size());
    for (const Call& c : calls) one.push_back(answer(c));

    // The comparison means something only if the file planets were read:
    // most of their calls must be longitudes, some of them refused records.
    int file_longitudes = 0;
    int refused_records = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].planet < 5 || calls[i].planet > 8) continue;
        if (one[i].value >= 0.0) ++file_longitudes;
        if (one[i].value == PLANETS_VLT_ERR_RECORD) ++refused_records;
    }
    EXPECT_GT(file_longitudes, kCalls / 4);
    EXPECT_GT(refused_records, 100);

    expect_same(calls, one, answer_on_threads(calls));
}

// Setting the folder (to the same text) while other threads read files: the
// folder is copied under its lock, so no read sees a half-written folder.
TEST_F(PositionsOnThreads, FolderSetWhileOthersReadChangesNothing) {
    std::vector<Call> calls = make_calls();
    calls.resize(kCalls / 5);
    std::vector<Answer> one;
    for (const Call& c : calls) one.push_back(answer(c));
    std::atomic<bool> done{false};
    std::thread setter([this, &done] {
        while (!done.load()) set_datafiles_folder(folder_.c_str());
    });
    const std::vector<Answer> many = answer_on_threads(calls);
    done.store(true);
    setter.join();
    expect_same(calls, one, many);
}

}  // namespace
