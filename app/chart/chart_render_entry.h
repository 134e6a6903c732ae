#pragma once
// The entry of the chart renderer module (libvlt_chart_render.so, built in
// app/qt because it draws with Qt Charts), loaded by
// vlt-report's chart command.  Both sides are built together, so the model
// passes as it is.  Returns 0 when the image was written; otherwise fills
// `error` with one line.
#include <cstddef>

#include "app/chart/chart_model.h"

extern "C" int vlt_render_chart(const vlt::ChartModel* model, const char* path, int width,
                                int height, char* error, std::size_t errorSize);

inline constexpr const char* kChartRenderModule = "libvlt_chart_render.so";
inline constexpr const char* kChartRenderEntry = "vlt_render_chart";
using ChartRenderEntry = int (*)(const vlt::ChartModel*, const char*, int, int, char*, std::size_t);
