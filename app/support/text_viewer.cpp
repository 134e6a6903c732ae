#include "app/support/text_viewer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>
#include <sstream>
#include <utility>

namespace vlt {
namespace {

constexpr const char* kCopyAll = "Copy to clipboard";
constexpr const char* kCopySelected = "Copy selected text to clipboard";
constexpr int kCopyAllWidth = 3270;
constexpr int kCopySelectedWidth = 4425;

// Anything larger is not a text to be viewed whole.
constexpr off_t kViewerMaxFileBytes = off_t{64} << 20;

// The whole file as it is on disk; false when it cannot be opened or read.
// Only a regular file of a sane size is read, opened without waiting: a FIFO
// or a device such as /dev/zero in its place must not hang the window or
// fill the memory.
bool ReadWholeFile(const std::string& path, std::string& content) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kViewerMaxFileBytes) {
        ::close(fd);
        return false;
    }
    std::string text;
    char block[1 << 14];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        text.append(block, static_cast<std::size_t>(n));
        if (static_cast<off_t>(text.size()) > kViewerMaxFileBytes) break;
    }
    ::close(fd);
    if (!ok) return false;
    content = std::move(text);
    return true;
}

}  // namespace

std::string ViewerHeadNote() {
    return "NOTE: This file is too large to display entirely in this textbox.\r\n"
           "To view the entire contents of the file load it into NotePad,\r\n"
           "WordPad or some other text editor.\r\n\r\n";
}

std::string ViewerTailNote() {
    return "NOTE: Entire contents of file have not been displayed.\r\n";
}

std::string ViewerText(const std::string& content) {
    if (content.size() < kViewerLimit) return content;
    const std::string head = ViewerHeadNote();
    const std::string tail = ViewerTailNote();
    const std::size_t keep = kViewerLimit - head.size() - tail.size();
    return head + content.substr(0, keep) + "\r\n\r\n" + tail;
}

void TextViewer::SetCopy(const std::string& caption, int width) {
    copyCaption_ = caption;
    copyWidth_ = width;
    surface_.SetCopyButton(caption, width, !hideCopy_, !hideCopy_);
}

void TextViewer::Activate() {
    if (loaded_) return;
    surface_.SetCloseCaption("Close");
    text_.clear();
    surface_.SetText(text_);
    SetCopy(kCopyAll, kCopyAllWidth);
    surface_.SetLocked(true);
    Resize();
    std::string content;
    if (ReadWholeFile(path_, content)) {
        text_ = ViewerText(content);
        surface_.SetText(text_);
    }
    surface_.CaretToStart();
    surface_.Repaint();
    loaded_ = true;
}

void TextViewer::MouseUpOnText() {
    if (hideCopy_) return;
    if (surface_.SelectedText().empty()) {
        SetCopy(kCopyAll, kCopyAllWidth);
    } else {
        SetCopy(kCopySelected, kCopySelectedWidth);
    }
}

void TextViewer::CopyClicked() {
    if (!text_.empty()) {
        const std::string selected = surface_.SelectedText();
        surface_.SetClipboard(selected.empty() ? text_ : selected);
        SetCopy(kCopyAll, kCopyAllWidth);
    }
    surface_.FocusClose();
}

void TextViewer::Resize() {
    if (surface_.Minimised()) return;
    int width = surface_.WindowWidth();
    int height = surface_.WindowHeight();
    if (width < kMinWidth || height < kMinHeight) {
        width = width < kMinWidth ? kMinWidth : width;
        height = height < kMinHeight ? kMinHeight : height;
        surface_.SetWindowSize(width, height);
    }
    surface_.SetTextBoxSize(width - 450, height - 1200);
    surface_.SetButtonsTop(height - 1200 + 150);
}

}  // namespace vlt
