// Start-up time of the main window: building the widgets, the start-up
// sequence up to the idle window (date tables, positions, lists, time zones,
// saved state, colours and fonts, the index file) and the first paint.  The
// Pluto tables load after that behind a two-second notice and are measured
// with the positions.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>

#include <chrono>
#include <filesystem>

#include "app/qt/qt_screen.h"
#ifdef VLT_HAVE_CHARTS
#include "app/qt/chart_link.h"
#include "app/qt/chart_window.h"
#endif
#include "app/support/settings_store.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "window_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// The program's folder is its data folder and its working folder.
void EnterProgramFolder() {
    static const bool done = [] {
        std::filesystem::current_path(VLT_BIN_DIR);
        const auto store = std::filesystem::temp_directory_path() /
                           ("vlt-bench-store-" + std::to_string(::getpid()));
        vlt::SetSettingsFolder(store.string());
        return true;
    }();
    (void)done;
}

void StartToIdleWindow() {
    vlt::ProgramServices services;
    vlt::QtScreen screen;
    vlt::MainWindow window(screen, services);
    vlt::ProgramCommands commands(window, services.Index());
    window.SetCommandHandlers(&commands);
    screen.Attach(&window);
#ifdef VLT_HAVE_CHARTS
    // As the program: the chart button connected, its window not yet made.
    vlt::ChartLink chart(window, commands, services);
#endif
    window.StartUp();
    screen.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.Loaded());
}

// The first start in a process pays for loading fonts, the style and both
// shared libraries; it is what a user waits for.
void BM_FirstStartToIdleWindow(benchmark::State& state) {
    EnterProgramFolder();
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        App();
        StartToIdleWindow();
        const auto t1 = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
}
BENCHMARK(BM_FirstStartToIdleWindow)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Later starts in the same process: the start-up sequence and widgets alone.
void BM_StartToIdleWindow(benchmark::State& state) {
    EnterProgramFolder();
    App();
    for (auto _ : state) StartToIdleWindow();
}
BENCHMARK(BM_StartToIdleWindow)->Unit(benchmark::kMillisecond);

// Widgets and the start-up sequence without showing the window.
void BM_StartUpWithoutPainting(benchmark::State& state) {
    EnterProgramFolder();
    App();
    vlt::ProgramServices services;
    for (auto _ : state) {
        vlt::QtScreen screen;
        vlt::MainWindow window(screen, services);
        window.StartUp();
        benchmark::DoNotOptimize(window.Loaded());
    }
}
BENCHMARK(BM_StartUpWithoutPainting)->Unit(benchmark::kMillisecond);

#ifdef VLT_HAVE_CHARTS
// The first click on "Chart" after Mars and Jupiter from 2007-01-03 to
// 2014-12-31 (every transit over the DJIA): the chart worked out from the
// output box, the chart window made and shown, and its first paint.  The
// first opening in the process also loads the charts' code and fonts.
void BM_FirstChartOpening(benchmark::State& state) {
    EnterProgramFolder();
    App();
    vlt::ProgramServices services;
    vlt::QtScreen screen;
    vlt::MainWindow window(screen, services);
    vlt::ProgramCommands commands(window, services.Index());
    window.SetCommandHandlers(&commands);
    screen.Attach(&window);
    window.StartUp();
    screen.show();
    QCoreApplication::processEvents();
    window.LoadPlutoTables();
    const char* const dates[2][3] = {{"2007", "1", "3"}, {"2014", "12", "31"}};
    for (int date = 0; date < 2; ++date) {
        const vlt::ControlName boxes[3] = {vlt::ctl::txbYear, vlt::ctl::txbMonth, vlt::ctl::txbDay};
        for (int k = 0; k < 3; ++k) {
            screen.SetText(vlt::Ctl(boxes[k], date), dates[date][k]);
            window.OnLostFocus(vlt::Ctl(boxes[k], date));
        }
    }
    window.SelectTimezone(24);
    window.OnClick(vlt::Ctl(vlt::ctl::cmdStart));
    for (auto _ : state) {
        vlt::ChartLink chart(window, commands, services);
        const auto t0 = std::chrono::steady_clock::now();
        window.OnClick(vlt::Ctl(vlt::ctl::cmdChart));
        QCoreApplication::processEvents();
        const auto t1 = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        if (chart.Window() == nullptr || chart.Current().intervals.empty()) {
            state.SkipWithError("no chart");
            break;
        }
        state.counters["intervals"] = static_cast<double>(chart.Current().intervals.size());
    }
}
BENCHMARK(BM_FirstChartOpening)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstChartOpening)
    ->Name("BM_ChartOpening")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
