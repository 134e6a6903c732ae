#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/support/numbers.h"

namespace {

using vlt::NumberFromText;
using vlt::RoundHalfEven;

struct TextCase {
    const char* text;
    double value;
};

TEST(NumberFromText, ReadsSignDigitsAndOnePoint) {
    const TextCase cases[] = {
        {"12423.49", 12423.49},
        {"  12423.49  ", 12423.49},
        {"1 2 4 2 3 . 4 9", 12423.49},
        {"-.5", -0.5},
        {"+7", 7.0},
        {"- 7", -7.0},
        {"1.2.3", 1.2},
        {"12a34", 12.0},
        {"abc", 0.0},
        {"", 0.0},
        {"-", 0.0},
        {".", 0.0},
        {"0000", 0.0},
        {"00012.5", 12.5},
        {"1e5", 1.0},
        {"--5", 0.0},
        {"5-", 5.0},
        {"\t3", 3.0},
        {"3,5", 3.0},
        {"42.", 42.0},
        {"0012423.4", 12423.4},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(NumberFromText(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberFromText, ExactlyTheNearestDoubleAndNoOverflow) {
    // The decimal text must be converted exactly, not accumulated digit by
    // digit (which drifts in the last bits).
    EXPECT_EQ(NumberFromText("0.1"), 0.1);
    EXPECT_EQ(NumberFromText("12423.49"), 12423.49);
    EXPECT_EQ(NumberFromText("9007199254740993"), 9007199254740992.0);
    EXPECT_TRUE(std::isinf(NumberFromText(std::string(400, '9'))));
    EXPECT_TRUE(std::isinf(NumberFromText("-" + std::string(400, '9'))));
}

struct RoundCase {
    double x;
    int decimals;
    double expected;
};

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    // Halves chosen exactly representable in binary.
    const RoundCase cases[] = {
        {0.5, 0, 0.0},
        {1.5, 0, 2.0},
        {2.5, 0, 2.0},
        {-0.5, 0, -0.0},
        {-1.5, 0, -2.0},
        {-2.5, 0, -2.0},
        {2.4999, 0, 2.0},
        {2.5001, 0, 3.0},
        {0.125, 2, 0.12},
        {0.375, 2, 0.38},
        {0.625, 2, 0.62},
        {-0.125, 2, -0.12},
        {0.1831853, 6, 0.183185},
        {6.2831853071, 6, 6.283185},
        {1.0, 6, 1.0},
        {-30.5, 0, -30.0},
        {-29.5, 0, -30.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(RoundHalfEven(c.x, c.decimals), c.expected) << c.x << " at " << c.decimals;
    }
}

TEST(RoundHalfEven, LeavesWhatCannotBeRoundedAlone) {
    EXPECT_EQ(RoundHalfEven(1e300, 6), 1e300);
    EXPECT_EQ(RoundHalfEven(-1e17, 0), -1e17);
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::numeric_limits<double>::quiet_NaN(), 6)));
    EXPECT_TRUE(std::isinf(RoundHalfEven(std::numeric_limits<double>::infinity(), 6)));
    // Out-of-range decimal counts are clamped, not undefined.
    EXPECT_DOUBLE_EQ(RoundHalfEven(2.5, -3), 2.0);
    EXPECT_DOUBLE_EQ(RoundHalfEven(0.1, 99), 0.1);
}

}  // namespace
