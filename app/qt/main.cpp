// Veltaro: the main program.  One window; its start-up runs in a fixed order
// and ends with the Pluto tables loading behind a short notice.
#include <QApplication>
#include <memory>

#include "app/qt/qt_screen.h"
#ifdef VLT_HAVE_CHARTS
#include "app/chart/chart_model.h"
#include "app/qt/chart_window.h"
#endif
#include "app/window/main_window.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vlt::ProgramServices services;
    vlt::QtScreen screen;
    vlt::MainWindow window(screen, services);
    vlt::ProgramCommands commands(window, services.Index());
    window.SetCommandHandlers(&commands);
    screen.Attach(&window);
    screen.SetBusyProbe([&window] { return window.Busy(); });
#ifdef VLT_HAVE_CHARTS
    // The chart window is made on the first click on "Chart", so that it
    // costs the start-up nothing.  What there is to draw is worked out again
    // only when the output or the simulation has changed.
    std::unique_ptr<vlt::ChartWindow> chartWindow;
    struct {
        std::size_t outputSize = 0;
        std::size_t events = 0;
        std::int32_t first = 0, last = 0;
        bool valid = false;
        vlt::ChartModel model;
    } chart;
    const auto currentChart = [&]() -> const vlt::ChartModel& {
        const std::size_t size = window.OutputText().size();
        const std::size_t events = commands.Simulation().Events().size();
        const std::int32_t first = window.DayNumber(0), last = window.DayNumber(1);
        if (!chart.valid || size != chart.outputSize || events != chart.events ||
            first != chart.first || last != chart.last) {
            chart.model = vlt::ChartOfLastRun(window.OutputText(), commands.Simulation(),
                                              services.Index(), first, last);
            chart.outputSize = size;
            chart.events = events;
            chart.first = first;
            chart.last = last;
            chart.valid = true;
        }
        return chart.model;
    };
    window.SetChartHandlers([&] { return !currentChart().Empty(); },
                            [&] {
                                if (!chartWindow) chartWindow = std::make_unique<vlt::ChartWindow>();
                                chartWindow->Show(currentChart());
                            });
#endif

    window.StartUp();
    screen.show();
    screen.StartTimer();
    QCoreApplication::processEvents();
    window.LoadPlutoTables();
    if (screen.Ended()) return 0;
    return QApplication::exec();
}
