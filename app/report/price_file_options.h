#pragma once
// What the commands that study a price file (research, eventstudy) take and
// do alike: the file and its column, the period, the report's format and its
// chart are read by one table, so that they are understood and refused in
// the same words; the messages of the start-up are lines of their own, and
// the chart is written before the report.

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "app/chart/chart_model.h"
#include "app/report/command_line.h"
#include "app/report/option_values.h"
#include "app/simulation/price_series.h"
#include "app/support/run_host.h"

namespace vlt {

enum class TableFormat { Text, Csv, Json };

struct PriceFileOptions {
    std::string pricesFile;
    std::string priceColumn = kDefaultPriceColumn;
    std::optional<ReportDate> start;
    std::optional<ReportDate> end;
    TableFormat format = TableFormat::Text;
    std::string chartFile;
};

// The reader of one of a command's own options: fills its part of the
// command's options or says what is wrong.
template <typename Options>
struct OwnOptionReader {
    const char* name;
    OptionProblem (*read)(const std::string& value, Options& o);
};

// Reads every option of the line that has a value (an option given twice:
// its last), the shared ones into `file` and the others with `own`, which
// passes over names it does not know; the first problem.
OptionProblem ReadPriceFileOptions(
    const CommandLine& line, PriceFileOptions& file,
    const std::function<OptionProblem(const std::string& name, const std::string& value)>& own);

template <typename Options>
OptionProblem ReadPriceFileOptions(const CommandLine& line, PriceFileOptions& file,
                                   std::span<const OwnOptionReader<Options>> readers, Options& o) {
    return ReadPriceFileOptions(
        line, file, [&](const std::string& name, const std::string& value) -> OptionProblem {
            for (const OwnOptionReader<Options>& r : readers) {
                if (name == r.name) return r.read(value, o);
            }
            return std::nullopt;
        });
}

// The day of a date of the command line.
std::int32_t DayNumberOf(const ReportDate& date);

// The price file; false with its message on `messages`.
bool LoadPrices(const PriceFileOptions& file, PriceSeries& series, std::ostream& messages);

// The start-up's messages (a Pluto table that cannot be read) as lines.
class MessageLines final : public MessageBoxes {
public:
    explicit MessageLines(std::ostream& out) : out_(out) {}
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;

private:
    std::ostream& out_;
};

// The line of a problem with the options; the exit status of such a line.
int RefusedOptions(const std::string& problem, CommandIo& io);

// Writes the chart when the options ask for one (width x height pixels),
// then the report; the exit status.
int WriteReportAndChart(const std::string& report, const PriceFileOptions& file,
                        const std::function<ChartModel()>& chart, int width, int height,
                        CommandIo& io);

}  // namespace vlt
