// Price files the user names: both layouts read to the same days and values,
// every kind of bad input refused with the file, line and column, and days
// valued by the index file's rule.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/simulation/price_series.h"
#include "app/support/date_processing.h"
#include "app/support/escaped_text.h"

namespace vlt {
namespace {

std::string DateOf(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
}

struct GoodFile {
    const char* what;
    std::string text;
    std::string column;
    // Expected dates and values (0 = no trading).
    std::vector<std::pair<std::string, double>> rows;
};

TEST(PriceSeries, ReadsBothLayouts) {
    const std::vector<GoodFile> cases = {
        {"index layout, CR LF, date-only line",
         "2007-01-02\r\n2007-01-03,12474.52\r\n2007-01-04,12480.69\r\n",
         "Close",
         {{"2007-01-02", 0}, {"2007-01-03", 12474.52}, {"2007-01-04", 12480.69}}},
        {"index layout, LF, blanks and blank lines",
         "  2020-02-28,10.5  \n\n2020-03-02,11\n\t\n2020-03-03,\n",
         "Close",
         {{"2020-02-28", 10.5}, {"2020-03-02", 11}, {"2020-03-03", 0}}},
        {"index layout, null, NaN and zero mean no trading",
         "2020-01-01,null\n2020-01-02,NaN\n2020-01-03,0\n2020-01-06,7\n",
         "Close",
         {{"2020-01-01", 0}, {"2020-01-02", 0}, {"2020-01-03", 0}, {"2020-01-06", 7}}},
        {"daily-bar export",
         "Date,Open,High,Low,Close,Adj Close,Volume\n"
         "2021-03-01,1,2,0.5,1.5,1.25,1000\n2021-03-02,1,2,0.5,1.75,1.5,900\n",
         "Close",
         {{"2021-03-01", 1.5}, {"2021-03-02", 1.75}}},
        {"chosen column, any case, quoted header and fields",
         "\"close\",\"DATE\",\"Adj Close\"\r\n\"3\",\"2021-03-01\",\"2.5\"\r\n4,2021-03-02,3.5\r\n",
         "adj close",
         {{"2021-03-01", 2.5}, {"2021-03-02", 3.5}}},
        {"empty, null and NaN fields, quoted comma elsewhere",
         "Date,Name,Close\n2021-03-01,\"a, b\",\n2021-03-02,x,null\n2021-03-03,\"y\"\"z\",NaN\n"
         "2021-03-04,z,2\n",
         "Close",
         {{"2021-03-01", 0}, {"2021-03-02", 0}, {"2021-03-03", 0}, {"2021-03-04", 2}}},
        // Files as spreadsheets and other systems write them.
        {"CSV with a UTF-8 byte-order mark",
         "\xEF\xBB\xBF"
         "Date,Close\r\n2021-03-01,1.5\r\n",
         "Close",
         {{"2021-03-01", 1.5}}},
        {"CR-only line ends, no final line end",
         "Date,Close\r2021-03-01,1\r2021-03-02,2",
         "Close",
         {{"2021-03-01", 1}, {"2021-03-02", 2}}},
        {"CR, LF and CR LF mixed; CR CR is a blank line",
         "2021-03-01,1\r\r2021-03-02,2\n2021-03-03,3\r\n2021-03-04,4\r",
         "Close",
         {{"2021-03-01", 1}, {"2021-03-02", 2}, {"2021-03-03", 3}, {"2021-03-04", 4}}},
        {"the extremes of the price range",
         "2021-03-01,0.00000001\n2021-03-02,1000000000000\n2021-03-03,-5\n",
         "Close",
         {{"2021-03-01", 1e-8}, {"2021-03-02", 1e12}, {"2021-03-03", 0}}},
    };
    for (const GoodFile& c : cases) {
        SCOPED_TRACE(c.what);
        PriceSeries s;
        std::string error;
        ASSERT_TRUE(ParsePriceSeries(c.text, "p.csv", c.column, s, error)) << error;
        ASSERT_EQ(s.days.size(), c.rows.size());
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            EXPECT_EQ(DateOf(s.days[i]), c.rows[i].first);
            EXPECT_DOUBLE_EQ(s.values[i], c.rows[i].second);
        }
        // The covered range runs from the first to the last date with a price.
        std::string first, last;
        for (const auto& [date, value] : c.rows) {
            if (value > 0 && first.empty()) first = date;
            if (value > 0) last = date;
        }
        EXPECT_EQ(DateOf(s.FirstDay()), first);
        EXPECT_EQ(DateOf(s.LastDay()), last);
    }
}

struct BadFile {
    const char* what;
    std::string text;
    std::string column;
    std::string says;  // the whole message after the file's name
};

// 5e-324, the smallest double above 0, in plain decimals.
const std::string kTiny = "0." + std::string(323, '0') + "5";
const std::string kRange = "(0.00000001 to 1000000000000)";

TEST(PriceSeries, BadInputNamesFileLineAndColumn) {
    const std::string longLine = "2020-01-01," + std::string(995, '1') + "\n";
    const std::vector<BadFile> cases = {
        {"empty file", "", "Close", "line 1, column 1: the file is empty"},
        {"blank lines only", "\n  \r\n", "Close", "line 1, column 1: the file is empty"},
        {"header only", "Date,Close\n", "Close", "line 1, column 1: the file holds no prices"},
        {"no prices at all", "2020-01-01,\n2020-01-02,null\n", "Close",
         "line 2, column 1: the file holds no prices"},
        {"dates out of order", "2020-01-02,1\n2020-01-01,1\n", "Close",
         "line 2, column 1: date 2020-01-01 is before the date of line 1; dates must ascend"},
        {"date repeated (CSV)", "Date,Close\n2020-01-02,1\n\n2020-01-02,2\n", "Close",
         "line 4, column 1: date 2020-01-02 is repeated (line 2)"},
        {"not a calendar day", "2020-01-01,1\n2020-02-30,1\n", "Close",
         "line 2, column 1: \"2020-02-30\" is not a date (YYYY-MM-DD, e.g. 2024-05-06)"},
        {"not a date in a CSV column", "Close,Date\n1,01/02/2020\n", "Close",
         "line 2, column 3: \"01/02/2020\" is not a date (YYYY-MM-DD, e.g. 2024-05-06)"},
        {"not a date after the first line", "2020-01-01,1\nJan 2,1\n", "Close",
         "line 2, column 1: \"Jan\" is not a date (YYYY-MM-DD, e.g. 2024-05-06)"},
        {"value not a number", "2020-01-01,1\n2020-01-02,12x5\n", "Close",
         "line 2, column 12: \"12x5\" is not a number"},
        {"value not a number (CSV, its column)", "Date,Open,Close\n2020-01-02,1,one\n", "Close",
         "line 2, column 14: \"one\" is not a number"},
        {"control characters shown, not written",
         std::string("Date,Close\n2020-01-01,1\x1b[2J\x7f\x01\n"), "Close",
         "line 2, column 12: \"1\\x1B[2J\\x7F\\x01\" is not a number"},
        {"value infinite", "2020-01-01,inf\n", "Close",
         "line 1, column 12: \"inf\" is not a number"},
        {"header without the chosen column", "Date,Open,Close\n2020-01-01,1,2\n", "Adj Close",
         "line 1, column 1: the header has no column \"Adj Close\""},
        {"header without a date column", "Day,Close\n2020-01-01,1\n", "Close",
         "line 1, column 1: the first line is neither a dated value (YYYY-MM-DD,value) nor a "
         "header naming a Date column"},
        {"row too short", "Date,Open,Close\n2020-01-01,1\n", "Close",
         "line 2, column 13: the line has 2 fields; the header names 3 or more"},
        {"quote left open", "Date,Close\n\"2020-01-01,1\n", "Close",
         "line 2, column 1: a quote is not closed"},
        {"line too long", "2019-12-31,1\n" + longLine, "Close",
         "line 2, column 1001: the line is longer than 1000 characters"},
        {"index layout without its comma", "2007-01-02,12470\n2007-01-0312474.52\n", "Close",
         "line 2, column 11: a comma must follow the date, not \"1\""},
        {"index layout, another separator", "  2007-01-03;12474.52\n", "Close",
         "line 1, column 13: a comma must follow the date, not \";\""},
        {"the smallest double written out", "2020-01-01," + kTiny + "\n", "Close",
         "line 1, column 12: \"" + kTiny + "\" is outside the prices taken " + kRange},
        {"1e300 written out", "Date,Close\n2020-01-01,1" + std::string(300, '0') + "\n", "Close",
         "line 2, column 12: \"1" + std::string(300, '0') + "\" is outside the prices taken " +
             kRange},
        {"a 20-digit price", "2020-01-01,1\n2020-01-02,99999999999999999999\n", "Close",
         "line 2, column 12: \"99999999999999999999\" is outside the prices taken " + kRange},
        {"just below the range", "2020-01-01,0.000000009\n", "Close",
         "line 1, column 12: \"0.000000009\" is outside the prices taken " + kRange},
        {"below the smallest double", "2020-01-01,0." + std::string(400, '0') + "1\n", "Close",
         "line 1, column 12: \"0." + std::string(400, '0') + "1\" is outside the prices taken " +
             kRange},
        {"a column name with a line end and an escape sequence", "Date,Close\n2020-01-01,1\n",
         "Adj\n\x1b[31mClose",
         "line 1, column 1: the header has no column \"Adj\\n\\x1B[31mClose\""},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        PriceSeries s;
        std::string error;
        EXPECT_FALSE(ParsePriceSeries(c.text, "dir/p.csv", c.column, s, error));
        EXPECT_EQ(error, "price file \"dir/p.csv\", " + c.says);
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    // A line of exactly 1000 characters is still read.
    const std::string limit = "2020-01-01," + std::string(989, '0') + "\n";
    ASSERT_EQ(limit.size(), 1001u);
    PriceSeries s;
    std::string error;
    EXPECT_FALSE(ParsePriceSeries(limit, "p", "Close", s, error));
    EXPECT_EQ(error, "price file \"p\", line 1, column 1: the file holds no prices");
}

// A scratch folder of this test's own, emptied first.
std::string ScratchFolder() {
    const std::filesystem::path p =
        std::filesystem::temp_directory_path() / ("vlt-prices-" + std::to_string(::getpid()));
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
    return p.string() + "/";
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct FileCase {
    const char* what;
    std::string name;                              // in the scratch folder
    std::function<void(const std::string&)> make;  // makes the file of that name
    std::string says;  // the message after the quoted name; "" when read
    std::size_t days = 0;
};

TEST(PriceSeries, FilesOfEveryKindAreReadOrRefusedWithTheirOwnMessage) {
    const std::string dir = ScratchFolder();
    // A CR at the end of one block of the reader and its LF at the start of
    // the next still make one line end: the line after them is line 65515
    // (the header, 65512 blank lines, the first price), not 65516.
    std::string straddling = "Date,Close\n";
    straddling += std::string((1 << 16) - straddling.size() - 13, '\n') + "2020-01-01,1\r";
    ASSERT_EQ(straddling.size(), 1u << 16);
    straddling += "\n2020-01-02,x\r\n";
    const std::vector<FileCase> cases = {
        {"missing", "none.csv", [](const std::string&) {}, "cannot be read"},
        {"a folder", "folder.csv",
         [](const std::string& p) { std::filesystem::create_directory(p); },
         "is a folder, not a file"},
        {"a device", "null.csv",
         [](const std::string& p) { std::filesystem::create_symlink("/dev/null", p); },
         "is a device, not a file"},
        {"a FIFO nobody writes to", "fifo.csv",
         [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "is a pipe that gave no data"},
        {"one byte over the limit (sparse)", "big.csv",
         [](const std::string& p) {
             WriteText(p, "2020-01-01,1\n");
             std::filesystem::resize_file(p, static_cast<std::uintmax_t>(kPriceFileMaxBytes) + 1);
         },
         "is larger than 256 MB (268435456 bytes), the most a price file may hold"},
        {"a byte-order mark", "bom.csv",
         [](const std::string& p) {
             WriteText(p,
                       "\xEF\xBB\xBF"
                       "Date,Close\r\n2020-01-01,1\r\n");
         },
         "", 1},
        {"CR-only line ends", "cr.csv",
         [](const std::string& p) { WriteText(p, "2020-01-01,1\r2020-01-02,2\r2020-01-03,3\r"); },
         "", 3},
        {"CR LF split between two blocks", "straddle.csv",
         [&](const std::string& p) { WriteText(p, straddling); },
         ", line 65515, column 12: \"x\" is not a number"},
        {"a name with a line end and an escape sequence", "a\nb\x1b[2J.csv",
         [](const std::string& p) { WriteText(p, "Date,Open\n"); },
         ", line 1, column 1: the header has no column \"Close\""},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir + c.name;
        c.make(path);
        PriceSeries s;
        std::string error;
        const bool read = LoadPriceSeries(path, "Close", s, error);
        EXPECT_EQ(read, c.says.empty()) << error;
        if (read) {
            EXPECT_EQ(s.days.size(), c.days);
            EXPECT_EQ(s.name, path);
            continue;
        }
        const std::string shown = "price file \"" + EscapedForOneLine(path) + "\"";
        EXPECT_EQ(error, shown + (c.says.front() == ',' ? "" : " ") + c.says);
        EXPECT_EQ(error.find_first_of("\n\x1b"), std::string::npos);
    }
    std::filesystem::remove_all(dir);
}

TEST(PriceSeries, PipeWithDataIsRead) {
    // What a shell's process substitution hands over: /dev/fd/N of a pipe.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string text =
        "\xEF\xBB\xBF"
        "Date,Close\r2020-01-01,1\r2020-01-02,2\r";
    ASSERT_EQ(::write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fds[1]);
    PriceSeries s;
    std::string error;
    EXPECT_TRUE(LoadPriceSeries("/dev/fd/" + std::to_string(fds[0]), "Close", s, error)) << error;
    EXPECT_EQ(s.values, (std::vector<double>{1, 2}));
    ::close(fds[0]);
}

TEST(PriceSeries, DayTakesItsOwnValueElseTheNextFourDays) {
    // Fri 2020-01-03 = 3, weekend missing, Mon 2020-01-06 = 6, Tue no trading,
    // then nothing until Tue 2020-01-14.
    const std::string text = "Date,Close\n2020-01-03,3\n2020-01-06,6\n2020-01-07,\n2020-01-14,14\n";
    PriceSeries s;
    std::string error;
    ASSERT_TRUE(ParsePriceSeries(text, "p", "Close", s, error)) << error;
    const std::int32_t jan = GregorianDayNumber(2020, 1, 1) - 1;  // day of "January 0"
    const struct {
        int day;
        bool found;
        double value;
    } expect[] = {{1, true, 3},   {2, true, 3},   {3, true, 3},   {4, true, 6},   {5, true, 6},
                  {6, true, 6},   {7, false, 0},  {8, false, 0},  {9, false, 0},  {10, true, 14},
                  {13, true, 14}, {14, true, 14}, {15, false, 0}, {-30, false, 0}};
    for (const auto& e : expect) {
        SCOPED_TRACE(e.day);
        double v = -1;
        EXPECT_EQ(PriceValueForDay(s, jan + e.day, v), e.found);
        if (e.found) {
            EXPECT_DOUBLE_EQ(v, e.value);
        }
    }
}

TEST(PriceSeries, DayNumbersAgreeWithTheDateFormatter) {
    // Every day from 1600 to 2400 round-trips through the program's own
    // formatter, and consecutive dates are consecutive numbers.
    std::int32_t previous = GregorianDayNumber(1599, 12, 31);
    for (int y = 1600; y <= 2400; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= 31; ++d) {
                char text[16];
                std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
                PriceSeries s;
                std::string error;
                const bool ok =
                    ParsePriceSeries(std::string(text) + ",1\n", "p", "Close", s, error);
                if (!ok) continue;  // not a calendar day
                ASSERT_EQ(s.days[0], previous + 1) << text;
                ASSERT_EQ(DateOf(s.days[0]), text);
                previous = s.days[0];
            }
        }
    }
    EXPECT_EQ(GregorianDayNumber(2007, 1, 3), 2454104);
    EXPECT_EQ(GregorianDayNumber(2014, 12, 31), 2457023);
}

}  // namespace
}  // namespace vlt
