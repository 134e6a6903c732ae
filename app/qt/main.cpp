// Veltaro: the main program.  One window; its start-up runs in a fixed order
// and ends with the Pluto tables loading behind a short notice.
#include <QApplication>

#include "app/qt/qt_screen.h"
#include "app/qt/window_tools.h"
#ifdef VLT_HAVE_CHARTS
#include "app/qt/chart_link.h"
#endif
#include "app/window/main_window.h"
#include "app/window/price_choice.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vlt::ProgramServices services;
    services.SetIndexBesideProgram(true);  // started from any folder, it still finds the index
    vlt::QtScreen screen;
    vlt::MainWindow window(screen, services);
    // The simulation reads the built-in index until the user chooses a price
    // file ("Prices…"); the choice is saved with the window's state.
    vlt::PriceChoice prices(services.Index());
    vlt::ProgramCommands commands(window, services.Index(), prices);
    window.SetCommandHandlers(&commands);
    window.UsePrices(&prices);
    screen.Attach(&window);
    screen.SetBusyProbe([&window] { return window.Running(); });
#ifdef VLT_HAVE_CHARTS
    vlt::ChartLink chart(window, commands, services);
    chart.UsePrices(&prices);
#endif
    vlt::WindowTools tools(window, screen, commands, prices);

    window.StartUp();
    screen.show();
    screen.StartTimer();
    QCoreApplication::processEvents();
    window.LoadPlutoTables();
    if (screen.Ended()) return 0;
    return QApplication::exec();
}
