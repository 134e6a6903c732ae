// The text viewer: the size limit and its notes, copying, reloading.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/support/text_viewer.h"

namespace vlt {
namespace {

class FakeViewer : public ViewerSurface {
public:
    std::string text;
    std::string closeCaption;
    std::string copyCaption;
    int copyWidth = 0;
    bool copyVisible = true;
    bool copyEnabled = true;
    bool locked = false;
    std::string selection;
    std::string clipboard = "untouched";
    bool focusOnClose = false;
    int width = 9000;
    int height = 6000;
    int boxWidth = 0;
    int boxHeight = 0;
    int buttonsTop = 0;
    int textSets = 0;

    void SetCloseCaption(const std::string& c) override { closeCaption = c; }
    void SetText(const std::string& t) override {
        text = t;
        ++textSets;
    }
    void SetCopyButton(const std::string& c, int w, bool visible, bool enabled) override {
        copyCaption = c;
        copyWidth = w;
        copyVisible = visible;
        copyEnabled = enabled;
    }
    void SetLocked(bool l) override { locked = l; }
    void CaretToStart() override {}
    void Repaint() override {}
    std::string SelectedText() const override { return selection; }
    void SetClipboard(const std::string& t) override { clipboard = t; }
    void FocusClose() override { focusOnClose = true; }
    bool Minimised() const override { return false; }
    int WindowWidth() const override { return width; }
    int WindowHeight() const override { return height; }
    void SetWindowSize(int w, int h) override {
        width = w;
        height = h;
    }
    void SetTextBoxSize(int w, int h) override {
        boxWidth = w;
        boxHeight = h;
    }
    void SetButtonsTop(int t) override { buttonsTop = t; }
};

class TextViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                ("vlt-viewer-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 "-" + std::to_string(::getpid()) + ".txt");
    }
    void TearDown() override { std::filesystem::remove(path_); }
    void Write(const std::string& content) {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << content;
    }
    std::filesystem::path path_;
};

std::string Pattern(std::size_t n) {
    std::string s;
    s.reserve(n);
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

TEST_F(TextViewerTest, LimitAndNotes) {
    const std::string head = ViewerHeadNote();
    const std::string tail = ViewerTailNote();
    EXPECT_EQ(head,
              "NOTE: This file is too large to display entirely in this textbox.\r\n"
              "To view the entire contents of the file load it into NotePad,\r\n"
              "WordPad or some other text editor.\r\n\r\n");
    EXPECT_EQ(tail, "NOTE: Entire contents of file have not been displayed.\r\n");
    struct Case {
        std::size_t size;
        bool whole;
    } cases[] = {{0, true},      {100, true},    {65529, true},
                 {65530, false}, {65531, false}, {200000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string content = Pattern(c.size);
        const std::string shown = ViewerText(content);
        if (c.whole) {
            EXPECT_EQ(shown, content);
            continue;
        }
        const std::size_t kept = 65530 - head.size() - tail.size();
        EXPECT_EQ(shown.size(), 65530u + 4u);  // the limit plus two line breaks
        EXPECT_EQ(shown.substr(0, head.size()), head);
        EXPECT_EQ(shown.substr(head.size(), kept), content.substr(0, kept));
        EXPECT_EQ(shown.substr(head.size() + kept, 4), "\r\n\r\n");
        EXPECT_EQ(shown.substr(shown.size() - tail.size()), tail);
    }
}

TEST_F(TextViewerTest, ShowsTheFileWithTheCopyButtonRules) {
    Write("Help line 1\r\nHelp line 2\r\n");
    FakeViewer s;
    TextViewer v(s);
    v.SetFile(path_.string());
    v.Activate();
    EXPECT_EQ(s.text, "Help line 1\r\nHelp line 2\r\n");
    EXPECT_EQ(s.closeCaption, "Close");
    EXPECT_EQ(s.copyCaption, "Copy to clipboard");
    EXPECT_EQ(s.copyWidth, 3270);
    EXPECT_TRUE(s.copyVisible);
    EXPECT_TRUE(s.locked);
    EXPECT_TRUE(v.Loaded());
    // Selection feedback.
    s.selection = "line 2";
    v.MouseUpOnText();
    EXPECT_EQ(s.copyCaption, "Copy selected text to clipboard");
    EXPECT_EQ(s.copyWidth, 4425);
    v.CopyClicked();
    EXPECT_EQ(s.clipboard, "line 2");
    EXPECT_EQ(s.copyCaption, "Copy to clipboard");
    EXPECT_EQ(s.copyWidth, 3270);
    EXPECT_TRUE(s.focusOnClose);
    s.selection.clear();
    v.MouseUpOnText();
    EXPECT_EQ(s.copyCaption, "Copy to clipboard");
    v.CopyClicked();
    EXPECT_EQ(s.clipboard, "Help line 1\r\nHelp line 2\r\n");
}

TEST_F(TextViewerTest, CopyWithoutSelectionTakesTheNotesToo) {
    Write(Pattern(70000));
    FakeViewer s;
    TextViewer v(s);
    v.SetFile(path_.string());
    v.Activate();
    v.CopyClicked();
    EXPECT_EQ(s.clipboard, ViewerText(Pattern(70000)));
    EXPECT_EQ(s.clipboard.rfind(ViewerTailNote()), s.clipboard.size() - ViewerTailNote().size());
}

TEST_F(TextViewerTest, ReadsAgainOnlyAfterClosing) {
    Write("first");
    FakeViewer s;
    TextViewer v(s);
    v.SetFile(path_.string());
    v.Activate();
    EXPECT_EQ(s.text, "first");
    Write("second");
    v.Activate();  // active again while open: no reading
    EXPECT_EQ(s.text, "first");
    v.Close();
    EXPECT_FALSE(v.Loaded());
    v.Activate();
    EXPECT_EQ(s.text, "second");
}

TEST_F(TextViewerTest, MissingFileLeavesTheBoxEmpty) {
    FakeViewer s;
    s.text = "stale";
    TextViewer v(s);
    v.SetFile((path_.string() + ".missing"));
    v.Activate();
    EXPECT_EQ(s.text, "");
    v.CopyClicked();  // nothing to copy: the clipboard is left alone
    EXPECT_EQ(s.clipboard, "untouched");
    EXPECT_TRUE(s.focusOnClose);
}

// A FIFO or a device in the help file's place is not read: the window
// neither waits for a writer nor reads without end.
TEST_F(TextViewerTest, OnlyARegularFileIsRead) {
    for (bool fifo : {true, false}) {
        std::filesystem::remove(path_);
        if (fifo) {
            ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
        } else {
            std::filesystem::create_symlink("/dev/zero", path_);
        }
        FakeViewer s;
        s.text = "stale";
        TextViewer v(s);
        v.SetFile(path_.string());
        v.Activate();
        EXPECT_EQ(s.text, "") << fifo;
    }
}

TEST_F(TextViewerTest, HiddenCopyButtonStaysHidden) {
    Write("text");
    FakeViewer s;
    TextViewer v(s);
    v.SetFile(path_.string());
    v.SetHideCopy(true);
    v.Activate();
    EXPECT_FALSE(s.copyVisible);
    EXPECT_FALSE(s.copyEnabled);
    s.selection = "te";
    v.MouseUpOnText();
    EXPECT_EQ(s.copyCaption, "Copy to clipboard");
    EXPECT_FALSE(s.copyVisible);
}

TEST_F(TextViewerTest, ResizeKeepsTheMinimumAndFitsTheBox) {
    FakeViewer s;
    TextViewer v(s);
    struct Case {
        int w, h, expectW, expectH;
    } cases[] = {{9000, 6000, 9000, 6000}, {5000, 6000, 8000, 6000}, {9000, 1000, 9000, 2000}};
    for (const Case& c : cases) {
        s.width = c.w;
        s.height = c.h;
        v.Resize();
        EXPECT_EQ(s.width, c.expectW);
        EXPECT_EQ(s.height, c.expectH);
        EXPECT_EQ(s.boxWidth, c.expectW - 450);
        EXPECT_EQ(s.boxHeight, c.expectH - 1200);
        EXPECT_GT(s.buttonsTop, s.boxHeight);
    }
}

}  // namespace
}  // namespace vlt
