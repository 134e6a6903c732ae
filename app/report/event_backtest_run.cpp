#include "app/report/event_backtest_run.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <stop_token>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/report/report_run.h"
#include "app/report/stats_progress.h"
#include "app/simulation/index_data.h"
#include "app/simulation/price_series.h"
#include "app/support/escaped_text.h"

namespace vlt {

const char* const kHoldHelp =
    "sell after N trading days (days with a price, 1 to 1000)\ninstead of at a --close event";

std::optional<std::string> EventBacktestProblem(const EventBacktestOptions& o) {
    if (o.opens.empty()) return std::string("--close and --hold go with --open EVENT");
    if (o.closes.empty() == (o.holdDays == 0)) {
        return std::string("--open needs one of --close EVENT and --hold DAYS");
    }
    return std::nullopt;
}

namespace {

// The start-up's messages (a Pluto table that cannot be read) as lines.
class MessageLines final : public MessageBoxes {
public:
    explicit MessageLines(std::ostream& out) : out_(out) {}
    MsgResult Show(const std::string& text, const std::string& /*title*/, MsgButtons /*buttons*/,
                   MsgIcon /*icon*/) override {
        out_ << "vlt-report: " << EscapedForOneLine(text) << '\n';
        return MsgResult::Ok;
    }

private:
    std::ostream& out_;
};

// The prices and the period, or the one line that says why not.
struct PricePeriod {
    std::string name;
    DailyValues values;  // 0 on days without trading: trades count trading days
    std::string problem;
};

PricePeriod ReadPeriod(const EventBacktestOptions& o) {
    PricePeriod period;
    std::error_code ignored;
    period.name = o.pricesFile ? *o.pricesFile
                               : IndexFilePath(std::filesystem::current_path(ignored).string(), "");
    PriceSeries series;
    if (!LoadPriceSeries(period.name, o.pricesFile ? o.priceColumn : kDefaultPriceColumn, series,
                         period.problem)) {
        return period;
    }
    if (!o.pricesFile) period.name = kIndexFileName;
    const auto dayOf = [](const ReportDate& d) {
        return GregorianDayNumber(d.year, d.month, d.day);
    };
    const std::int32_t start = o.start ? dayOf(*o.start) : series.FirstDay();
    const std::int32_t end = o.end ? dayOf(*o.end) : series.LastDay();
    if (start < series.FirstDay() || end > series.LastDay() || start >= end) {
        period.problem = "the period is not within the price file's dates";
        return period;
    }
    period.values.firstDay = start;
    period.values.values.assign(static_cast<std::size_t>(end - start + 1), 0.0);
    int prices = 0;
    for (std::size_t i = 0; i < series.days.size(); ++i) {
        if (series.days[i] < start || series.days[i] > end || !(series.values[i] > 0.0)) continue;
        period.values.values[static_cast<std::size_t>(series.days[i] - start)] = series.values[i];
        ++prices;
    }
    if (prices < kStatisticsMinPrices) {
        period.problem = "the period holds " + std::to_string(prices) +
                         " prices; a backtest needs " + std::to_string(kStatisticsMinPrices) +
                         " or more";
    }
    return period;
}

// The days of every kind named, each kind found once.
struct FoundDays {
    std::map<std::string, std::vector<std::int32_t>> days;
    std::string failure;
    bool stopped = false;
};

FoundDays FindDays(const EventBacktestOptions& o, const DailyValues& values, std::stop_token stop) {
    FoundDays found;
    const std::int32_t last = values.firstDay + static_cast<std::int32_t>(values.values.size()) - 1;
    std::vector<EventWord> words = o.opens;
    words.insert(words.end(), o.closes.begin(), o.closes.end());
    std::map<std::string, SkyEventList> lists;  // by finder
    for (const EventWord& w : words) {
        if (found.days.count(w.text) != 0) continue;
        const std::string key = FinderKey(w);
        if (lists.count(key) == 0) lists[key] = FindEventsOf(w, values.firstDay, last, stop);
        const SkyEventList& list = lists[key];
        if (InterruptGuard::Interrupted() || list.stopped) {
            found.stopped = true;
            return found;
        }
        if (!list.failure.empty()) {
            found.failure = w.text + ": " + list.failure;
            return found;
        }
        found.days[w.text] = DaysOfEvents(w, list);
    }
    return found;
}

std::vector<EventCombination> Combinations(const EventBacktestOptions& o, const FoundDays& found,
                                           const DailyValues& values) {
    std::vector<EventCombination> combinations;
    const std::vector<EventWord> holding(1);
    for (const EventWord& open : o.opens) {
        for (const EventWord& close : o.closes.empty() ? holding : o.closes) {
            EventTradeRule rule;
            rule.openDays = found.days.at(open.text);
            if (o.holdDays == 0) rule.closeDays = found.days.at(close.text);
            rule.holdTradingDays = o.holdDays;
            combinations.push_back(
                {open.text, o.holdDays == 0 ? close.text : "", PairEventTrades(values, rule)});
        }
    }
    return combinations;
}

FamilyResult Judged(const EventBacktestOptions& o, const EventBacktestReport& report,
                    CommandIo& io) {
    FamilyRequest request;
    request.prices = *report.values;
    for (const EventCombination& c : report.combinations) {
        FamilyCombination member;
        member.trades = c.trades.trades;
        request.combinations.push_back(std::move(member));
    }
    // Without the statistics one trial is enough for the counts and gains.
    request.trials = o.statistics ? o.trials : 1;
    request.seed = o.seed;
    request.minTrades = o.minTrades;
    request.jobs = o.jobs;
    std::optional<ProgressLine> line;
    if (io.showProgress && o.statistics) line.emplace(io.messages, "Statistics");
    request.progress = [&line](int done, int total) {
        if (line) line->Show(static_cast<double>(done) / total);
        return !InterruptGuard::Interrupted();
    };
    FamilyResult result = ComputeFamilyStatistics(request);
    if (line) line->Clear();
    return result;
}

int Interrupted(CommandIo& io) {
    io.messages << "vlt-report: interrupted; the backtest was not finished and nothing is "
                   "written\n";
    return kReportInterrupted;
}

}  // namespace

int RunEventBacktest(const EventBacktestOptions& o, CommandIo& io) {
    const PricePeriod period = ReadPeriod(o);
    if (!period.problem.empty()) {
        io.messages << "vlt-report: " << EscapedForOneLine(period.problem) << '\n';
        return kReportRefused;
    }
    InitPositions();
    MessageLines lines(io.messages);
    ReadPlutoData(lines);
    const InterruptGuard interrupts;
    const FoundDays found = FindDays(o, period.values, std::stop_token());
    if (found.stopped) return Interrupted(io);
    if (!found.failure.empty()) {
        io.messages << "vlt-report: " << EscapedForOneLine(found.failure) << '\n';
        return kReportRefused;
    }
    EventBacktestReport report;
    report.prices = period.name;
    report.holdDays = o.holdDays;
    report.statistics = o.statistics;
    report.listTrades = o.listTrades;
    report.values = &period.values;
    report.combinations = Combinations(o, found, period.values);
    report.family = Judged(o, report, io);
    if (report.family.cancelled) return Interrupted(io);
    switch (o.format) {
        case EventBacktestFormat::Csv: io.out << EventBacktestCsv(report); break;
        case EventBacktestFormat::Json: io.out << EventBacktestJson(report); break;
        case EventBacktestFormat::Text: io.out << EventBacktestText(report); break;
    }
    io.out.flush();
    return kReportDone;
}

}  // namespace vlt
