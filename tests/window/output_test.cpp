// The output box and writing it to a file.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "app/window/control_names.h"
#include "app/window/output_file.h"
#include "tests/window/window_fixture.h"

namespace vlt::testing {
namespace {

std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class OutputTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Start();
        files_ = FreshFolder("out");
    }
    void TearDown() override {
        std::filesystem::permissions(files_, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(files_);
        WindowTest::TearDown();
    }
    std::filesystem::path files_;
};

TEST(Latin1, DegreeSignIsOneByte) {
    struct Case {
        std::string utf8;
        std::string latin1;
    } cases[] = {
        {"10\xC2\xB0", "10\xB0"},
        {"plain", "plain"},
        {"M\xC3\xA4rz", "M\xE4rz"},
        {"\xE2\x82\xAC", "?"},        // euro sign: not in the set
        {"\xF0\x9F\x98\x80!", "?!"},  // outside the basic plane
        {"a\xB0z", "a\xB0z"},         // a stray byte stays a byte
        {"\xC2", "\xC2"},             // truncated sequence
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8ToLatin1(c.utf8), c.latin1) << c.utf8;
}

TEST_F(OutputTest, AppendingKeepsTheCaretAtTheEnd) {
    window.Output().Append("a\r\n");
    window.Output().Append("b\r\n");
    EXPECT_EQ(window.OutputText(), "a\r\nb\r\n");
    EXPECT_EQ(ui.Text(ctl::txbOutput), "a\r\nb\r\n");
    window.Output().Clear();
    EXPECT_EQ(ui.Text(ctl::txbOutput), "");
}

TEST_F(OutputTest, FileGetsTheTrimmedTextWithCrLfAndOneByteDegrees) {
    const auto path = files_ / "report.txt";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000, 'x');  // replaced, never appended to
    }
    window.Output().Append("   Aspect | Start 10\xC2\xB0\r\nConjunction | 2024-05-05\r\n   ");
    ui.Tick();
    ui.ScriptFileDialog(path.string());
    ui.ExpectBox("Output written to file " + path.string());
    ui.Click(Ctl(ctl::cmdFile, 0));
    EXPECT_EQ(ReadBytes(path), "Aspect | Start 10\xB0\r\nConjunction | 2024-05-05\r\n\r\n");
    EXPECT_EQ(ui.Text(ctl::txbOutput), "Aspect | Start 10\xC2\xB0\r\nConjunction | 2024-05-05\r\n");
    EXPECT_EQ(ui.Boxes().at(0).title, "Done");
    EXPECT_EQ(ui.Boxes().at(0).icon, MsgIcon::Information);
    EXPECT_EQ(ui.DialogTitles(), std::vector<std::string>{"Specify output file"});
}

TEST_F(OutputTest, BlankOutputHasNothingToWrite) {
    window.Output().Append("     ");
    ui.Tick();
    ui.ExpectBox("Nothing to write.");
    ui.Click(Ctl(ctl::cmdFile, 0));
    EXPECT_EQ(ui.Text(ctl::txbOutput), "");
    EXPECT_EQ(ui.Boxes().at(0).title, "Write output to file");
    EXPECT_EQ(ui.Boxes().at(0).icon, MsgIcon::Exclamation);
    EXPECT_TRUE(ui.DialogTitles().empty());
}

TEST_F(OutputTest, CancelledDialogWritesNothing) {
    window.Output().Append("text\r\n");
    ui.Tick();
    ui.ScriptFileDialog("");
    ui.Click(Ctl(ctl::cmdFile, 0));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(window.OutputText(), "text\r\n");
}

TEST_F(OutputTest, WriteFailuresAreReportedAndTheBoxKeepsItsText) {
    std::vector<std::string> targets = {(files_ / "no" / "such" / "folder.txt").string(),
                                        files_.string()};  // a folder, not a file
    if (std::filesystem::exists("/dev/full")) targets.push_back("/dev/full");
    if (::geteuid() != 0) {  // permissions do not hold back the superuser
        const auto locked = files_ / "locked.txt";
        std::ofstream(locked) << "old";
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
        targets.push_back(locked.string());
    }
    window.Output().Append("Conjunction\r\n");
    ui.Tick();
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        const std::string error = WriteOutputFile(target, "x");
        ASSERT_FALSE(error.empty());
        ui.ClearBoxes();
        ui.ScriptFileDialog(target);
        ui.ExpectBox("Error writing to file " + target + "\n" + error);
        ui.Click(Ctl(ctl::cmdFile, 0));
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_EQ(ui.Boxes()[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(ui.Boxes()[0].title, "Write output to file");
        EXPECT_EQ(window.OutputText(), "Conjunction\r\n");
    }
}

// The file is replaced at once: a link at the chosen name is replaced by the
// report (the file it pointed to keeps its text), a dangling one too.
TEST_F(OutputTest, LinkAtTheChosenNameIsReplacedNotFollowed) {
    std::ofstream(files_ / "notes.txt") << "notes";
    std::filesystem::create_symlink("notes.txt", files_ / "link.txt");
    std::filesystem::create_symlink("nowhere.txt", files_ / "dangling.txt");
    window.Output().Append("Conjunction\r\n");
    ui.Tick();
    for (const char* name : {"link.txt", "dangling.txt"}) {
        SCOPED_TRACE(name);
        const auto path = files_ / name;
        ui.ClearBoxes();
        ui.ScriptFileDialog(path.string());
        ui.ExpectBox("Output written to file " + path.string());
        ui.Click(Ctl(ctl::cmdFile, 0));
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
        EXPECT_EQ(ReadBytes(path), "Conjunction\r\n\r\n");
    }
    EXPECT_EQ(ReadBytes(files_ / "notes.txt"), "notes");
    EXPECT_FALSE(std::filesystem::exists(files_ / "nowhere.txt"));
}

TEST_F(OutputTest, OpeningTheWrittenFile) {
    const auto path = files_ / "open.txt";
    window.Output().Append("x\r\n");
    ui.Tick();
    ui.Click(ctl::chkOpenOutputFile);
    EXPECT_EQ(ui.Focus(), Ctl(ctl::cmdFile, 0));
    ui.ScriptFileDialog(path.string());
    ui.Click(Ctl(ctl::cmdFile, 0));
    EXPECT_EQ(ui.OpenedFiles(), std::vector<std::string>{path.string()});
    EXPECT_TRUE(ui.Boxes().empty());
    ui.SetOpenResult(false);
    ui.ScriptFileDialog(path.string());
    ui.ExpectBox("Error when opening file " + path.string() + ".");
    ui.Click(Ctl(ctl::cmdFile, 0));
    EXPECT_EQ(ui.Boxes().at(0).title, "Error");
    EXPECT_EQ(ReadBytes(path), "x\r\n\r\n");
}

TEST_F(OutputTest, OutputCheckBoxesMoveTheFocusOnlyOnceLoaded) {
    TestServices s;
    MemoryUi u;
    MainWindow w(u, s);
    u.Attach(&w);
    u.SetFocus(ctl::txbOutput);
    u.Click(ctl::chkOpenOutputFile);  // before the start-up: no focus move
    u.Click(ctl::chkAppendToOutput);
    EXPECT_EQ(u.Focus(), Ctl(ctl::txbOutput));
    ui.SetFocus(ctl::txbOutput);
    window.Output().Append("x");
    ui.Tick();
    ui.Click(ctl::chkAppendToOutput);
    EXPECT_EQ(ui.Focus(), Ctl(ctl::cmdStart));
    EXPECT_TRUE(window.AppendChecked());
    window.EnterBusyState(RunKind::Transit);  // cmdStart disabled: no move
    ui.SetEnabled(ctl::chkAppendToOutput, true);
    ui.SetFocus(ctl::txbOutput);
    window.Control().ClearPause();
    ui.SetEnabled(ctl::cmdStart, false);
    ui.Click(ctl::chkAppendToOutput);
    EXPECT_EQ(ui.Focus(), Ctl(ctl::txbOutput));
}

}  // namespace
}  // namespace vlt::testing

namespace vlt::testing {
namespace {

// The "Chart" button: disabled until the last run left something to draw,
// opening the chart on a click, kept in the bottom row when the window is
// resized, and out of the way of the row's other controls.
TEST_F(OutputTest, ChartButtonFollowsWhatThereIsToDraw) {
    bool drawable = false;
    int opened = 0;
    window.SetChartHandlers([&drawable] { return drawable; }, [&opened] { ++opened; });
    ui.Tick();
    EXPECT_FALSE(ui.Enabled(ctl::cmdChart));
    EXPECT_EQ(ui.Text(ctl::cmdChart), "Chart");

    drawable = true;
    ui.Tick();
    EXPECT_TRUE(ui.Enabled(ctl::cmdChart));
    ui.Click(ctl::cmdChart);
    EXPECT_EQ(opened, 1);

    drawable = false;
    ui.Tick();
    EXPECT_FALSE(ui.Enabled(ctl::cmdChart));

    const Rect chart = ui.Geometry(ctl::cmdChart);
    for (const Ctl& c :
         {Ctl(ctl::chkOpenOutputFile), Ctl(ctl::cmdSaveState), Ctl(ctl::cmdFile, 0)}) {
        const Rect r = ui.Geometry(c);
        EXPECT_TRUE(chart.left >= r.left + r.width || r.left >= chart.left + chart.width)
            << c.ToString();
    }
    ui.ResizeWindow(ui.Geometry(ctl::frmMain).width, ui.Geometry(ctl::frmMain).height + 3000);
    EXPECT_EQ(ui.Geometry(ctl::cmdChart).top, ui.Geometry(Ctl(ctl::cmdFile, 0)).top);
}

}  // namespace
}  // namespace vlt::testing
