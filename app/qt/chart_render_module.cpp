// The chart renderer that vlt-report loads for its chart command only, so
// that the report's other commands run without the toolkit.  It draws the
// chart without a display: the offscreen platform unless one is chosen.
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/chart/chart_render_entry.h"
#include "app/qt/chart_view.h"

extern "C" int vlt_render_chart(const vlt::ChartModel* model, const char* path, int width,
                                int height, char* error, std::size_t errorSize) {
    std::unique_ptr<QApplication> app;
    if (QApplication::instance() == nullptr) {
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (platform == nullptr || *platform == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "vlt-report";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    std::string message;
    const bool ok = vlt::SaveChartImage(*model, QString::fromUtf8(path), width, height, message);
    if (!ok && error != nullptr && errorSize > 0) {
        std::strncpy(error, message.c_str(), errorSize - 1);
        error[errorSize - 1] = '\0';
    }
    return ok ? 0 : 1;
}
