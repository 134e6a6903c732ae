// The index file: loading, the value of a line, the binary search and the
// day lookup, on small files of the test's own and on the real file where it
// is present.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/simulation/index_data.h"
#include "app/support/message_box.h"

namespace {

using namespace vlt;
namespace chr = std::chrono;

class RecordingBoxes : public MessageBoxes {
public:
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override {
        texts.push_back(text);
        titles.push_back(title);
        lastButtons = buttons;
        lastIcon = icon;
        return MsgResult::Ok;
    }
    std::vector<std::string> texts;
    std::vector<std::string> titles;
    MsgButtons lastButtons = MsgButtons::YesNo;
    MsgIcon lastIcon = MsgIcon::Question;
};

// Julian day number of a civil date, from the standard library's calendar.
std::int32_t Jdn(int y, unsigned m, unsigned d) {
    const chr::sys_days days{chr::year{y} / chr::month{m} / chr::day{d}};
    return static_cast<std::int32_t>(2440588 + days.time_since_epoch().count());
}

std::string DateText(std::int32_t jdn) {
    const chr::year_month_day ymd{chr::sys_days{chr::days{jdn - 2440588}}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()));
    return text;
}

class IndexFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "vlt_index_XXXXXX";
        if (char* made = mkdtemp(pattern.data())) folder_ = made;
        path_ = folder_ + "/DJIA_data.txt";
    }
    void TearDown() override {
        std::remove(path_.c_str());
        rmdir(folder_.c_str());
    }
    void Write(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }

    // A file of n weekday lines from 2007-01-03 on, value 10000 + k / 100.
    static std::string WeekdayFile(int n, std::vector<std::int32_t>* days = nullptr) {
        std::string text;
        std::int32_t day = Jdn(2007, 1, 3);
        for (int k = 0; k < n; ++day) {
            const unsigned weekday =
                chr::weekday{chr::sys_days{chr::days{day - 2440588}}}.c_encoding();
            if (weekday == 0 || weekday == 6) continue;
            char value[16];
            std::snprintf(value, sizeof value, "%.2f", 10000 + k / 100.0);
            text += DateText(day) + " " + value + "\r\n";
            if (days != nullptr) days->push_back(day);
            ++k;
        }
        return text;
    }

    std::string folder_;
    std::string path_;
    RecordingBoxes boxes_;
};

TEST_F(IndexFile, LineCountOtherThan2088IsReportedAndBlankLinesDoNotCount) {
    const std::string full = WeekdayFile(2088);
    struct Case {
        const char* why;
        std::string bytes;
        bool error;
    } cases[] = {
        {"exactly 2088", full, false},
        {"2088 with blank lines", "\r\n   \r\n" + full + "\r\n\t\r\n", false},
        {"2087", WeekdayFile(2087), true},
        {"2089", WeekdayFile(2089), true},
        {"empty", "", true},
    };
    for (const auto& c : cases) {
        Write(c.bytes);
        IndexData data;
        boxes_.texts.clear();
        // Read whole exactly when nothing was shown.
        EXPECT_EQ(LoadIndexData(data, boxes_, path_), !c.error) << c.why;
        if (c.error) {
            ASSERT_EQ(boxes_.texts.size(), 1u) << c.why;
            EXPECT_EQ(boxes_.texts[0], "Error reading DJIA data file " + path_);
            EXPECT_EQ(boxes_.titles[0], kDefaultTitle);
            EXPECT_EQ(boxes_.lastButtons, MsgButtons::Ok);
            EXPECT_EQ(boxes_.lastIcon, MsgIcon::None);
        } else {
            EXPECT_TRUE(boxes_.texts.empty()) << c.why;
            EXPECT_EQ(data.count, 2088);
            EXPECT_EQ(data.lines.size(), 2089u);
            EXPECT_EQ(data.lines[0], "");
            EXPECT_EQ(data.lines[1].substr(0, 10), "2007-01-03");
        }
        EXPECT_EQ(data.firstDay, 2454104) << c.why;
        EXPECT_EQ(data.lastDay, 2457023) << c.why;
    }
}

TEST_F(IndexFile, MissingFileIsReportedAndStillSetsTheRange) {
    IndexData data;
    EXPECT_FALSE(LoadIndexData(data, boxes_, folder_ + "/no-such-file.txt"));
    ASSERT_EQ(boxes_.texts.size(), 1u);
    EXPECT_EQ(boxes_.texts[0], "Error reading DJIA data file " + folder_ +
                                   "/no-such-file.txt: No such file or directory");
    EXPECT_EQ(data.count, 0);
    EXPECT_EQ(data.firstDay, kIndexFirstDay);
    EXPECT_EQ(data.lastDay, kIndexLastDay);
    double value = -1;
    EXPECT_FALSE(IndexValueForDay(data, Jdn(2007, 1, 3), value));
    EXPECT_EQ(value, -1);
}

// The whole value is read, however long (once cut to its last 8
// characters: 10627.260 became 627.260).
TEST(IndexLineValue, TheWholeValueText) {
    const struct {
        const char* line;
        double value;
    } cases[] = {
        {"2007-01-08 12423.49", 12423.49},
        {"2007-01-08,9999.99", 9999.99},  // 7 characters, read exactly
        {"2007-01-08 812.5", 812.5},
        {"2007-01-08 0", 0.0},
        {"2007-01-08 0.00", 0.0},
        {"2007-01-08", 0.0},  // only a date
        {"2007-01-08 ", 0.0},
        {"2007-01-08 123456789.5", 123456789.5},  // the whole value
        {"2007-01-08 10627.260", 10627.26},       // 9 characters
        {"2007-01-08 1 234.5", 1234.5},           // blanks are ignored
        {"2007-01-08 12x3", 12.0},
        {"2007", 0.0},
        {"", 0.0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(IndexLineValue(c.line), c.value) << c.line;
}

// A nine-character value gives the right amount in the simulation's lookup,
// and a value that is not a number is reported at start-up with the number
// of its line in the file (blank lines counted).
TEST_F(IndexFile, LongValuesReadWholeAndBadValuesAreReportedByLine) {
    std::string text = WeekdayFile(2088);
    // The second line (2007-01-04) gets a 9-character value.
    const std::size_t second = text.find("\r\n") + 2;
    const std::size_t end = text.find("\r\n", second);
    text.replace(second + 11, end - second - 11, "10627.260");
    Write(text);
    IndexData data;
    LoadIndexData(data, boxes_, path_);
    EXPECT_TRUE(boxes_.texts.empty());
    double value = 0.0;
    ASSERT_TRUE(IndexValueForDay(data, Jdn(2007, 1, 4), value));
    EXPECT_DOUBLE_EQ(value, 10627.26);

    const struct {
        const char* value;
        const char* shown;
    } bad[] = {{"12a4.5", "12a4.5"},
               {"1.2.3", "1.2.3"},
               {"-", "-"},
               {"12\x01", "12\\x01"},
               {"1,234.5", "1,234.5"}};
    for (const auto& b : bad) {
        std::string spoilt = "\r\n" + WeekdayFile(2088);  // a blank first line
        const std::size_t third = spoilt.find("\r\n", spoilt.find("\r\n", 2) + 2) + 2;
        const std::size_t stop = spoilt.find("\r\n", third);
        spoilt.replace(third + 11, stop - third - 11, b.value);
        Write(spoilt);
        boxes_.texts.clear();
        IndexData d;
        EXPECT_FALSE(LoadIndexData(d, boxes_, path_)) << b.value;
        ASSERT_EQ(boxes_.texts.size(), 1u) << b.value;
        EXPECT_EQ(boxes_.texts[0], "Error reading DJIA data file " + path_ +
                                       "\nLine 4: the value \"" + b.shown + "\" is not a number.");
        EXPECT_EQ(d.count, 2088);
    }
}

// Reading is bounded: a FIFO or a device in the file's place, or a file far
// larger than the index file can be, is not read.
TEST_F(IndexFile, OnlyARegularFileOfSaneSizeIsRead) {
    for (const char* what : {"fifo", "device", "large"}) {
        std::remove(path_.c_str());
        if (std::string(what) == "fifo") {
            ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
        } else if (std::string(what) == "device") {
            ASSERT_EQ(::symlink("/dev/zero", path_.c_str()), 0);
        } else {
            Write(std::string(static_cast<std::size_t>(kIndexFileMaxBytes) + 1, '\n'));
        }
        boxes_.texts.clear();
        IndexData data;
        EXPECT_FALSE(LoadIndexData(data, boxes_, path_)) << what;
        ASSERT_EQ(boxes_.texts.size(), 1u) << what;
        // The path, and the reason the file was refused.
        EXPECT_EQ(boxes_.texts[0].rfind("Error reading DJIA data file " + path_ + ": ", 0), 0u)
            << what << ": " << boxes_.texts[0];
        EXPECT_EQ(data.count, 0) << what;
    }
}

// Which copy of the index file is read: the working folder's wins; the one
// beside the program serves when the working folder has none and the caller
// lets it; with neither, the working folder's is named.
TEST_F(IndexFile, TheWorkingFolderWinsAndTheProgramsCopyServesOtherwise) {
    const std::string working = folder_ + "/work";
    const std::string program = folder_ + "/bin";
    ASSERT_EQ(::mkdir(working.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(program.c_str(), 0700), 0);
    const struct {
        bool inWorking;
        bool besideProgram;
        const char* programFolder;  // as given by the caller
        std::string read;
    } cases[] = {
        {true, true, "bin", working + "/DJIA_data.txt"},
        {true, false, "bin", working + "/DJIA_data.txt"},
        {false, true, "bin", program + "/DJIA_data.txt"},
        {false, true, "bin/", program + "/DJIA_data.txt"},
        {false, true, "", working + "/DJIA_data.txt"},  // the caller does not look beside
        {false, false, "bin", working + "/DJIA_data.txt"},
    };
    for (const auto& c : cases) {
        for (const std::string& f : {working, program}) std::remove((f + "/DJIA_data.txt").c_str());
        if (c.inWorking) std::ofstream(working + "/DJIA_data.txt") << "x";
        if (c.besideProgram) std::ofstream(program + "/DJIA_data.txt") << "x";
        const std::string given = *c.programFolder ? folder_ + "/" + c.programFolder : "";
        EXPECT_EQ(IndexFilePath(working, given), c.read)
            << c.inWorking << c.besideProgram << c.programFolder;
    }
    for (const std::string& f : {working, program}) {
        std::remove((f + "/DJIA_data.txt").c_str());
        ::rmdir(f.c_str());
    }
}

TEST(BinarySearch, FindsEveryEntryAndPlacesEveryGap) {
    // Keys at every other number, so that every gap can be probed too.
    for (int count = 0; count <= 40; ++count) {
        std::vector<std::string> list = {""};
        for (int k = 1; k <= count; ++k) {
            char key[16];
            std::snprintf(key, sizeof key, "%04d", 2 * k);
            list.push_back(std::string(key) + " payload");
        }
        for (int probe = 0; probe <= 2 * count + 2; ++probe) {
            char key[16];
            std::snprintf(key, sizeof key, "%04d", probe);
            std::int32_t position = 0;
            const bool found = BinarySearch(key, list, count, position, 1, 4, true);
            const bool present = probe % 2 == 0 && probe >= 2 && probe <= 2 * count;
            EXPECT_EQ(found, present) << count << " " << probe;
            if (present) {
                EXPECT_EQ(position, probe / 2) << count << " " << probe;
            } else {
                EXPECT_LE(position, -1) << count << " " << probe;
            }
        }
    }
}

TEST(BinarySearch, EdgesOfTheDescribedSteps) {
    const std::vector<std::string> list = {"", "b-1", "d-2", "f-3"};
    struct Case {
        const char* key;
        std::int32_t count;
        bool found;
        std::int32_t position;
    } cases[] = {
        {"a", 3, false, -1},  // before the first
        {"g", 3, false, -4},  // after the last: -(count + 1)
        {"b", 1, true, 1},    // a single entry
        {"d", 0, false, -1},  // no entries
        {"f", 3, true, 3},   {"c", 3, false, -2},
        {"e", 3, false, -3}, {"f", 99, true, 3},  // a count beyond the list is held to the list
    };
    for (const auto& c : cases) {
        std::int32_t position = 0;
        EXPECT_EQ(BinarySearch(c.key, list, c.count, position, 1, 1, true), c.found) << c.key;
        EXPECT_EQ(position, c.position) << c.key;
    }
    // Segments from another column, and case-insensitive comparison.
    std::int32_t position = 0;
    EXPECT_TRUE(BinarySearch("-2", list, 3, position, 2, 2, true));
    EXPECT_EQ(position, 2);
    EXPECT_FALSE(BinarySearch("D", list, 3, position, 1, 1, true));
    EXPECT_TRUE(BinarySearch("D", list, 3, position, 1, 1, false));
    EXPECT_EQ(position, 2);
    // Entries shorter than the segment are compared by what they hold.
    const std::vector<std::string> ragged = {"", "2007", "2007-01-03 1", "2007-01-04 2"};
    EXPECT_TRUE(BinarySearch("2007-01-04", ragged, 3, position, 1, 10, true));
    EXPECT_EQ(position, 3);
}

TEST_F(IndexFile, WeekendsAndHolidaysTakeTheNextValueWithinFourDays) {
    // Thursday 2007-01-04 has a zero value, Friday 2007-01-05 is missing.
    Write(
        "2007-01-03 12474.52\r\n"
        "2007-01-04 0\r\n"
        "   2007-01-08 12423.49   \r\n"
        "2007-01-09 12416.60\r\n"
        "2007-01-15 12556.08\r\n");
    IndexData data;
    LoadIndexData(data, boxes_, path_);
    struct Case {
        std::int32_t day;
        bool found;
        double value;
    } cases[] = {
        {Jdn(2007, 1, 3), true, 12474.52},
        {Jdn(2007, 1, 4), true, 12423.49},  // zero and missing days skipped: Monday's value
        {Jdn(2007, 1, 6), true, 12423.49},  // Saturday
        {Jdn(2007, 1, 9), true, 12416.60},
        {Jdn(2007, 1, 10), false, 0},        // next line five days on: too far
        {Jdn(2007, 1, 11), true, 12556.08},  // four days on
        {Jdn(2006, 12, 25), false, 0},       // before the first line
        {Jdn(2007, 1, 16), false, 0},        // after the last line
        {INT32_MAX - 1, false, 0},           // no overflow in the five tries
    };
    for (const auto& c : cases) {
        double value = -1;
        EXPECT_EQ(IndexValueForDay(data, c.day, value), c.found) << DateText(c.day);
        if (c.found) {
            EXPECT_DOUBLE_EQ(value, c.value) << DateText(c.day);
        }
    }
}

TEST(RealIndexFile, SaturdayGivesMondaysValueAndEveryLineIsFound) {
    const std::string path = std::string(VLT_DATA_DIR) + "/DJIA_data.txt";
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0) << "the index file is missing: " << path;
    RecordingBoxes boxes;
    IndexData data;
    LoadIndexData(data, boxes, path);
    EXPECT_TRUE(boxes.texts.empty());
    ASSERT_EQ(data.count, 2088);
    double value = 0;
    ASSERT_TRUE(IndexValueForDay(data, Jdn(2007, 1, 6), value));
    EXPECT_DOUBLE_EQ(value, 12423.49);
    // Every line is found by its own date with its own value, and every day of
    // the covered range has a value within four days.
    for (std::int32_t k = 1; k <= data.count; ++k) {
        const std::string& line = data.lines[static_cast<std::size_t>(k)];
        std::int32_t position = 0;
        ASSERT_TRUE(BinarySearch(line.substr(0, 10), data.lines, data.count, position, 1, 10, true))
            << line;
        EXPECT_EQ(position, k);
    }
    for (std::int32_t day = kIndexFirstDay; day <= kIndexLastDay; ++day) {
        EXPECT_TRUE(IndexValueForDay(data, day, value)) << DateText(day);
        EXPECT_GT(value, 0.0);
    }
}

}  // namespace
