// Damaged or missing data files never pass for a report: each data file of
// the program blanked, cut short, garbled, removed, or replaced by a folder,
// through the report's tables, show-all, search and simulate commands.  Every run
// that needs the file ends with a message naming it and exit status 1.
//
// The program runs from a copy of its folder, so that its data files can be
// damaged without touching the build's own.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/report/run_program.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;

enum class Damage { Blanked, Truncated, Garbled, Missing, Folder };

const char* DamageName(Damage d) {
    switch (d) {
        case Damage::Blanked: return "blanked";
        case Damage::Truncated: return "truncated";
        case Damage::Garbled: return "garbled";
        case Damage::Missing: return "missing";
        case Damage::Folder: return "folder";
    }
    return "?";
}

// An index file of exactly 2088 dated lines from 2007-01-03 on, every day,
// with values that change from day to day.
std::string IndexFileText() {
    std::string text;
    std::int64_t day = 2454104;  // 2007-01-03
    for (int n = 0; n < 2088; ++n, ++day) {
        // Gregorian date of a Julian day number.
        const std::int64_t a = day + 32044;
        const std::int64_t b = (4 * a + 3) / 146097;
        const std::int64_t c = a - 146097 * b / 4;
        const std::int64_t d = (4 * c + 3) / 1461;
        const std::int64_t e = c - 1461 * d / 4;
        const std::int64_t m = (5 * e + 2) / 153;
        const int dd = static_cast<int>(e - (153 * m + 2) / 5 + 1);
        const int mm = static_cast<int>(m + 3 - 12 * (m / 10));
        const int yy = static_cast<int>(100 * b + d - 4800 + m / 10);
        char line[64];
        std::snprintf(line, sizeof line, "%04d-%02d-%02d %.2f\r\n", yy, mm, dd,
                      10000.0 + (n * 37) % 500);
        text += line;
    }
    return text;
}

class DamagedData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        program_ = FreshTestFolder("damaged-program");
        for (const char* name :
             {"vlt-report", "libplanets_vlt.so", "libcalvexa.so", "VLT_help.txt", "jupiter.dac",
              "saturn.dac", "uranus.dac", "neptune.dac", "pluto.slx", "hpluto.2199.slx"}) {
            fs::copy_file(fs::path(VLT_BIN_DIR) / name, program_ / name);
        }
        work_ = FreshTestFolder("damaged-work");
        std::ofstream(work_ / "DJIA_data.txt", std::ios::binary) << IndexFileText();
    }
    static void TearDownTestSuite() {
        fs::remove_all(program_);
        fs::remove_all(work_);
    }

    ProgramRun Run(const std::vector<std::string>& args) {
        return RunProgram((program_ / "vlt-report").string(), args, work_);
    }

    // Damages one data file of the copied folder; Restore puts it back.
    void Spoil(const std::string& name, Damage damage) {
        const fs::path path = program_ / name;
        const std::string bytes = ReadWholeFile(fs::path(VLT_BIN_DIR) / name);
        const bool table = name.find(".slx") != std::string::npos;
        std::string spoilt = bytes;
        std::mt19937 random(12345);
        switch (damage) {
            case Damage::Blanked:
                // Same size, every character a blank (a table keeps its line
                // ends, so that every line of it is blank).
                for (char& c : spoilt) {
                    if (!(table && c == '\n')) c = ' ';
                }
                break;
            case Damage::Truncated: spoilt.resize(bytes.size() / 3); break;
            case Damage::Garbled:
                if (table) {
                    // Every entry from 2005 on becomes a line of control
                    // characters.
                    spoilt.clear();
                    std::size_t line = 0;
                    std::size_t start = 0;
                    const std::size_t from = 2453372 - 2305448;  // 2005-01-01
                    while (start < bytes.size()) {
                        std::size_t end = bytes.find('\n', start);
                        if (end == std::string::npos) end = bytes.size();
                        std::string entry = bytes.substr(start, end - start);
                        if (line >= from) {
                            for (char& c : entry) c = static_cast<char>(1 + random() % 8);
                        }
                        spoilt += entry + "\n";
                        start = end + 1;
                        ++line;
                    }
                } else {
                    for (char& c : spoilt) c = static_cast<char>(random() % 256);
                }
                break;
            case Damage::Missing:
            case Damage::Folder: break;
        }
        fs::remove_all(path);
        if (damage == Damage::Folder) {
            fs::create_directory(path);
        } else if (damage != Damage::Missing) {
            std::ofstream(path, std::ios::binary) << spoilt;
        }
    }
    void Restore(const std::string& name) {
        fs::remove_all(program_ / name);
        fs::copy_file(fs::path(VLT_BIN_DIR) / name, program_ / name);
    }

    static fs::path program_;
    static fs::path work_;
};

fs::path DamagedData::program_;
fs::path DamagedData::work_;

struct FileCase {
    std::string file;
    std::vector<std::vector<std::string>> commands;  // each needs the file
};

std::vector<FileCase> FileCases() {
    const std::vector<std::string> period = {"--start",    "2024-01-01", "--end",
                                             "2024-03-31", "--tz",       "GMT"};
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), period.begin(), period.end());
        return args;
    };
    auto search = [](std::vector<std::string> args) {
        args.insert(args.begin(), "search");
        for (const char* a : {"--aspect", "con", "--start", "2024-01-01", "--tz", "GMT"}) {
            args.push_back(a);
        }
        return args;
    };
    auto sim = [](const std::string& second) {
        return std::vector<std::string>{"simulate", "--first",    "Earth", "--second",  second,
                                        "--start",  "2010-01-01", "--end", "2010-03-31"};
    };
    std::vector<FileCase> cases;
    const std::pair<const char*, const char*> outer[] = {{"jupiter.dac", "Jupiter"},
                                                         {"saturn.dac", "Saturn"},
                                                         {"uranus.dac", "Uranus"},
                                                         {"neptune.dac", "Neptune"}};
    for (const auto& [file, planet] : outer) {
        cases.push_back({file,
                         {with({"tables", "--first", "Mars", "--second", planet}),
                          with({"showall", "--first", planet, "--keep", "first"}),
                          search({"--first", "Mars", "--second", planet}), sim(planet)}});
    }
    // The simulation is heliocentric: it never needs the geocentric table.
    cases.push_back({"pluto.slx",
                     {with({"tables", "--first", "Mars", "--second", "Pluto"}),
                      with({"showall", "--first", "Pluto", "--keep", "first"}),
                      search({"--first", "Mars", "--second", "Pluto"})}});
    cases.push_back({"hpluto.2199.slx",
                     {with({"tables", "--helio", "--first", "Mars", "--second", "Pluto"}),
                      with({"showall", "--helio", "--first", "Pluto", "--keep", "first"}),
                      search({"--helio", "--first", "Mars", "--second", "Pluto"}), sim("Pluto")}});
    return cases;
}

std::string Join(const std::vector<std::string>& args) {
    std::string s;
    for (const auto& a : args) s += (s.empty() ? "" : " ") + a;
    return s;
}

TEST_F(DamagedData, EveryDamagedFileStopsTheCommandsThatNeedIt) {
    const std::vector<FileCase> cases = FileCases();
    // The healthy files give reports, so the refusals below are the damage's.
    for (const FileCase& c : cases) {
        for (const auto& args : c.commands) {
            const ProgramRun run = Run(args);
            EXPECT_EQ(run.exitCode, 0) << Join(args) << "\n" << run.err;
            EXPECT_FALSE(run.out.empty()) << Join(args);
        }
    }
    for (const FileCase& c : cases) {
        for (Damage damage : {Damage::Blanked, Damage::Truncated, Damage::Garbled, Damage::Missing,
                              Damage::Folder}) {
            Spoil(c.file, damage);
            for (const auto& args : c.commands) {
                SCOPED_TRACE(c.file + " " + DamageName(damage) + ": " + Join(args));
                const ProgramRun run = Run(args);
                EXPECT_EQ(run.exitCode, 1) << run.out;
                const std::string named = "Cannot read the data file " + c.file + ": ";
                EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
                // One message about the file, not one per pass or step.
                EXPECT_EQ(run.err.find(named), run.err.rfind(named)) << run.err;
                EXPECT_EQ(run.out.find("Total number of investments"), std::string::npos);
            }
            Restore(c.file);
        }
    }
}

}  // namespace
}  // namespace vlt::testing
