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

// What CLI11 would read otherwise than the command line is documented (a
// short option, "--" as the end of options, "--flag=value"), or could only
// refuse in its own words: a word that is no option, an unknown option, a
// flag given a value, a value missing.  The first such argument refuses
// the line.  Otherwise `forCli` gets the line as CLI11 reads it: each
// option and its value as two arguments ("--name=value" split at its first
// "=", so that an empty value reaches the command's own reader, which names
// what is missing).
void ScanLine(const CommandSpec& spec, const std::vector<std::string>& args,
              ReadCommandResult& result, std::vector<std::string>& forCli) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            result.strayWord = arg;
            result.error =
                "unexpected \"" + arg + "\" for " + spec.name + " (options start with --)";
            return;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const OptionSpec* o = FindSpec(spec, name);
        if (o == nullptr) {
            result.unknownOption = name;
            result.error = "unknown option \"" + name + "\" for " + spec.name;
            return;
        }
        if (o->value == nullptr && eq != std::string::npos) {
            result.error = name + " takes no value";
            return;
        }
        forCli.push_back(name);
        if (eq != std::string::npos) {
            forCli.push_back(arg.substr(eq + 1));
        } else if (o->value != nullptr) {
            if (i + 1 >= args.size()) {
                result.error = name + " needs a value";
                return;
            }
            forCli.push_back(args[++i]);
        }
    }
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
    std::vector<std::string> split;
    ScanLine(spec, args, result, split);
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
    std::vector<const char*> argv{spec.name};
    for (const std::string& arg : split) argv.push_back(arg.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
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

std::string OptionHelp(const OptionSpec& o) {
    std::ostringstream out;
    const std::string head =
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
    return out.str();
}

std::string CommandHelp(const CommandSpec& spec) {
    std::ostringstream out;
    out << "  " << spec.name << '\n';
    for (const std::string& line : Lines(spec.summary)) out << "      " << line << '\n';
    for (const char* example : spec.examples) out << "        vlt-report " << example << '\n';
    for (const OptionSpec& o : spec.options) out << OptionHelp(o);
    return out.str();
}

const ReportCommandEntry* FindCommandEntry(std::string_view name) {
    for (const ReportCommandEntry& e : CommandEntries()) {
        if (name == e.spec().name) return &e;
    }
    return nullptr;
}

}  // namespace vlt
