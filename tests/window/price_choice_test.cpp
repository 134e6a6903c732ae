// The window's price choice: a file read by the same reader as --prices (its
// messages word for word), the span shown and used, the simulation enabled
// from either centre only with a file, and the choice kept in the saved state
// (settings from before price files restore the built-in index silently).
#include <fstream>

#include "app/simulation/price_series.h"
#include "app/window/control_names.h"
#include "app/window/price_choice.h"
#include "tests/window/window_fixture.h"

namespace vlt::testing {
namespace {

class PriceChoiceTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window.UsePrices(&prices);
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // The reader's own message for a file, the one the window must show.
    static std::string ReaderMessage(const std::string& path, const std::string& column) {
        PriceSeries series;
        std::string error;
        EXPECT_FALSE(LoadPriceSeries(path, column, series, error));
        return error;
    }
    IndexData index;
    PriceChoice prices{index};
};

constexpr const char* kCsv =
    "Date,Open,Close,Adj Close\n"
    "2011-03-01,10,11,21\n"
    "2011-03-02,10,12,22\n"
    "2011-03-04,10,13,23\n"
    "2011-03-07,10,14,24\n";

TEST_F(PriceChoiceTest, FilesAreReadAsThePricesOptionReadsThem) {
    const std::string csv = Write("quotes.csv", kCsv);
    const std::string index = Write("index.txt", "2011-03-01,100\n2011-03-02\n2011-03-03,103\n");
    struct Case {
        std::string path;
        std::string column;
        std::int32_t day;  // asked for
        double value;      // its value: that day's, else the next four days'
        std::string caption;
    } cases[] = {
        {csv, "", GregorianDayNumber(2011, 3, 3), 13.0, "quotes.csv, 2011-03-01 to 2011-03-07"},
        {csv, "Adj Close", GregorianDayNumber(2011, 3, 1), 21.0,
         "quotes.csv, 2011-03-01 to 2011-03-07"},
        {index, "", GregorianDayNumber(2011, 3, 2), 103.0, "index.txt, 2011-03-01 to 2011-03-03"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " " + c.column);
        ASSERT_TRUE(prices.Choose(c.path, c.column, ui));
        EXPECT_TRUE(prices.FileChosen());
        EXPECT_EQ(prices.Caption(), c.caption);
        double value = 0.0;
        ASSERT_TRUE(prices.ValueForDay(c.day, value));
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(prices.FirstDay(), GregorianDayNumber(2011, 3, 1));
        EXPECT_EQ(prices.SourceName(), c.path);
    }
    prices.ChooseBuiltIn();
    EXPECT_EQ(prices.Caption(), "DJIA (built in)");
    EXPECT_EQ(prices.FirstDay(), kIndexFirstDay);
    EXPECT_EQ(prices.LastDay(), kIndexLastDay);
}

TEST_F(PriceChoiceTest, AFileThatCannotBeReadIsSaidSoAndTheChoiceStays) {
    const std::string good = Write("good.csv", kCsv);
    ASSERT_TRUE(prices.Choose(good, "", ui));
    const std::string bad = Write("bad.csv", "Date,Close\n2011-03-01,ten\n");
    struct Case {
        std::string path;
        std::string column;
    } cases[] = {
        {bad, ""},
        {good, "Volume"},
        {(folder_ / "missing.csv").string(), ""},
        {folder_.string(), ""},  // a folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " " + c.column);
        const std::string expected =
            ReaderMessage(c.path, c.column.empty() ? kDefaultPriceColumn : c.column);
        ui.ExpectBox(expected);
        EXPECT_FALSE(prices.Choose(c.path, c.column, ui));
        EXPECT_EQ(ui.Boxes().back().title, "Prices");
        EXPECT_EQ(prices.Path(), good);
    }
}

TEST_F(PriceChoiceTest, AChosenFileLetsTheWindowSimulateFromTheEarth) {
    Start();
    ui.Click(ctl::optGeocentric);
    EXPECT_FALSE(ui.Enabled(ctl::cmdSimulateInvestment));
    EXPECT_EQ(ui.Text(ctl::lblPrices), "DJIA (built in)");
    ASSERT_TRUE(prices.Choose(Write("q.csv", kCsv), "", ui));
    window.PricesChanged();
    EXPECT_EQ(ui.Text(ctl::lblPrices), "q.csv, 2011-03-01 to 2011-03-07");
    EXPECT_TRUE(ui.Enabled(ctl::cmdSimulateInvestment));
    EXPECT_TRUE(ui.Enabled(ctl::chkIncludeTransitDetails));
    ui.Click(ctl::cmdSimulateInvestment);
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"Simulate"});
    EXPECT_FALSE(window.Snapshot().heliocentric);
    prices.ChooseBuiltIn();
    window.PricesChanged();
    EXPECT_FALSE(ui.Enabled(ctl::cmdSimulateInvestment));
    ui.Click(ctl::optHeliocentric);
    EXPECT_TRUE(ui.Enabled(ctl::cmdSimulateInvestment));
}

TEST_F(PriceChoiceTest, TheChoiceIsKeptWithTheSavedState) {
    const std::string path = Write("kept.csv", kCsv);
    Start();
    ASSERT_TRUE(prices.Choose(path, "Adj Close", ui));
    window.PricesChanged();
    ui.Click(ctl::cmdSaveState);
    std::string stored;
    ASSERT_TRUE(GetStringSetting("\\VLT", "PriceFile", stored, false, ""));
    EXPECT_EQ(stored, path);
    ASSERT_TRUE(GetStringSetting("\\VLT", "PriceColumn", stored, false, ""));
    EXPECT_EQ(stored, "Adj Close");

    TestServices services2;
    MemoryUi ui2;
    MainWindow window2(ui2, services2);
    PriceChoice prices2(index);
    ui2.Attach(&window2);
    window2.UsePrices(&prices2);
    window2.StartUp();
    EXPECT_TRUE(prices2.FileChosen());
    EXPECT_EQ(prices2.Column(), "Adj Close");
    EXPECT_EQ(ui2.Text(ctl::lblPrices), "kept.csv, 2011-03-01 to 2011-03-07");
    double value = 0.0;
    ASSERT_TRUE(prices2.ValueForDay(GregorianDayNumber(2011, 3, 2), value));
    EXPECT_EQ(value, 22.0);
    EXPECT_TRUE(ui2.Boxes().empty());

    // A file gone since is said so once, and the index serves.
    std::filesystem::remove(path);
    MemoryUi ui3;
    MainWindow window3(ui3, services2);
    PriceChoice prices3(index);
    ui3.Attach(&window3);
    window3.UsePrices(&prices3);
    ui3.ExpectBox(ReaderMessage(path, "Adj Close"));
    window3.StartUp();
    EXPECT_FALSE(prices3.FileChosen());
    EXPECT_EQ(ui3.Text(ctl::lblPrices), "DJIA (built in)");
}

TEST_F(PriceChoiceTest, SettingsFromBeforePriceFilesRestoreTheIndex) {
    // Every key an earlier version saved, none of the price keys.
    ASSERT_TRUE(SaveStringSetting("\\VLT", "StateSaved", "Y", false));
    ASSERT_TRUE(SaveStringSetting("\\VLT", "Geocentric", "N", false));
    Start();
    EXPECT_FALSE(prices.FileChosen());
    EXPECT_EQ(ui.Text(ctl::lblPrices), "DJIA (built in)");
    EXPECT_TRUE(ui.Enabled(ctl::cmdSimulateInvestment));
    EXPECT_TRUE(ui.Boxes().empty());
}

}  // namespace
}  // namespace vlt::testing
