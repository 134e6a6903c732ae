#pragma once
// What a long-running command (transit tables, search, show-all, investment
// simulation) needs from the main window while it runs.  The window
// implements it; tests implement it in memory; the headless report command
// implements it without a screen.  Commands never touch controls directly.

#include <cstddef>
#include <string>

#include "app/support/message_box.h"

namespace vlt {

// The multi-line output box (`txbOutput`).  Line ends inside the text are
// CR LF, as the box holds them.
//
// The commands ask the box itself whether it is empty and whether it has
// grown past their size limit.  The window's box keeps its text and answers
// from it; an output that sends every piece on as it comes (vlt-report's
// standard output) keeps no text and has no size limit.
// The line break of the output box and of every report written into it.
inline constexpr const char* kLineBreak = "\r\n";

// The caption of a command's button while its run is under way.
inline constexpr const char* kPauseCaption = "Pause";

class OutputBox {
public:
    virtual ~OutputBox() = default;
    // The text the box holds (none for an output that passes it on).
    virtual const std::string& Text() const = 0;
    virtual void Append(const std::string& text) = 0;
    virtual void Clear() = 0;
    virtual void MoveCaretToEnd() = 0;
    virtual void Refresh() = 0;

    // Nothing written since the last Clear.
    virtual bool Empty() const { return Text().empty(); }

    // Whether the text is longer than `characters` characters (UTF-8
    // sequences count once).  A text of no more bytes than that cannot be,
    // so the characters are only counted near the limit.
    virtual bool LongerThan(std::size_t characters) const {
        const std::string& text = Text();
        if (text.size() <= characters) return false;
        std::size_t n = 0;
        for (char c : text) {
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++n > characters) return true;
        }
        return false;
    }
};

class RunHost {
public:
    virtual ~RunHost() = default;

    virtual OutputBox& Output() = 0;
    virtual MessageBoxes& Boxes() = 0;

    // Busy state: every control disabled but the command's own button (now
    // captioned "Pause"), `cmdQuit` and the output box.
    virtual void EnterBusyState(bool simulation) = 0;
    virtual void LeaveBusyState() = 0;

    // Lets pending user-interface events run (a click on "Pause" sets the
    // pause request).  Called once per time step.
    virtual void YieldToEvents() = 0;

    // Plain flags of the window object.
    virtual bool PauseRequested() const = 0;
    virtual void SetPauseRequested(bool on) = 0;
    virtual bool StopRequested() const = 0;  // ends a show-all series
    virtual void SetStopRequested(bool on) = 0;
    // The user quit the program while the run was under way: the run ends
    // at its next step, without asking, and returns to the event loop.
    virtual bool QuitRequested() const { return false; }

    // Captions.  `cmdStart`'s caption store holds the planet pair.
    virtual std::string WindowCaption() const = 0;
    virtual std::string StartCaption() const = 0;
    virtual void RestoreStartCaption() = 0;
    virtual void SetSimulateCaption(const std::string& caption) = 0;

    // `chkAppendToOutput`.
    virtual bool AppendChecked() const = 0;
    virtual void SetAppendChecked(bool checked) = 0;
    virtual void ShowAppendCheckBox(bool visible) = 0;

    // Long commands move and size the window to the run geometry (top 300,
    // height 9000 twips) when it is neither minimised nor maximised.
    virtual void ApplyRunGeometry() = 0;
    // After a run that left the output empty: minimum height and layout.
    virtual void ShrinkToMinimumHeight() = 0;

    // The transient notice ("Done") placed relative to the status label at
    // the bottom of the window (top offset its top, left offset its left + 800).
    virtual void PopUpNotice(const std::string& text, int widthTwips, int heightTwips,
                             int milliseconds) = 0;

    // How far a run is through its period, 0..1; the window shows it at most
    // a few times per second.  Not part of any report text.
    virtual void ReportProgress(double fraction) = 0;
};

}  // namespace vlt
