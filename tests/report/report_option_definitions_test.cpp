// vlt-report's options against their definitions: every defined option is
// in --help with its example, and a line that gives it (with its example's
// value) is read by exactly the commands its definition names, through the
// whole parser.  Adding an option or moving it to another command needs no
// change here.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/exit_status.h"
#include "app/report/report_options.h"

namespace vlt::testing {
namespace {

// The words of an example as a shell would pass them ("Adj Close" quoted).
std::vector<std::string> Words(const std::string& example) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (char c : example) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

const ReportOptionDefinition* Definition(const std::string& name) {
    for (const ReportOptionDefinition& o : ReportOptionDefinitions()) {
        if (name == o.text.name) return &o;
    }
    return nullptr;
}

// A command as a line starts it, and the run whose options it takes.
struct CommandForm {
    std::vector<std::string> words;
    unsigned run;
    bool chart;
};

const std::vector<CommandForm>& Forms() {
    static const std::vector<CommandForm> kForms = {
        {{"tables"}, kTablesRun, false},
        {{"search"}, kSearchRun, false},
        {{"showall"}, kShowAllRun, false},
        {{"simulate"}, kSimulateRun, false},
        {{"chart", "--of", "tables", "--out", "a.png"}, kTablesRun, true},
        {{"chart", "--of", "showall", "--out", "a.png"}, kShowAllRun, true},
        {{"chart", "--of", "simulate", "--out", "a.png"}, kSimulateRun, true},
    };
    return kForms;
}

// What the definition says of the command: its runs, and for a chart how
// the option goes with one.
bool DefinitionTakes(const ReportOptionDefinition& o, const CommandForm& form) {
    const bool ofTheRun = (o.place.runs & form.run) != 0;
    if (!form.chart) return ofTheRun && o.place.chart != ChartUse::ChartOnly;
    switch (o.place.chart) {
        case ChartUse::WithItsRuns: return ofTheRun;
        case ChartUse::AnyChart:
        case ChartUse::ChartOnly: return true;
        case ChartUse::NotForChart: return false;
    }
    return false;
}

TEST(ReportOptionDefinitions, EachOptionIsReadByExactlyItsCommands) {
    ASSERT_FALSE(ReportOptionDefinitions().empty());
    for (const ReportOptionDefinition& o : ReportOptionDefinitions()) {
        ASSERT_NE(o.text.example, nullptr) << o.text.name;
        const std::vector<std::string> example = Words(o.text.example);
        // The example shows the option itself.
        ASSERT_FALSE(example.empty());
        EXPECT_NE(std::find(example.begin(), example.end(), o.text.name), example.end())
            << o.text.example;
        for (const CommandForm& form : Forms()) {
            std::vector<std::string> line = form.words;
            if (o.place.needs != nullptr) {
                const ReportOptionDefinition* needed = Definition(o.place.needs);
                ASSERT_NE(needed, nullptr) << o.text.name << " needs " << o.place.needs;
                for (const std::string& w : Words(needed->text.example)) line.push_back(w);
            }
            line.insert(line.end(), example.begin(), example.end());
            SCOPED_TRACE(::testing::PrintToString(line));
            const ReportArguments parsed = ParseReportArguments(line);
            EXPECT_EQ(parsed.ok, DefinitionTakes(o, form)) << parsed.error;
            if (parsed.ok) {
                EXPECT_EQ(parsed.options.chart, form.chart);
                continue;
            }
            // Refused for where the option (or the one it needs) belongs, not
            // for its value.
            const bool namesIt =
                parsed.error.rfind(o.text.name + std::string(" "), 0) == 0 ||
                (o.place.needs != nullptr && parsed.error.rfind(o.place.needs, 0) == 0);
            EXPECT_TRUE(namesIt) << parsed.error;
            EXPECT_TRUE(parsed.error.find(" belongs to the ") != std::string::npos ||
                        parsed.error.find(" does not apply to chart") != std::string::npos)
                << parsed.error;
        }
    }
}

TEST(ReportOptionDefinitions, HelpShowsEveryOptionAndCommand) {
    const std::string help = ReportUsageText();
    for (const ReportOptionDefinition& o : ReportOptionDefinitions()) {
        const std::string head =
            std::string("\n    ") + o.text.name +
            (o.text.value != nullptr ? std::string(" ") + o.text.value + " " : std::string(" "));
        EXPECT_NE(help.find(head), std::string::npos) << o.text.name;
        EXPECT_NE(help.find(std::string("e.g. ") + o.text.example + "\n"), std::string::npos)
            << o.text.name;
    }
    for (const ReportCommandDefinition& c : ReportCommandDefinitions()) {
        EXPECT_NE(help.find(std::string("\n  ") + c.name + " "), std::string::npos) << c.name;
        for (const char* example : c.examples) {
            EXPECT_NE(help.find(std::string("vlt-report ") + example + "\n"), std::string::npos);
            // The commands' own examples are lines the parser takes.
            std::vector<std::string> words = Words(example);
            const ReportArguments parsed = ParseReportArguments(words);
            EXPECT_TRUE(parsed.ok) << example << ": " << parsed.error;
        }
    }
}

// The statuses the program's callers rely on, and the words --help gives
// each: the paragraph is made from the same table that ExitStatusOf reads.
TEST(ExitStatuses, HelpListsTheStatusOfEveryOutcome) {
    const struct {
        RunOutcome outcome;
        int status;
        const char* words;  // how --help begins to explain it
    } cases[] = {
        {RunOutcome::Done, 0, "the report was made;"},
        {RunOutcome::Refused, 1, "the window refused the request or ended it early"},
        {RunOutcome::WrongCommandLine, 2, "the command line is wrong"},
        {RunOutcome::Interrupted, 130, "Ctrl-C stopped the statistics"},
    };
    const std::string usage = ReportUsageText();
    std::string help = usage.substr(usage.rfind("\n\nExit status:") + 2);
    EXPECT_EQ(help, ExitStatusHelp());
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 76U) << line;
    std::replace(help.begin(), help.end(), '\n', ' ');
    for (const auto& c : cases) {
        EXPECT_EQ(ExitStatusOf(c.outcome), c.status) << c.words;
        std::string said = std::to_string(c.status);
        said.append(" ").append(c.words);
        EXPECT_NE(help.find(said), std::string::npos) << said;
    }
    EXPECT_EQ(std::size(cases), kExitStatuses.size());
}

}  // namespace
}  // namespace vlt::testing
