#include "app/window/main_window.h"

#include <algorithm>
#include <cmath>

#include "app/window/control_names.h"
#include "app/window/controls.h"
#include "app/window/timezones.h"

#ifndef VLT_VERSION
#define VLT_VERSION "0.0.0"
#endif

namespace vlt {
namespace {

constexpr Rgb kBackground{252, 253, 120};
// Twips between the lowest frame and the output box.
constexpr int kOutputGapBelowFrames = 130;
// Twips right of the output box, wherever the window stands.
constexpr int kRightMargin = 380;
// Twips the window keeps below the output box for the button row and the
// status line.
constexpr int kRoomBelowOutput = 1250;
// Twips from the output box down to the button row.
constexpr int kButtonRowGap = 150;
// Twips the check box stands lower than the buttons beside it, so that
// their texts line up.
constexpr int kCheckBoxDrop = 50;
// Twips from the top of the button row down to the status line.
constexpr int kStatusDrop = 525;

bool IsKind(const ControlInfo& s, CtlKind k) { return s.kind == k; }

}  // namespace

// ---------------------------------------------------------------- output box

const std::string& WindowOutput::Text() const { return window_.outputText_; }
void WindowOutput::Append(const std::string& text) { window_.AppendOutput(text); }
void WindowOutput::Clear() { window_.ClearOutput(); }
void WindowOutput::MoveCaretToEnd() { window_.ui_.CaretToEnd(ctl::txbOutput); }
void WindowOutput::Refresh() { window_.ui_.Repaint(ctl::txbOutput); }

void MainWindow::AppendOutput(const std::string& text) {
    if (text.empty()) return;
    outputText_ += text;
    ui_.AppendText(ctl::txbOutput, text);
    ui_.CaretToEnd(ctl::txbOutput);
}

void MainWindow::ClearOutput() {
    outputText_.clear();
    ui_.SetText(ctl::txbOutput, "");
}

// ---------------------------------------------------------------- basics

MainWindow::MainWindow(UiOps& ui, WindowServices& services)
    : ui_(ui), services_(services), handlers_(&defaultHandlers_), output_(*this) {}

void MainWindow::SetCommandHandlers(CommandHandlers* handlers) {
    handlers_ = handlers != nullptr ? handlers : &defaultHandlers_;
}

std::string MainWindow::ProgramCaption() { return std::string("Veltaro ") + VLT_VERSION; }

std::string MainWindow::ListText(const Ctl& c) const {
    const int i = ui_.ListIndex(c);
    if (i < 0 || i >= ui_.ListCount(c)) return "";
    return ui_.ListItemText(c, i);
}

void MainWindow::SetCheck(const Ctl& c, int value) {
    if (ui_.Value(c) == value) return;
    ui_.SetValue(c, value);
    HandleClick(c);
}

void MainWindow::SelectListEntry(const Ctl& c, int index) {
    if (ui_.ListIndex(c) == index) return;
    ui_.SetListIndex(c, index);
    if (index >= 0) HandleClick(c);
}

// ---------------------------------------------------------------- enabling, busy state

void MainWindow::SetControlsEnabled(bool enabled, bool frames, bool textBoxes, bool labels,
                                    bool checkBoxesAgain) {
    for (const ControlInfo& s : MainWindowControls()) {
        switch (s.kind) {
            case CtlKind::CheckBox:
            case CtlKind::Button:
            case CtlKind::Option:
            case CtlKind::List: ui_.SetEnabled(s.ctl, enabled); break;
            default: break;
        }
        if ((frames && IsKind(s, CtlKind::Frame)) ||
            (textBoxes && (IsKind(s, CtlKind::TextBox) || IsKind(s, CtlKind::OutputBox))) ||
            (labels && IsKind(s, CtlKind::Label)) ||
            (checkBoxesAgain && IsKind(s, CtlKind::CheckBox))) {
            ui_.SetEnabled(s.ctl, enabled);
        }
    }
    // The chart button follows what there is to draw, not the other buttons.
    ui_.SetEnabled(ctl::cmdChart, enabled && chartAvailable_ && chartAvailable_());
    ApplyButtonActions(enabled);
    ui_.Repaint(ctl::frmMain);
}

void MainWindow::EnterBusyState(RunKind kind) {
    SetControlsEnabled(false, false, true, true, false);
    busy_.Enter(kind == RunKind::Simulation ? Ctl(ctl::cmdSimulateInvestment) : Ctl(ctl::cmdStart));
    run_.Begin(kind);
}

void MainWindow::LeaveBusyState() {
    SetControlsEnabled(true, true, true, true, false);
    ui_.SetText(ctl::cmdStart, startCaptionStore_);
    // Everything came back enabled; the simulation stays available only
    // heliocentrically, as the centricity rule says.
    ApplyCentricityEnabling();
    run_.End();
    busy_.Leave();
}

void MainWindow::UpdatePlanetCaptions(bool constructButtonOnly) {
    const std::string first = ListText(Ctl(ctl::cboPlanet, 0));
    const std::string second = ListText(Ctl(ctl::cboPlanet, 1));
    startCaptionStore_ = first + " and " + second;
    ui_.SetText(ctl::cmdStart, startCaptionStore_);
    if (!constructButtonOnly) {
        // Each show-all button is captioned with the planet its series keeps:
        // the first button pairs the second planet with every other one.
        ui_.SetText(Ctl(ctl::cmdShowAll, 0), second + " and the other planets.");
        ui_.SetText(Ctl(ctl::cmdShowAll, 1), first + " and the other planets.");
    }
}

// ---------------------------------------------------------------- centricity

// The built-in index is simulated heliocentrically only; a chosen price
// file from either centre.
void MainWindow::ApplyCentricityEnabling() {
    const bool helio = ui_.Value(ctl::optHeliocentric) == 1;
    const bool simulate = helio || (prices_ != nullptr && prices_->FileChosen());
    ui_.SetEnabled(ctl::cmdSimulateInvestment, simulate);
    ui_.SetEnabled(ctl::chkIncludeTransitDetails, simulate);
}

void MainWindow::SelectCentricity(bool heliocentric) {
    ui_.SetValue(ctl::optGeocentric, heliocentric ? 0 : 1);
    ui_.SetValue(ctl::optHeliocentric, heliocentric ? 1 : 0);
    const Ctl first(ctl::cboPlanet, 0);
    if (ui_.ListCount(first) > 0) {
        ui_.ListSetItemText(first, 0, heliocentric ? "Earth" : "Sun");
    }
    UpdatePlanetCaptions(false);
    ui_.SetBold(ctl::optGeocentric, !heliocentric);
    ui_.SetBold(ctl::optHeliocentric, heliocentric);
    ApplyCentricityEnabling();
}

// ---------------------------------------------------------------- events

void MainWindow::OnClick(const Ctl& c) { HandleClick(c); }

void MainWindow::RunCommand(const Ctl& button) {
    // While a command runs its button reads "Pause": a click only asks the
    // run to pause; it never starts a second run.
    if ((button == Ctl(ctl::cmdStart) && run_.Running(RunKind::Transit)) ||
        (button == Ctl(ctl::cmdSimulateInvestment) && run_.Running(RunKind::Simulation))) {
        run_.RequestPause();
        return;
    }
    if (button.name == ctl::cmdStart) {
        handlers_->Start(*this);
    } else if (button.name == ctl::cmdSearch) {
        handlers_->Search(*this);
    } else if (button.name == ctl::cmdShowAll) {
        handlers_->ShowAll(*this, button.index);
    } else if (button.name == ctl::cmdSimulateInvestment) {
        handlers_->SimulateInvestment(*this);
    }
}

void MainWindow::HandleClick(const Ctl& c) {
    const std::string& n = c.name;
    if (RunButtonAction(n)) return;
    if (n == ctl::cmdStart || n == ctl::cmdSearch || n == ctl::cmdShowAll ||
        n == ctl::cmdSimulateInvestment) {
        RunCommand(c);
    } else if (n == ctl::optGeocentric) {
        SelectCentricity(false);
    } else if (n == ctl::optHeliocentric) {
        SelectCentricity(true);
    } else if (n == ctl::cboPlanet) {
        PlanetListClicked();
    } else if (n == ctl::chkAspectType) {
        if (loaded_ && !restoring_) selection_.CheckAspectTypes();
    } else if (n == ctl::cmdAll) {
        selection_.SetAllAspectTypes(1);
    } else if (n == ctl::cmdClear) {
        selection_.SetAllAspectTypes(0);
    } else if (n == ctl::cboOrbs) {
        if (!loaded_ || restoring_) return;
        if (c.index == 3) {
            ui_.SetFocus(ctl::cmdSearch);
        } else {
            selection_.ValidateOrbs();  // the click only shows the message
            ui_.SetFocus(ctl::cmdStart);
        }
    } else if (n == ctl::cboSearchAspect || n == ctl::cboSearchWhen || n == ctl::chkKeepDates) {
        ui_.SetFocus(ctl::cmdSearch);
    } else if (n == ctl::cboTimezone) {
        if (ui_.Visible(ctl::cmdStart) && ui_.Enabled(ctl::cmdStart)) ui_.SetFocus(ctl::cmdStart);
    } else if (n == ctl::chkDisplayNATZabbr) {
        SetUpTimezoneComboBoxes(true);
        if (ui_.Visible(ctl::cmdStart) && ui_.Enabled(ctl::cmdStart)) ui_.SetFocus(ctl::cmdStart);
    } else if (n == ctl::chkOpenOutputFile) {
        if (loaded_) ui_.SetFocus(Ctl(ctl::cmdFile, 0));
    } else if (n == ctl::chkAppendToOutput) {
        if (loaded_ && ui_.Enabled(ctl::cmdStart)) ui_.SetFocus(ctl::cmdStart);
    } else if (n == ctl::cmdFile) {
        WriteOutputToFile();
    } else if (n == ctl::cmdChart) {
        if (openChart_ && !run_.Running()) openChart_();
    } else if (n == ctl::cmdSaveState) {
        SaveState();
    } else if (n == ctl::cmdRestoreState) {
        RestoreState();
    } else if (n == ctl::cmdHelp) {
        Help();
    } else if (n == ctl::cmdQuit) {
        Quit();
    }
}

void MainWindow::OnLostFocus(const Ctl& c) {
    if (c.index < 0 || c.index > 1) return;
    if (c.name == ctl::txbYear) {
        dates_.YearLostFocus(c.index);
    } else if (c.name == ctl::txbMonth || c.name == ctl::txbDay) {
        UpdateDateDisplay(c.index);
    } else if (c.name == ctl::txbStopDate) {
        std::string t = ui_.Text(c);
        const auto notBlank = [](char ch) { return ch != ' ' && ch != '\t'; };
        t.erase(t.begin(), std::find_if(t.begin(), t.end(), notBlank));
        t.erase(std::find_if(t.rbegin(), t.rend(), notBlank).base(), t.end());
        stopDateText_ = t;
    }
}

void MainWindow::OnKeyUp(const Ctl& c, int keyCode) {
    const bool dateBox = c.name == ctl::txbYear || c.name == ctl::txbMonth || c.name == ctl::txbDay;
    if (dateBox && keyCode == 13 && ui_.Enabled(ctl::cmdStart)) RunCommand(ctl::cmdStart);
}

void MainWindow::OnTick() {
    const bool hasOutput = !outputText_.empty();
    const bool fileVisible = !run_.Running(RunKind::Transit) && hasOutput;
    ui_.SetVisible(Ctl(ctl::cmdFile, 0), fileVisible);
    ui_.SetVisible(ctl::chkOpenOutputFile, fileVisible);
    ui_.SetVisible(ctl::chkAppendToOutput, hasOutput);
    ui_.SetEnabled(ctl::cmdChart, !run_.Running() && chartAvailable_ && chartAvailable_());
    ApplyButtonActions(!run_.Running());
    if (recentSave_) {
        ++tickCount_;
        if (tickCount_ > 10) recentSave_ = false;
    }
}

void MainWindow::SetChartHandlers(std::function<bool()> available, std::function<void()> open) {
    chartAvailable_ = std::move(available);
    openChart_ = std::move(open);
}

void MainWindow::SetButtonAction(const std::string& name, std::function<bool()> available,
                                 std::function<void()> action) {
    buttonActions_[name] = ButtonAction{std::move(available), std::move(action)};
}

bool MainWindow::RunButtonAction(const std::string& name) {
    const auto it = buttonActions_.find(name);
    if (it == buttonActions_.end()) return false;
    if (it->second.action && !run_.Running()) it->second.action();
    return true;
}

void MainWindow::ApplyButtonActions(bool enabled) {
    for (const auto& [name, button] : buttonActions_) {
        ui_.SetEnabled(Ctl(name), enabled && (!button.available || button.available()));
    }
}

void MainWindow::UsePrices(PriceChoice* prices) {
    prices_ = prices;
    savedState_.UsePrices(prices);
    PricesChanged();
}

void MainWindow::PricesChanged() {
    ui_.SetText(ctl::lblPrices, prices_ != nullptr ? prices_->Caption() : kBuiltInPricesCaption);
    ApplyCentricityEnabling();
}

void MainWindow::OnResize() {
    if (!loaded_ || resizing_) return;
    if (ui_.State() == WindowState::Minimised) return;
    resizing_ = true;
    if (ui_.State() != WindowState::Maximised) {
        Rect w = ui_.Geometry(ctl::frmMain);
        const Rect before = w;
        w.width = fixedWidth_;
        if (w.height < minHeight_) w.height = minHeight_;
        const int tallest = static_cast<int>(ui_.ScreenHeight() * 0.95);
        if (w.height > tallest) w.height = tallest;
        if (!(w == before)) ui_.SetGeometry(ctl::frmMain, w);
    }
    Layout();
    resizing_ = false;
}

void MainWindow::Layout() {
    const Rect window = ui_.Geometry(ctl::frmMain);
    Rect out = ui_.Geometry(ctl::txbOutput);
    out.height = std::max(0, window.height - out.top - kRoomBelowOutput);
    ui_.SetGeometry(ctl::txbOutput, out);
    const int top = out.Bottom() + kButtonRowGap;
    for (const Ctl& c : {Ctl(ctl::cmdQuit), Ctl(ctl::cmdFile, 0), Ctl(ctl::cmdHelp),
                         Ctl(ctl::cmdRestoreState), Ctl(ctl::cmdSaveState), Ctl(ctl::cmdChart)}) {
        Rect r = ui_.Geometry(c);
        r.top = top;
        ui_.SetGeometry(c, r);
    }
    Rect open = ui_.Geometry(ctl::chkOpenOutputFile);
    open.top = top + kCheckBoxDrop;
    ui_.SetGeometry(ctl::chkOpenOutputFile, open);
    Rect status = ui_.Geometry(ctl::lblStatus);
    status.top = top + kStatusDrop;
    ui_.SetGeometry(ctl::lblStatus, status);
}

bool MainWindow::OnCloseRequest() { return Quit(); }

// ---------------------------------------------------------------- run host

std::string MainWindow::WindowCaption() const { return ui_.Text(ctl::frmMain); }
std::string MainWindow::StartCaption() const { return ui_.Text(ctl::cmdStart); }
bool MainWindow::AppendChecked() const { return ui_.Value(ctl::chkAppendToOutput) == 1; }
void MainWindow::SetAppendChecked(bool checked) {
    ui_.SetValue(ctl::chkAppendToOutput, checked ? 1 : 0);
}
void MainWindow::ShowAppendCheckBox(bool visible) {
    ui_.SetVisible(ctl::chkAppendToOutput, visible);
}

void MainWindow::PassFinished(bool outputEmpty) {
    if (outputEmpty) {
        SetAppendChecked(false);
        ShrinkToMinimumHeight();
    }
    ShowAppendCheckBox(!outputEmpty);
}

// The series appends each pair's table to the last; its end gives the box
// back as the user left it.
void MainWindow::SeriesStarted() {
    keptAppend_ = AppendChecked();
    SetAppendChecked(true);
}

void MainWindow::ApplyRunGeometry() {
    if (ui_.State() != WindowState::Normal) return;
    Rect w = ui_.Geometry(ctl::frmMain);
    w.top = runTop_;
    w.height = runHeight_;
    ui_.SetGeometry(ctl::frmMain, w);
    OnResize();
}

void MainWindow::ShrinkToMinimumHeight() {
    if (ui_.State() == WindowState::Normal) {
        Rect w = ui_.Geometry(ctl::frmMain);
        w.height = minHeight_;
        ui_.SetGeometry(ctl::frmMain, w);
    }
    OnResize();
}

void MainWindow::PopUpNotice(const std::string& text) {
    // Beside the status label at the bottom of the window.
    constexpr int kNoticeLeftOffset = 800;
    constexpr int kNoticeWidth = 1200;
    constexpr int kNoticeHeight = 300;
    constexpr int kNoticeMilliseconds = 2000;
    const Rect label = ui_.Geometry(ctl::lblStatus);
    ui_.PopUpInWindow(text,
                      Rect{label.left + kNoticeLeftOffset, label.top, kNoticeWidth, kNoticeHeight},
                      kNoticeMilliseconds);
}

void MainWindow::ReportProgress(double fraction) { busy_.Progress(fraction); }

std::string MainWindow::ButtonCaption(const std::string& name, int index) const {
    return ui_.Text(Ctl(name, index));
}

// ---------------------------------------------------------------- start-up

void MainWindow::StartUp() {
    loaded_ = false;
    ui_.SetText(ctl::frmMain, ProgramCaption());
    PlaceOutputBelowFrames();
    services_.InitPositions();
    EnterDefaultDates();
    ClearOutput();
    FitWindowToOutput();
    runTop_ = kRunTop;
    runHeight_ = kRunHeight;
    ui_.SetValue(ctl::optGeocentric, 1);
    HandleClick(ctl::optGeocentric);
    selection_.FillPlanetLists();
    selection_.FillOrbLists();
    FillSearchLists();
    SetUpTimezoneComboBoxes(false);
    selection_.SetAllAspectTypes(1);
    RestoreState();
    dates_.YearLostFocus(0);
    dates_.YearLostFocus(1);
    ApplyColoursAndFonts();
    SelectLocalTimezoneIfNone();
    SetCheck(ctl::chkKeepDates, 1);
    UpdateDateDisplay(1);
    ReselectSearchLists();
    ShowIdleWindow();
    services_.LoadIndexData(ui_);
    loaded_ = true;
    OnResize();
}

void MainWindow::PlaceOutputBelowFrames() {
    Rect out = ui_.Geometry(ctl::txbOutput);
    out.top = ui_.Geometry(ctl::Frame3).Bottom() + kOutputGapBelowFrames;
    ui_.SetGeometry(ctl::txbOutput, out);
}

// The whole current year, before a saved state replaces it.
void MainWindow::EnterDefaultDates() {
    startCaptionStore_ = kInitialStartCaption;
    const std::string year = std::to_string(services_.CurrentYear());
    ui_.SetText(Ctl(ctl::txbYear, 0), year);
    ui_.SetText(Ctl(ctl::txbMonth, 0), "1");
    ui_.SetText(Ctl(ctl::txbDay, 0), "1");
    ui_.SetText(Ctl(ctl::txbYear, 1), year);
    ui_.SetText(Ctl(ctl::txbMonth, 1), "12");
    ui_.SetText(Ctl(ctl::txbDay, 1), "31");
}

void MainWindow::FitWindowToOutput() {
    Rect out = ui_.Geometry(ctl::txbOutput);
    out.width = ui_.Geometry(ctl::cmdQuit).Right() - out.left;
    ui_.SetGeometry(ctl::txbOutput, out);
    // The margin right of the output box is the same wherever the window
    // stands on the screen.
    Rect w = ui_.Geometry(ctl::frmMain);
    w.width = out.left + out.width + kRightMargin;
    ui_.SetGeometry(ctl::frmMain, w);
    fixedWidth_ = ui_.Geometry(ctl::frmMain).width;
}

void MainWindow::FillSearchLists() {
    ui_.ListClear(ctl::cboSearchAspect);
    for (int a = 1; a <= 7; ++a) {
        std::string name = services_.AspectName(a);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        ui_.ListAdd(ctl::cboSearchAspect, name);
    }
    ui_.ListClear(ctl::cboSearchWhen);
    ui_.ListAdd(ctl::cboSearchWhen, "on or after start date");
    ui_.ListAdd(ctl::cboSearchWhen, "on or after end date");
    SelectListEntry(ctl::cboSearchWhen, 0);
}

void MainWindow::ApplyColoursAndFonts() {
    ui_.SetBackColor(ctl::frmMain, kBackground);
    for (const ControlInfo& s : MainWindowControls()) {
        if (s.kind == CtlKind::Frame || s.kind == CtlKind::Label || s.kind == CtlKind::CheckBox ||
            s.kind == CtlKind::Option) {
            ui_.SetBackColor(s.ctl, kBackground);
        }
        if (s.kind == CtlKind::OutputBox) {
            ui_.SetFont(s.ctl, "Courier New", 8);
        } else {
            ui_.SetFont(s.ctl, "Arial", 10);
        }
    }
}

// Without a saved zone the computer's own one is selected.
void MainWindow::SelectLocalTimezoneIfNone() {
    if (ui_.ListIndex(Ctl(ctl::cboTimezone, 0)) >= 0) return;
    const int index = TimezoneIndexOfMinutes(LocalTimezoneMinutes());
    // A zone beyond the list's half hours selects the empty entry: the
    // commands then ask for a zone instead of computing in a wrong one.
    ui_.SetListIndex(Ctl(ctl::cboTimezone, 0), index >= 1 && index <= 47 ? index : 0);
}

// Selecting the entry again runs the lists' click handling once more.
void MainWindow::ReselectSearchLists() {
    for (const ControlName& name : {ctl::cboSearchAspect, ctl::cboSearchWhen}) {
        const int former = ui_.ListIndex(name);
        ui_.SetListIndex(name, -1);
        SelectListEntry(name, former >= 0 ? former : 0);
    }
}

// The window as it waits for the first command: no output, nothing to write
// or draw, at its smallest height.
void MainWindow::ShowIdleWindow() {
    minHeight_ = kMinimumHeight;
    UpdatePlanetCaptions(false);
    ClearOutput();
    ui_.SetVisible(ctl::chkAppendToOutput, false);
    ui_.SetVisible(Ctl(ctl::cmdFile, 0), false);
    ui_.SetVisible(ctl::chkOpenOutputFile, false);
    ui_.SetEnabled(ctl::cmdChart, false);
    Rect w = ui_.Geometry(ctl::frmMain);
    w.height = minHeight_;
    ui_.SetGeometry(ctl::frmMain, w);
}

void MainWindow::LoadPlutoTables() {
    auto setEnabled = [this](bool on) {
        for (const ControlInfo& s : MainWindowControls()) {
            if (s.kind == CtlKind::Button || s.kind == CtlKind::CheckBox ||
                s.kind == CtlKind::Option || s.kind == CtlKind::List || s.kind == CtlKind::Label) {
                ui_.SetEnabled(s.ctl, on);
            }
        }
    };
    setEnabled(false);
    const Rect start = ui_.Geometry(ctl::cmdStart);
    const Rect append = ui_.Geometry(ctl::chkAppendToOutput);
    ui_.PopUpInWindow("Loading Pluto data ...", Rect{start.left + 100, append.top + 500, 2880, 300},
                      2000);
    plutoLoaded_ = services_.ReadPlutoData(ui_);
    setEnabled(true);
    ApplyCentricityEnabling();
}

// ---------------------------------------------------------------- help and quit

void MainWindow::Help() {
    const Rect w = ui_.Geometry(ctl::frmMain);
    ui_.ShowViewer("Help", services_.ProgramFolder() + "VLT_help.txt", true,
                   Rect{w.left + 100, w.top + 380, w.width - 200, w.height - 480});
}

bool MainWindow::Quit() {
    if (quit_.stop_requested()) return true;
    if (!recentSave_) {
        const MsgResult r = ui_.Show("Save program state for next run?", ui_.Text(ctl::cmdQuit),
                                     MsgButtons::YesNoCancel, MsgIcon::Question);
        if (r == MsgResult::Cancel) return false;
        if (r == MsgResult::Yes) {
            SaveState();
            // A save that failed was reported; the program stays open, so
            // that the state is not lost without the user's say.
            if (!recentSave_) return false;
        }
    }
    // A run under way sees the token at its next step and ends there.
    quit_.request_stop();
    ui_.EndProgram();
    return true;
}

// ---------------------------------------------------------------- saved state

void MainWindow::SaveState() {
    if (!savedState_.Save()) return;  // only a save that reached the file counts
    recentSave_ = true;
    tickCount_ = 0;
}

void MainWindow::RestoreState() {
    if (!savedState_.Available()) return;
    // Values come back one by one; a rule that looks at several controls
    // (aspect types, orbs) would complain about the half-restored state.
    restoring_ = true;
    stopDateText_ = savedState_.Restore(Choices());
    restoring_ = false;
    PricesChanged();
    recentSave_ = true;
    tickCount_ = 0;
}

// The window's own click handling, for the values its helpers choose.
ChoiceActions MainWindow::Choices() {
    return ChoiceActions{[this](const Ctl& c, int value) { SetCheck(c, value); },
                         [this](const Ctl& c, int index) { SelectListEntry(c, index); },
                         [this](const Ctl& c) { HandleClick(c); }};
}

}  // namespace vlt
