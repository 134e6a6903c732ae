// Files replaced at once, and standard output that notices a failed write:
// what stands at the target name afterwards (the new bytes, or the old file
// untouched), what happens to a link there, and the error when the device
// is full, when the file size limit is reached and when a tiny file system
// runs out of room.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>

#include "app/support/atomic_file.h"
#include "app/support/checked_output.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// The names in a folder other than those given: temporary files left over.
int OtherEntries(const fs::path& folder, std::initializer_list<std::string> expected) {
    int others = 0;
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) ++others;
    }
    return others;
}

// Runs `body` in a child process and returns its exit status (-1 when it
// did not exit normally); a limit on file size or a mount then stays there.
int InChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Files may grow to `bytes` at most: a longer write fails with EFBIG, as a
// full disk fails with ENOSPC, at the same place in the writer.
void LimitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("vlt-atomic-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                   "-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(AtomicFileTest, WhatStandsAtTheNameAfterwards) {
    const std::string fresh = "new content\n";
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> prepare;  // makes the target "t"
        int error;
    };
    const std::vector<Case> cases = {
        {"no file yet", [](const fs::path&) {}, 0},
        {"a file replaced", [](const fs::path& f) { WriteBytes(f / "t", std::string(9000, 'o')); },
         0},
        {"a link to another file",
         [](const fs::path& f) {
             WriteBytes(f / "other", "other");
             fs::create_symlink("other", f / "t");
         },
         0},
        {"a dangling link", [](const fs::path& f) { fs::create_symlink("nowhere", f / "t"); }, 0},
        {"a folder", [](const fs::path& f) { fs::create_directory(f / "t"); }, EISDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        c.prepare(folder_);
        const fs::path target = folder_ / "t";
        EXPECT_EQ(WriteFileAtomically(target.string(), fresh, 0644), c.error);
        if (c.error == 0) {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
            EXPECT_EQ(ReadBytes(target), fresh);
        } else {
            EXPECT_TRUE(fs::is_directory(fs::symlink_status(target)));
        }
        // A link's file is never written through the link.
        if (fs::exists(folder_ / "other")) {
            EXPECT_EQ(ReadBytes(folder_ / "other"), "other");
        }
        EXPECT_EQ(OtherEntries(folder_, {"t", "other"}), 0);
    }
}

TEST_F(AtomicFileTest, NamesThatCannotBeWritten) {
    struct Case {
        std::string path;
        int error;
    };
    const std::vector<Case> cases = {
        {(folder_ / "no" / "such" / "folder.txt").string(), ENOENT},
        {folder_.string() + "/", EISDIR},
        {"/dev/full", ENOSPC},  // written in place: a device is never replaced
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.path.rfind("/dev/", 0) == 0 && !fs::exists(c.path)) continue;
        EXPECT_EQ(WriteFileAtomically(c.path, "x", 0644), c.error);
    }
    if (fs::exists("/dev/null")) {
        EXPECT_EQ(WriteFileAtomically("/dev/null", "x", 0644), 0);
        EXPECT_TRUE(fs::is_character_file("/dev/null"));
    }
}

TEST_F(AtomicFileTest, ReplacedFileKeepsItsPermissionsAndNewOnesFollowTheCaller) {
    const fs::path old = folder_ / "old";
    WriteBytes(old, "x");
    ::chmod(old.c_str(), 0640);
    ASSERT_EQ(WriteFileAtomically(old.string(), "y", 0600), 0);
    struct stat st {};
    ASSERT_EQ(::stat(old.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    const mode_t mask = ::umask(022);
    ASSERT_EQ(WriteFileAtomically((folder_ / "new").string(), "z", 0666), 0);
    ::umask(mask);
    ASSERT_EQ(::stat((folder_ / "new").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(AtomicFileTest, NameThatIsNotUtf8IsWrittenByteForByte) {
    const std::string name = folder_.string() + "/chart\xFF\xFE.png";
    ASSERT_EQ(WriteFileAtomically(name, "bytes", 0644), 0);
    EXPECT_EQ(ReadBytes(name), "bytes");
    int entries = 0;
    for (const auto& e : fs::directory_iterator(folder_)) {
        ++entries;
        EXPECT_EQ(e.path().filename().string(), "chart\xFF\xFE.png");
    }
    EXPECT_EQ(entries, 1);
}

// A write that runs out of room: the old file stays whole and no temporary
// file is left.  The file size limit stands for a full disk everywhere; a
// real tiny file system is used where this machine lets the test mount one.
TEST_F(AtomicFileTest, OldFileIsKeptWhenTheRoomRunsOut) {
    const fs::path target = folder_ / "t";
    const std::string old(3000, 'o');
    WriteBytes(target, old);
    const int status = InChild([&] {
        LimitFileSize(4096);
        return WriteFileAtomically(target.string(), std::string(20000, 'n'), 0644);
    });
    EXPECT_EQ(status, EFBIG);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(OtherEntries(folder_, {"t"}), 0);
}

TEST_F(AtomicFileTest, OldFileIsKeptWhenATinyFileSystemIsFull) {
    // 0: done; 100: this machine does not let the test mount (skipped).
    const int status = InChild([&] {
        if (::unshare(CLONE_NEWNS) != 0) return 100;
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 100;
        if (::mount("vlt-test", folder_.c_str(), "tmpfs", 0, "size=64k") != 0) return 100;
        const fs::path target = folder_ / "t";
        const std::string old(20000, 'o');
        WriteBytes(target, old);
        const int err = WriteFileAtomically(target.string(), std::string(80000, 'n'), 0644);
        if (err != ENOSPC) return 1;
        if (ReadBytes(target) != old) return 2;
        if (OtherEntries(folder_, {"t"}) != 0) return 3;
        return 0;
    });
    if (status == 100) GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(status, 0) << "1: not ENOSPC, 2: the old file changed, 3: a temporary was left";
}

// Standard output through the checked buffer: every byte arrives in order,
// small pieces and pieces larger than the buffer; a failed write is
// remembered and reported once at the end.
TEST(CheckedOutput, WritesEveryByteOrReportsTheFailure) {
    const fs::path file = fs::temp_directory_path() / ("vlt-checked-" + std::to_string(::getpid()));
    struct Case {
        const char* target;
        int error;
    };
    const Case cases[] = {{nullptr, 0}, {"/dev/full", ENOSPC}};
    std::string expected;
    for (int i = 0; i < 5000; ++i) expected += "line " + std::to_string(i) + "\n";
    expected += std::string(200000, 'L');  // past the buffer in one piece
    expected += "end\n";
    for (const Case& c : cases) {
        if (c.target != nullptr && !fs::exists(c.target)) continue;
        const std::string target = c.target != nullptr ? c.target : file.string();
        SCOPED_TRACE(target);
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        {
            CheckedFdBuffer buffer(fd);
            std::ostream out(&buffer);
            out << expected.substr(0, expected.size() - 200004) << std::flush;
            out.write(expected.data() + expected.size() - 200004, 200000);
            out << "end\n";
            EXPECT_EQ(buffer.Finish(), c.error);
            EXPECT_EQ(out.good(), c.error == 0);
        }
        ::close(fd);
        if (c.error == 0) {
            EXPECT_EQ(ReadBytes(file), expected);
        }
    }
    EXPECT_EQ(OutputFailureText(ENOSPC),
              "cannot write to standard output: No space left on device");
    fs::remove(file);
}

}  // namespace
}  // namespace vlt
