// The option table of a command of its own file: what its parser takes and
// refuses, and that --help shows every option it takes.
#include "app/report/command_line.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vlt
