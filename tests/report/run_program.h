#pragma once
// Runs a program in a chosen working folder and collects its standard
// output, standard error and exit status.  The output goes through files, so
// that a long report cannot block the program on a full pipe.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vlt::testing {

struct ProgramRun {
    int exitCode = -1;  // -1 when the program did not end normally
    std::string out;
    std::string err;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::filesystem::path& folder) {
    const std::filesystem::path outPath = folder / "stdout.txt";
    const std::filesystem::path errPath = folder / "stderr.txt";
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::chdir(folder.c_str()) != 0) ::_exit(126);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(program.c_str(), cargv.data());
        ::_exit(127);
    }
    ProgramRun run;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    run.out = ReadWholeFile(outPath);
    run.err = ReadWholeFile(errPath);
    return run;
}

// Sets an environment variable for the life of the object (nothing when the
// value is null); a program started meanwhile inherits it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (value == nullptr) return;
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value, 1);
        set_ = true;
    }
    ~ScopedEnv() {
        if (!set_) return;
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
    bool set_ = false;
};

// A fresh, empty folder for one test.
inline std::filesystem::path FreshTestFolder(const std::string& tag) {
    std::filesystem::path p = std::filesystem::temp_directory_path() /
                              ("vlt-report-" + tag + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
    return p;
}

}  // namespace vlt::testing
