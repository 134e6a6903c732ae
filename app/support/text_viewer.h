#pragma once
// The text viewer: shows a text file read-only with a Close button and a
// copy-to-clipboard button.  The rules (what is shown, the size limit and its
// notes, the copy button's captions, the copy itself, the minimum size) live
// here; the screen is behind ViewerSurface.  Geometry in twips.  Line breaks
// are CR LF inside the texts this module builds.

#include <cstddef>
#include <string>

namespace vlt {

// The box shows at most this many characters of a file.
inline constexpr std::size_t kViewerLimit = 65530;

std::string ViewerHeadNote();
std::string ViewerTailNote();

// What the box shows for a file's content: the content itself when it is
// shorter than the limit, else the head note, as much of the content as fits,
// two line breaks and the tail note.
std::string ViewerText(const std::string& content);

class ViewerSurface {
public:
    virtual ~ViewerSurface() = default;
    virtual void SetCloseCaption(const std::string& caption) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetCopyButton(const std::string& caption, int width, bool visible,
                               bool enabled) = 0;
    virtual void SetLocked(bool locked) = 0;
    virtual void CaretToStart() = 0;
    virtual void Repaint() = 0;
    virtual std::string SelectedText() const = 0;
    virtual void SetClipboard(const std::string& text) = 0;  // replaces its content
    virtual void FocusClose() = 0;
    virtual bool Minimised() const = 0;
    virtual int WindowWidth() const = 0;
    virtual int WindowHeight() const = 0;
    virtual void SetWindowSize(int width, int height) = 0;
    // The text box's size and the top of the row of buttons below it.
    virtual void SetTextBoxSize(int width, int height) = 0;
    virtual void SetButtonsTop(int top) = 0;
};

class TextViewer {
public:
    explicit TextViewer(ViewerSurface& surface) : surface_(surface) {}

    void SetFile(const std::string& path) { path_ = path; }
    void SetHideCopy(bool hide) { hideCopy_ = hide; }

    // The window became active: reads and shows the file unless it is loaded.
    void Activate();
    // Close button or the window's close box.
    void Close() { loaded_ = false; }
    // Mouse button released over the text.
    void MouseUpOnText();
    void CopyClicked();
    void Resize();

    bool Loaded() const { return loaded_; }
    const std::string& Text() const { return text_; }
    const std::string& CopyCaption() const { return copyCaption_; }
    int CopyWidth() const { return copyWidth_; }

    static constexpr int kMinWidth = 8000;
    static constexpr int kMinHeight = 2000;

private:
    void SetCopy(const std::string& caption, int width);

    ViewerSurface& surface_;
    std::string path_;
    bool hideCopy_ = false;
    bool loaded_ = false;
    std::string text_;
    std::string copyCaption_ = "Copy to clipboard";
    int copyWidth_ = 3270;
};

}  // namespace vlt
