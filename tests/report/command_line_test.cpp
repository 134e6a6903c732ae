// The option table of a command of its own file: what its parser takes and
// refuses, and that --help shows every option it takes.
#include "app/report/command_line.h"

#include <gtest/gtest.h>

#include "app/report/price_file_options.h"

namespace vlt {
namespace {

const CommandSpec& Sample() {
    static const CommandSpec kSpec{
        "sample",
        "A command for the tests.",
        {"sample --planet Mars"},
        {{"--planet", "NAME", "the planet\nsecond line", "--planet Mars"},
         {"--all", nullptr, "every planet", nullptr},
         {"--a-rather-long-option-name", "VALUE", "wraps below its name", nullptr}}};
    return kSpec;
}

struct LineCase {
    std::vector<std::string> args;
    bool ok;
    std::string planet;  // the value read, when ok
    bool all;
    std::string error;  // a part of the refusal, when not ok
};

TEST(CommandLine, ReadsAndRefusesLines) {
    const LineCase cases[] = {
        {{}, true, "", false, ""},
        {{"--planet", "Mars"}, true, "Mars", false, ""},
        {{"--planet=Venus", "--all"}, true, "Venus", true, ""},
        {{"--planet", "Mars", "--planet", "Saturn"}, true, "Saturn", false, ""},
        {{"--planet="}, true, "", false, ""},
        {{"--planet", "--all"}, true, "--all", false, ""},
        // Only an option's own "=" divides it from its value.
        {{"--planet", "a=b"}, true, "a=b", false, ""},
        {{"--planet=a=b"}, true, "a=b", false, ""},
        {{"--planet"}, false, "", false, "--planet needs a value"},
        {{"--all=yes"}, false, "", false, "--all takes no value"},
        {{"--moon"}, false, "", false, "unknown option \"--moon\" for sample"},
        {{"Mars"}, false, "", false, "unexpected \"Mars\" for sample"},
        {{"-p", "Mars"}, false, "", false, "unexpected \"-p\""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ReadCommandResult r = ReadCommandLine(Sample(), c.args);
        ASSERT_EQ(r.ok, c.ok) << r.error;
        EXPECT_FALSE(r.help);
        if (!c.ok) {
            EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
            continue;
        }
        EXPECT_EQ(r.line.Value("--planet").value_or(""), c.planet);
        EXPECT_EQ(r.line.Given("--all"), c.all);
    }
}

// A refusal names what it is about, so that a caller can say more of it.
TEST(CommandLine, RefusalNamesTheOptionOrWord) {
    const struct {
        std::vector<std::string> args;
        std::string unknownOption;
        std::string strayWord;
    } cases[] = {
        {{"--moon"}, "--moon", ""},
        {{"--moon=full"}, "--moon", ""},
        {{"--planet", "Mars", "tables"}, "", "tables"},
        {{"-p"}, "", "-p"},
        {{"--planet"}, "", ""},
    };
    for (const auto& c : cases) {
        const ReadCommandResult r = ReadCommandLine(Sample(), c.args);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.unknownOption, c.unknownOption);
        EXPECT_EQ(r.strayWord, c.strayWord);
    }
}

TEST(CommandLine, HelpWinsOverMistakes) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"--moon", "-h"}, {"--planet", "Mars", "--help"}}) {
        EXPECT_TRUE(ReadCommandLine(Sample(), args).help);
    }
}

TEST(CommandLine, HelpShowsEveryOptionWithItsText) {
    const std::string help = CommandHelp(Sample());
    for (const OptionSpec& o : Sample().options) {
        EXPECT_NE(help.find(o.name), std::string::npos) << o.name;
    }
    EXPECT_NE(help.find("    --planet NAME         the planet\n"
                        "                          second line\n"
                        "                          e.g. --planet Mars\n"),
              std::string::npos)
        << help;
    EXPECT_NE(help.find("    --a-rather-long-option-name VALUE\n"
                        "                          wraps below its name\n"),
              std::string::npos)
        << help;
    EXPECT_NE(help.find("vlt-report sample --planet Mars"), std::string::npos);
}

TEST(CommandLine, EveryEntryIsFoundByItsName) {
    for (const ReportCommandEntry& e : CommandEntries()) {
        EXPECT_EQ(FindCommandEntry(e.spec().name), &e);
    }
    EXPECT_EQ(FindCommandEntry("tables"), nullptr);
}

struct CountOptions {
    int count = 0;
};

const OwnOptionReader<CountOptions> kCountReader[] = {
    {"--count", [](const std::string& v, CountOptions& o) {
         return ReadWholeOption(v, o.count, "--count", 1, 9);
     }}};

struct SharedCase {
    std::vector<CommandLine::Use> uses;
    std::string problem;  // the start of the refusal; "" when the line is read
    std::string prices;
    int count;
    TableFormat format;
};

// The shared options and a command's own are read in the order of the line:
// the first mistake is the one told, whichever reads it.
TEST(PriceFileOptions, SharedAndOwnOptionsAreReadInLineOrder) {
    const SharedCase cases[] = {
        {{{"--prices", {"a.csv"}}, {"--count", {"3"}}, {"--format", {"JSON"}}},
         "",
         "a.csv",
         3,
         TableFormat::Json},
        {{{"--prices", {"a.csv", "b.csv"}}, {"--both", {}}, {"--other", {"x"}}},
         "",
         "b.csv",
         0,
         TableFormat::Text},
        {{{"--count", {"0"}}, {"--format", {"xml"}}}, "--count takes", "", 0, TableFormat::Text},
        {{{"--format", {"xml"}}, {"--count", {"0"}}}, "--format takes", "", 0, TableFormat::Text},
        {{{"--count", {"2"}}, {"--start", {"2024-02-30"}}},
         "malformed date",
         "",
         2,
         TableFormat::Text},
        {{{"--chart", {"c.gif"}}}, "--chart takes", "", 0, TableFormat::Text},
    };
    for (const SharedCase& c : cases) {
        CommandLine line;
        line.uses = c.uses;
        PriceFileOptions file;
        CountOptions own;
        const OptionProblem problem =
            ReadPriceFileOptions<CountOptions>(line, file, kCountReader, own);
        const std::string told = problem.value_or("");
        EXPECT_EQ(told.substr(0, c.problem.size()), c.problem) << told;
        EXPECT_EQ(problem.has_value(), !c.problem.empty()) << told;
        EXPECT_EQ(file.pricesFile, c.prices) << told;
        EXPECT_EQ(own.count, c.count) << told;
        EXPECT_EQ(file.format, c.format) << told;
    }
}

}  // namespace
}  // namespace vlt
