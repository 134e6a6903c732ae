// Veltaro: the main program.  One window; its start-up runs in a fixed order
// and ends with the Pluto tables loading behind a short notice.
#include <QApplication>

#include "app/qt/qt_screen.h"
#ifdef VLT_HAVE_CHARTS
#include "app/qt/chart_link.h"
#endif
#include "app/window/main_window.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vlt::ProgramServices services;
    services.SetIndexBesideProgram(true);  // started from any folder, it still finds the index
    vlt::QtScreen screen;
    vlt::MainWindow window(screen, services);
    vlt::ProgramCommands commands(window, services.Index());
    window.SetCommandHandlers(&commands);
    screen.Attach(&window);
    screen.SetBusyProbe([&window] { return window.Running(); });
#ifdef VLT_HAVE_CHARTS
    vlt::ChartLink chart(window, commands, services);
#endif

    window.StartUp();
    screen.show();
    screen.StartTimer();
    QCoreApplication::processEvents();
    window.LoadPlutoTables();
    if (screen.Ended()) return 0;
    return QApplication::exec();
}
