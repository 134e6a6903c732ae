#pragma once
// The main window's logic: its state, the rules that enable, show, fill and
// check its controls, the busy state of long commands, the output box and
// file, the saved state, the start-up sequence, Help and Quit.  It reaches the
// screen only through UiOps and the layers below through WindowServices.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <stop_token>
#include <string>

#include "app/support/run_control.h"
#include "app/window/busy_display.h"
#include "app/window/command_handlers.h"
#include "app/window/date_entry.h"
#include "app/window/price_choice.h"
#include "app/window/saved_state.h"
#include "app/window/selection.h"
#include "app/window/ui_ops.h"
#include "app/window/window_services.h"

namespace vlt {

class MainWindow;

// The output box as the commands see it.  The window keeps the text (CR LF
// line ends, UTF-8) so that a command reads it without asking the screen.
class WindowOutput final : public OutputBox {
public:
    explicit WindowOutput(MainWindow& window) : window_(window) {}
    const std::string& Text() const override;
    void Append(const std::string& text) override;
    void Clear() override;
    void MoveCaretToEnd() override;
    void Refresh() override;

private:
    MainWindow& window_;
};

class MainWindow final : public CommandWindow, public BusyIndicator, public UiEvents {
public:
    MainWindow(UiOps& ui, WindowServices& services);

    // Connects the four commands; nullptr restores the handlers that do
    // nothing.
    void SetCommandHandlers(CommandHandlers* handlers);

    // Start-up up to the idle window (everything but the Pluto tables).
    void StartUp();
    // The last start-up step, once the window is on the screen: the controls
    // are disabled, the "Loading Pluto data ..." notice shows, the tables load.
    void LoadPlutoTables();

    // --- UiEvents
    void OnClick(const Ctl& c) override;
    void OnLostFocus(const Ctl& c) override;
    void OnKeyUp(const Ctl& c, int keyCode) override;
    void OnTick() override;
    void OnResize() override;
    bool OnCloseRequest() override;

    // --- Window operations used by the commands and by the rules below.
    void SetControlsEnabled(bool enabled, bool frames, bool textBoxes, bool labels,
                            bool checkBoxesAgain);
    void UpdatePlanetCaptions(bool constructButtonOnly);
    void UpdateDateDisplay(int date) { dates_.UpdateDateDisplay(date); }
    void SetUpTimezoneComboBoxes(bool preserveIndices);
    int16_t LocalTimezoneMinutes();
    void SaveState();
    void RestoreState();
    void WriteOutputToFile();
    void Help();
    // The Quit command; true when the program ends.
    bool Quit();

    // --- CommandWindow
    WindowInputs Snapshot() const override;
    bool CheckDateFieldsPresent(int date) override { return dates_.CheckDateFieldsPresent(date); }
    bool ValidateDate(int date) override { return dates_.ValidateDate(date); }
    int32_t DayNumber(int date) const { return dates_.DayNumber(date); }
    bool ValidateOrbs() override { return selection_.ValidateOrbs(); }
    void SelectTimezone(int index) override;
    void ShowDateInFields(int date, int32_t dayNumber) override {
        dates_.ShowDateInFields(date, dayNumber);
    }
    std::string ButtonCaption(const std::string& name, int index) const override;
    std::stop_token StopToken() const override { return quit_.get_token(); }
    // Selects a planet-list entry as a user's click would (index -1: none,
    // which in the first list means Pluto).
    void SelectPlanet(int list, int index);
    void ShowPair(int first, int second) override;

    // --- RunHost
    OutputBox& Output() override { return output_; }
    MessageBoxes& Boxes() override { return ui_; }
    RunControl& Control() override { return run_; }
    BusyIndicator& Busy() override { return *this; }
    void YieldToEvents() override { ui_.YieldToEvents(); }
    bool AppendsToOutput() const override { return AppendChecked(); }
    // The moments of a run, on the screen.
    void RunPrepared() override { ApplyRunGeometry(); }
    void PassStarted() override { ShowAppendCheckBox(false); }
    void PassFinished(bool outputEmpty) override;
    void SeriesStarted() override;
    void SeriesFinished() override { SetAppendChecked(keptAppend_); }
    void RunDone() override { PopUpNotice("Done"); }

    // --- BusyIndicator
    void EnterBusyState(RunKind kind) override;
    void LeaveBusyState() override;
    std::string WindowCaption() const override;
    std::string StartCaption() const override;
    void ReportProgress(double fraction) override;

    // --- What the run's moments do to the window.
    // The "Append to output" check box.
    bool AppendChecked() const;
    void SetAppendChecked(bool checked);
    void ShowAppendCheckBox(bool visible);
    // A long command's geometry; a run that left the output empty shrinks
    // the window to its minimum height.
    void ApplyRunGeometry();
    void ShrinkToMinimumHeight();
    // A transient notice beside the status line.
    void PopUpNotice(const std::string& text);

    // --- State that tests and the screen may read.
    bool Loaded() const { return loaded_; }
    bool Running() const { return run_.Running(); }

    // The "Chart" button: `available` tells whether the last run left
    // something to draw (asked on every tick while no command runs), `open`
    // shows its chart.  Without them the button stays disabled.
    void SetChartHandlers(std::function<bool()> available, std::function<void()> open);
    // The prices the simulation reads; with a file chosen it runs from
    // either centre.  Null (the default): the built-in index only.
    void UsePrices(PriceChoice* prices);
    // Names the chosen prices and applies the centricity rule again, after
    // the user changed them.
    void PricesChanged();
    // A button whose work the program does outside the window's logic
    // (prices, statistics, research): enabled while no command runs and
    // `available` says so, asked as the chart button's is.
    void SetButtonAction(const std::string& name, std::function<bool()> available,
                         std::function<void()> action);
    bool PlutoLoaded() const { return plutoLoaded_; }
    const std::string& OutputText() const { return outputText_; }

    // State the window keeps for itself, as tests read it; nothing outside
    // the window decides on it.
    // The window's caption: the program's name, a blank and its version.
    static std::string ProgramCaption();

    static constexpr int kMinimumHeight = 5800;
    static constexpr int kRunTop = 300;
    static constexpr int kRunHeight = 9000;

private:
    friend class WindowOutput;
    friend struct MainWindowProbe;  // the tests' view of the state below

    // Emulations of the classic controls: a value or selection set by the
    // program runs the control's click handling as a user's click would.
    void SetCheck(const Ctl& c, int value);
    void SelectListEntry(const Ctl& c, int index);
    void HandleClick(const Ctl& c);

    void SelectCentricity(bool heliocentric);
    void ApplyCentricityEnabling();
    ChoiceActions Choices();
    void PlanetListClicked();
    void Layout();
    void RunCommand(const Ctl& button);
    bool RunButtonAction(const std::string& name);
    void ApplyButtonActions(bool enabled);
    // The steps of start-up, in the order StartUp takes them.
    void PlaceOutputBelowFrames();
    void EnterDefaultDates();
    void FitWindowToOutput();
    void FillSearchLists();
    void ApplyColoursAndFonts();
    void SelectLocalTimezoneIfNone();
    void ReselectSearchLists();
    void ShowIdleWindow();
    std::string ListText(const Ctl& c) const;
    void AppendOutput(const std::string& text);
    void ClearOutput();

    UiOps& ui_;
    WindowServices& services_;
    DateEntry dates_{ui_, services_};
    SavedState savedState_{ui_};
    Selection selection_{ui_, services_, Choices()};
    CommandHandlers defaultHandlers_;
    CommandHandlers* handlers_;
    WindowOutput output_;

    bool loaded_ = false;
    RunControl run_;
    // Requested when the program quits; every run is handed its token.
    std::stop_source quit_;
    std::function<bool()> chartAvailable_;
    std::function<void()> openChart_;
    struct ButtonAction {
        std::function<bool()> available;
        std::function<void()> action;
    };
    std::map<std::string, ButtonAction> buttonActions_;
    PriceChoice* prices_ = nullptr;
    bool restoring_ = false;
    bool resizing_ = false;
    std::string startCaptionStore_ = kInitialStartCaption;
    int fixedWidth_ = 0;
    int minHeight_ = kMinimumHeight;
    int runTop_ = kRunTop;
    bool keptAppend_ = false;  // the Append box a show-all series found
    int runHeight_ = kRunHeight;
    bool plutoLoaded_ = false;
    bool recentSave_ = false;
    int tickCount_ = 0;
    BusyDisplay busy_{ui_};
    std::string stopDateText_;
    std::string outputText_;

    static constexpr const char* kInitialStartCaption =
        "Show all transits from start to end date for selected planets";
};

}  // namespace vlt
