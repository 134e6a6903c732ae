#include "app/report/price_file_options.h"

#include "app/report/chart_output.h"
#include "app/report/report_run.h"
#include "app/support/escaped_text.h"

namespace vlt {

namespace {

OptionProblem ReadFormat(const std::string& value, PriceFileOptions& o) {
    const auto f = Choice<TableFormat>(
        value,
        {{"text", TableFormat::Text}, {"csv", TableFormat::Csv}, {"json", TableFormat::Json}});
    if (!f) return "--format takes text, csv or json, not \"" + value + "\"";
    o.format = *f;
    return std::nullopt;
}

const OwnOptionReader<PriceFileOptions> kSharedReaders[] = {
    {"--prices",
     [](const std::string& v, PriceFileOptions& o) {
         return ReadTextOption(v, o.pricesFile, "--prices needs a file name");
     }},
    {"--price-column",
     [](const std::string& v, PriceFileOptions& o) {
         return ReadTextOption(v, o.priceColumn, "--price-column needs a column name");
     }},
    {"--start", [](const std::string& v,
                   PriceFileOptions& o) { return ReadDateOption(v, o.start, "--start"); }},
    {"--end",
     [](const std::string& v, PriceFileOptions& o) { return ReadDateOption(v, o.end, "--end"); }},
    {"--format", ReadFormat},
    {"--chart",
     [](const std::string& v, PriceFileOptions& o) { return ReadChartFileOption(v, o.chartFile); }},
};

}  // namespace

OptionProblem ReadPriceFileOptions(
    const CommandLine& line, PriceFileOptions& file,
    const std::function<OptionProblem(const std::string& name, const std::string& value)>& own) {
    for (const CommandLine::Use& use : line.uses) {
        if (use.values.empty()) continue;
        const std::string& value = use.values.back();
        OptionProblem problem = own(use.name, value);
        for (const auto& r : kSharedReaders) {
            if (use.name == r.name) problem = r.read(value, file);
        }
        if (problem) return problem;
    }
    return std::nullopt;
}

std::int32_t DayNumberOf(const ReportDate& date) {
    return GregorianDayNumber(date.year, date.month, date.day);
}

bool LoadPrices(const PriceFileOptions& file, PriceSeries& series, std::ostream& messages) {
    std::string error;
    if (LoadPriceSeries(file.pricesFile, file.priceColumn, series, error)) return true;
    messages << "vlt-report: " << error << '\n';
    return false;
}

MsgResult MessageLines::Show(const std::string& text, const std::string& /*title*/,
                             MsgButtons /*buttons*/, MsgIcon /*icon*/) {
    out_ << "vlt-report: " << EscapedForOneLine(text) << '\n';
    return MsgResult::Ok;
}

int RefusedOptions(const std::string& problem, CommandIo& io) {
    io.messages << "vlt-report: " << EscapedForOneLine(problem) << " (see --help)\n";
    return kReportUsage;
}

int WriteReportAndChart(const std::string& report, const PriceFileOptions& file,
                        const std::function<ChartModel()>& chart, int width, int height,
                        CommandIo& io) {
    if (!file.chartFile.empty() &&
        !WriteChartImage(chart(), file.chartFile, width, height, io.messages)) {
        return kReportRefused;
    }
    io.out << report;
    io.out.flush();
    return kReportDone;
}

}  // namespace vlt
