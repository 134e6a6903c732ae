#include "app/report/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <sstream>

namespace vlt {
namespace {

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

const OptionSpec* FindSpec(const CommandSpec& spec, std::string_view name) {
    for (const OptionSpec& o : spec.options) {
        if (name == o.name) return &o;
    }
    return nullptr;
}

// What CLI11 cannot say in the command's own words: a word that is no
// option, an unknown option, a flag given a value, a value missing.
std::string FirstMistake(const CommandSpec& spec, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            return "unexpected \"" + arg + "\" for " + spec.name + " (options start with --)";
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const OptionSpec* o = FindSpec(spec, name);
        if (o == nullptr) return "unknown option \"" + name + "\" for " + spec.name;
        if (o->value == nullptr && eq != std::string::npos) return name + " takes no value";
        if (o->value != nullptr && eq == std::string::npos) {
            if (i + 1 >= args.size()) return name + " needs a value";
            ++i;
        }
    }
    return {};
}

// The lines of a text, split at '\n'.
std::vector<std::string> Lines(const char* text) {
    std::vector<std::string> lines;
    std::istringstream in(text == nullptr ? "" : text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

bool CommandLine::Given(std::string_view name) const {
    return std::any_of(uses.begin(), uses.end(), [&](const Use& u) { return u.name == name; });
}

std::optional<std::string> CommandLine::Value(std::string_view name) const {
    for (auto u = uses.rbegin(); u != uses.rend(); ++u) {
        if (u->name == name && !u->values.empty()) return u->values.back();
    }
    return std::nullopt;
}

ReadCommandResult ReadCommandLine(const CommandSpec& spec, const std::vector<std::string>& args) {
    ReadCommandResult result;
    if (std::any_of(args.begin(), args.end(), IsHelp)) {
        result.help = true;
        return result;
    }
    result.error = FirstMistake(spec, args);
    if (!result.error.empty()) return result;

    CLI::App app(spec.name);
    app.set_help_flag();
    std::vector<std::pair<const OptionSpec*, CLI::Option*>> declared;
    for (const OptionSpec& o : spec.options) {
        CLI::Option* option = o.value != nullptr ? app.add_option(o.name)->allow_extra_args(false)
                                                 : app.add_flag(o.name);
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        declared.emplace_back(&o, option);
    }
    // "--name=value" goes to CLI11 as two arguments, so that an empty value
    // reaches the command's own reader (which names what is missing).
    std::vector<std::string> split;
    for (const std::string& arg : args) {
        const std::size_t eq = arg.find('=');
        split.push_back(arg.substr(0, eq));
        if (eq != std::string::npos) split.push_back(arg.substr(eq + 1));
    }
    try {
        // CLI11 takes a vector of arguments last to first.
        app.parse(std::vector<std::string>(split.rbegin(), split.rend()));
    } catch (const CLI::ParseError& e) {
        result.error = std::string("cannot read the command line: ") + e.what();
        return result;
    }
    for (const auto& [o, option] : declared) {
        if (option->count() == 0) continue;
        CommandLine::Use use{o->name, {}};
        if (o->value != nullptr) use.values = option->results();
        result.line.uses.push_back(std::move(use));
    }
    result.ok = true;
    return result;
}

std::string CommandHelp(const CommandSpec& spec) {
    std::ostringstream out;
    out << "  " << spec.name << '\n';
    for (const std::string& line : Lines(spec.summary)) out << "      " << line << '\n';
    for (const char* example : spec.examples) out << "        vlt-report " << example << '\n';
    for (const OptionSpec& o : spec.options) {
        std::string head =
            std::string(o.name) + (o.value != nullptr ? std::string(" ") + o.value : "");
        const std::vector<std::string> help = Lines(o.help);
        constexpr std::size_t kColumn = 26;
        out << "    " << head;
        for (std::size_t k = 0; k < help.size(); ++k) {
            const std::size_t at = k == 0 ? 4 + head.size() : 0;
            if (k == 0 && at + 1 >= kColumn) {
                out << '\n' << std::string(kColumn, ' ');
            } else {
                out << std::string(kColumn - at, ' ');
            }
            out << help[k] << '\n';
        }
        if (help.empty()) out << '\n';
        if (o.example != nullptr) out << std::string(kColumn, ' ') << "e.g. " << o.example << '\n';
    }
    return out.str();
}

const ReportCommandEntry* FindCommandEntry(std::string_view name) {
    for (const ReportCommandEntry& e : CommandEntries()) {
        if (name == e.spec().name) return &e;
    }
    return nullptr;
}

}  // namespace vlt
