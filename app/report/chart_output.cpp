#include "app/report/chart_output.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "app/chart/chart_render_entry.h"

namespace vlt {
namespace {

// The folder of the running program, where the build and the package put
// the renderer; empty when it cannot be told.
std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return {};
    std::string p(path, static_cast<std::size_t>(n));
    return p.substr(0, p.rfind('/') + 1);
}

}  // namespace

bool WriteChartImage(const ChartModel& model, const std::string& path, int width, int height,
                     std::ostream& messages) {
    const std::string module = ProgramFolder() + kChartRenderModule;
    // The module stays loaded to the end: the toolkit it starts cleans up at
    // exit.
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        messages << "vlt-report: cannot draw charts: " << kChartRenderModule
                 << " cannot be loaded (" << (why != nullptr ? why : "not found") << ")\n";
        return false;
    }
    const auto render = reinterpret_cast<ChartRenderEntry>(dlsym(handle, kChartRenderEntry));
    if (render == nullptr) {
        messages << "vlt-report: cannot draw charts: " << kChartRenderModule << " has no "
                 << kChartRenderEntry << '\n';
        return false;
    }
    char error[512] = {};
    if (render(&model, path.c_str(), width, height, error, sizeof error) != 0) {
        messages << "vlt-report: " << error << '\n';
        return false;
    }
    return true;
}

}  // namespace vlt
