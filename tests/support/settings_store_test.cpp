// The settings store on Linux: statuses, blanks, line ends, atomic saves and
// tolerance of a broken file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/support/settings_store.h"

namespace vlt {
namespace {

class RecordingBoxes : public MessageBoxes {
public:
    std::vector<std::string> texts;
    std::vector<std::string> titles;
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons,
                   MsgIcon) override {
        texts.push_back(text);
        titles.push_back(title);
        return MsgResult::Ok;
    }
};

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("vlt-store-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        SetSettingsFolder((folder_ / "Quillon").string());
    }
    void TearDown() override {
        SetSettingsFolder("");
        std::error_code ec;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path folder_;
};

TEST_F(SettingsStoreTest, DefaultFolderFollowsTheConfigurationHome) {
    SetSettingsFolder("");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("XDG_CONFIG_HOME", "/nonexistent/xdg-here", 1);
    EXPECT_EQ(SettingsFolder(), "/nonexistent/xdg-here/Quillon");
    ::unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (home != nullptr) {
        EXPECT_EQ(SettingsFolder(), std::string(home) + "/.config/Quillon");
    }
    if (old != nullptr) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    SetSettingsFolder((folder_ / "Quillon").string());
}

TEST_F(SettingsStoreTest, WriteStatusTellsNewAndExistingKeys) {
    const std::string key = std::string(kMakerKey) + "\\VLT";
    const SettingsResult first = RegWriteString(RegRoot::CurrentUser, key, "A", "1");
    EXPECT_EQ(first.status, SettingsStatus::NewKeyCreated);
    EXPECT_EQ(first.text.rfind("0 New key created.  ", 0), 0u) << first.text;
    const SettingsResult second = RegWriteString(RegRoot::CurrentUser, key, "B", "2");
    EXPECT_EQ(second.status, SettingsStatus::KeyAlreadyExists);
    EXPECT_EQ(second.text.rfind("0 Key already exists.  ", 0), 0u) << second.text;
    // Key paths and names ignore case, as in the registry.
    std::string v;
    EXPECT_EQ(RegReadString(RegRoot::CurrentUser, std::string(kMakerKey) + "\\vlt", "a", v).text,
              "0 OK");
    EXPECT_EQ(v, "1");
}

TEST_F(SettingsStoreTest, ReadStatuses) {
    const std::string key = std::string(kMakerKey) + "\\VLT";
    ASSERT_TRUE(RegWriteString(RegRoot::CurrentUser, key, "Name", "value").Succeeded());
    ASSERT_TRUE(RegWriteString(RegRoot::CurrentUser, key, "Empty", "").Succeeded());
    struct Case {
        std::string key;
        std::string name;
        SettingsStatus status;
        std::string text;
        std::string value;
    } cases[] = {
        {key, "Name", SettingsStatus::Ok, "0 OK", "value"},
        {"", "Name", SettingsStatus::KeyNotFound, "1 Key not found or is empty.", ""},
        {key + "\\Other", "Name", SettingsStatus::KeyNotFound, "1 Key not found or is empty.", ""},
        {key, "", SettingsStatus::NameNotSpecified, "2 Name not specified.", ""},
        {key, "Missing", SettingsStatus::NameNotFound, "3 Name not found.", ""},
        {key, "Empty", SettingsStatus::NameNotFound, "3 Name not found.", ""},
    };
    for (const Case& c : cases) {
        std::string v = "junk";
        const SettingsResult r = RegReadString(RegRoot::CurrentUser, c.key, c.name, v);
        EXPECT_EQ(r.status, c.status) << c.key << " " << c.name;
        EXPECT_EQ(r.text, c.text) << c.key << " " << c.name;
        EXPECT_EQ(r.Succeeded(), c.status == SettingsStatus::Ok);
        EXPECT_EQ(v, c.value);
    }
}

TEST_F(SettingsStoreTest, ValuesSurviveWhateverTheyHold) {
    const std::string values[] = {
        " ",
        "a=b",
        "[section]",
        "back\\slash",
        "tab\there",
        "x\\ny",
        "\\x41",
        "caf\xC3\xA9 10\xC2\xB0",
        std::string(3000, 'z'),
        "; not a comment",
    };
    int i = 0;
    for (const std::string& value : values) {
        std::string name = "n=";
        name += std::to_string(i++);
        name += "[;]";
        ASSERT_TRUE(SaveStringSetting("\\VLT\\Odd", name, value, false));
        std::string back;
        ASSERT_TRUE(GetStringSetting("\\VLT\\Odd", name, back, false, "default"));
        EXPECT_EQ(back, value);
    }
}

TEST_F(SettingsStoreTest, EmptyTextIsStoredAsASingleBlank) {
    ASSERT_TRUE(SaveStringSetting("\\VLT", "Stop", "", false));
    std::string back;
    ASSERT_TRUE(GetStringSetting("\\VLT", "Stop", back, false, "default"));
    EXPECT_EQ(back, " ");
}

TEST_F(SettingsStoreTest, NeverWrittenGivesFalseAndTheDefault) {
    std::string back = "before";
    EXPECT_FALSE(GetStringSetting("\\VLT", "Nothing", back, false, "fallback"));
    EXPECT_EQ(back, "fallback");
    RecordingBoxes boxes;
    EXPECT_FALSE(GetStringSetting("\\VLT", "Nothing", back, true, "fallback", &boxes));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0],
              "Error restoring from registry:\nThe setting \"Nothing\" under \\VLT could not be "
              "read; \"fallback\" is used instead.");
}

TEST_F(SettingsStoreTest, TrailingLineBreaksAreStripped) {
    const std::string key = std::string(kMakerKey) + "\\VLT";
    struct Case {
        std::string stored;
        std::string read;
    } cases[] = {{"2024\r\n", "2024"}, {"x\n\n", "x"}, {"a\tb\t", "a\tb"}, {"\r\n", ""}};
    for (const Case& c : cases) {
        ASSERT_TRUE(RegWriteString(RegRoot::CurrentUser, key, "V", c.stored).Succeeded());
        std::string v;
        RegReadString(RegRoot::CurrentUser, key, "V", v);
        EXPECT_EQ(v, c.read);
    }
}

TEST_F(SettingsStoreTest, SaveReplacesTheFileAndLeavesNoTemporaries) {
    for (int i = 0; i < 20; ++i) {
        std::string name = "N";
        name += std::to_string(i);
        ASSERT_TRUE(SaveStringSetting("\\VLT", name, std::to_string(i), false));
    }
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(SettingsFolder())) {
        ++files;
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name == "settings.ini" || name == "settings.ini.lock") << name;
    }
    EXPECT_EQ(files, 2);  // the store and its lock file
    std::string v;
    EXPECT_TRUE(GetStringSetting("\\VLT", "N7", v, false, ""));
    EXPECT_EQ(v, "7");
}

TEST_F(SettingsStoreTest, BatchSavesOnceWhenItCloses) {
    ASSERT_TRUE(SaveStringSetting("\\VLT", "Before", "old", false));
    {
        SettingsBatch batch;
        ASSERT_TRUE(SaveStringSetting("\\VLT", "A", "1", false));
        ASSERT_TRUE(SaveStringSetting("\\VLT\\Year", "0", "2024", false));
        std::string v;
        // Readable at once; the file still holds the old store.
        EXPECT_TRUE(GetStringSetting("\\VLT", "A", v, false, ""));
        EXPECT_EQ(v, "1");
        std::ifstream in(SettingsFilePath());
        const std::string file((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        EXPECT_EQ(file.find("A=1"), std::string::npos);
        EXPECT_NE(file.find("Before=old"), std::string::npos);
    }
    std::string v;
    EXPECT_TRUE(GetStringSetting("\\VLT\\Year", "0", v, false, ""));
    EXPECT_EQ(v, "2024");
    EXPECT_TRUE(GetStringSetting("\\VLT", "Before", v, false, ""));
    EXPECT_EQ(v, "old");
}

TEST_F(SettingsStoreTest, BatchIntoAnUnwritableFolderReportsFailure) {
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "blocker") << "a file, not a folder";
    SetSettingsFolder((folder_ / "blocker" / "Quillon").string());
    SettingsBatch batch;
    EXPECT_FALSE(SaveStringSetting("\\VLT", "A", "1", false));
    EXPECT_TRUE(batch.Commit());  // nothing was accepted, nothing to write
}

TEST_F(SettingsStoreTest, UnwritableFolderFailsWithoutLosingTheOldStore) {
    ASSERT_TRUE(SaveStringSetting("\\VLT", "Kept", "yes", false));
    // A file where the store's folder should be: nothing can be created.
    SetSettingsFolder((folder_ / "Quillon" / "settings.ini" / "deeper").string());
    const SettingsResult status =
        RegWriteString(RegRoot::CurrentUser, std::string(kMakerKey) + "\\VLT", "X", "1");
    EXPECT_EQ(status.status, SettingsStatus::KeyNotCreated);
    EXPECT_NE(status.text.find(" Unable to create (or find) key.  "), std::string::npos)
        << status.text;
    RecordingBoxes boxes;
    EXPECT_FALSE(SaveStringSetting("\\VLT", "X", "", true, &boxes));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0],
              "Error saving to registry:\nThe setting \"X\" under \\VLT could not be saved "
              "(value \" \").");
    SetSettingsFolder((folder_ / "Quillon").string());
    std::string v;
    EXPECT_TRUE(GetStringSetting("\\VLT", "Kept", v, false, ""));
    EXPECT_EQ(v, "yes");
}

TEST_F(SettingsStoreTest, BrokenFilesReadAsNothingSaved) {
    const std::string broken[] = {
        std::string("\0\0\0\xff\xfe garbage", 14),
        "StateSaved=Y\n",                               // value outside any key
        "[Software\\Quillon\\VLT\nStateSaved=Y\n",      // unterminated key
        "[Software\\Quillon\\VLT]\nStateSaved\n=Y\n",   // no name
        "[Software\\Quillon\\VLT]\nStateSaved=Y\\\n",   // dangling escape
        "[Software\\Quillon\\VLT]\nStateSaved=\\x4\n",  // short escape
        "[]\n=\n[[[\n",
    };
    for (const std::string& content : broken) {
        std::filesystem::create_directories(SettingsFolder());
        std::ofstream(SettingsFilePath(), std::ios::binary | std::ios::trunc) << content;
        std::string v;
        EXPECT_FALSE(GetStringSetting("\\VLT", "StateSaved", v, false, "none"));
        EXPECT_EQ(v, "none");
        // A save over a broken file still works and keeps what was readable.
        EXPECT_TRUE(SaveStringSetting("\\VLT", "After", "1", false));
        EXPECT_TRUE(GetStringSetting("\\VLT", "After", v, false, ""));
    }
}

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A save changes only the lines of the values it sets: comments, another
// program's section, lines with escapes this program does not know and
// blank lines stay byte for byte, in their places; a value already in the
// file is rewritten where it stands, a new one goes to the end of its key's
// section.
TEST_F(SettingsStoreTest, SavingKeepsEveryLineItDoesNotWrite) {
    const std::string before =
        "; written by hand\r\n"
        "[Software\\\\Quillon\\\\Other]\n"
        "Colour=blue\n"
        "# not a comment this program knows\n"
        "\n"
        "[Software\\\\Quillon\\\\VLT]\n"
        "; the user's own note\n"
        "Geocentric=Y\n"
        "Odd=\\q not an escape\n"
        "\n"
        "[Software\\\\Quillon\\\\VLT\n"
        "Stray=1\n"
        "[Elsewhere]\n"
        "x=1";  // no line end at the end
    std::filesystem::create_directories(SettingsFolder());
    std::ofstream(SettingsFilePath(), std::ios::binary) << before;
    {
        SettingsBatch batch;
        ASSERT_TRUE(SaveStringSetting("\\VLT", "Geocentric", "N", false));
        ASSERT_TRUE(SaveStringSetting("\\VLT", "TZ0", "26", false));
        ASSERT_TRUE(SaveStringSetting("\\VLT\\Year", "0", "2024", false));
        ASSERT_TRUE(batch.Commit());
    }
    const std::string after =
        "; written by hand\r\n"
        "[Software\\\\Quillon\\\\Other]\n"
        "Colour=blue\n"
        "# not a comment this program knows\n"
        "\n"
        "[Software\\\\Quillon\\\\VLT]\n"
        "; the user's own note\n"
        "Geocentric=N\n"
        "Odd=\\q not an escape\n"
        "TZ0=26\n"
        "\n"
        "[Software\\\\Quillon\\\\VLT\n"
        "Stray=1\n"
        "[Elsewhere]\n"
        "x=1\n"
        "[Software\\\\Quillon\\\\VLT\\\\Year]\n"
        "0=2024\n";
    EXPECT_EQ(FileText(SettingsFilePath()), after);
    // Saving the same values again changes nothing at all.
    ASSERT_TRUE(SaveStringSetting("\\VLT", "Geocentric", "N", false));
    EXPECT_EQ(FileText(SettingsFilePath()), after);
    std::string v;
    EXPECT_TRUE(GetStringSetting("\\VLT", "TZ0", v, false, ""));
    EXPECT_EQ(v, "26");
    EXPECT_FALSE(GetStringSetting("\\VLT", "Odd", v, false, "none"));
    EXPECT_FALSE(GetStringSetting("\\VLT", "Stray", v, false, "none"));
}

// A file far larger than a settings file is neither read nor written: it
// reads as nothing saved, is reported, and stays as it was.
TEST_F(SettingsStoreTest, OversizedFileIsRefusedAndLeftAlone) {
    std::filesystem::create_directories(SettingsFolder());
    std::string big = "[Software\\\\Quillon\\\\VLT]\nStateSaved=Y\n";
    big += std::string(static_cast<std::size_t>(kSettingsFileMaxBytes), ';');
    std::ofstream(SettingsFilePath(), std::ios::binary) << big;
    std::string v;
    EXPECT_FALSE(GetStringSetting("\\VLT", "StateSaved", v, false, "none"));
    EXPECT_NE(SettingsFileProblem().find("settings.ini cannot be read (it is larger than 1 MB)"),
              std::string::npos)
        << SettingsFileProblem();
    EXPECT_FALSE(SaveStringSetting("\\VLT", "A", "1", false));
    {
        SettingsBatch batch;
        SaveStringSetting("\\VLT", "B", "2", false);
        EXPECT_TRUE(batch.Commit());  // nothing was accepted
    }
    EXPECT_EQ(LastSettingsWriteError(), "it is larger than 1 MB");
    EXPECT_EQ(FileText(SettingsFilePath()), big);
}

// The file is read once and kept while it stays the same on disk: a value
// asked for again costs no reading (here: bytes changed behind the store's
// back, with the file's size and time kept, still give the kept value), and
// a file changed on disk is read again.
TEST_F(SettingsStoreTest, FileIsReadOnceWhileItIsUnchanged) {
    ASSERT_TRUE(SaveStringSetting("\\VLT", "A", "1", false));
    std::string v;
    ASSERT_TRUE(GetStringSetting("\\VLT", "A", v, false, ""));
    struct stat st {};
    ASSERT_EQ(::stat(SettingsFilePath().c_str(), &st), 0);
    {
        std::fstream f(SettingsFilePath(), std::ios::in | std::ios::out | std::ios::binary);
        const std::string text = FileText(SettingsFilePath());
        f.seekp(static_cast<std::streamoff>(text.find("A=1") + 2));
        f.put('7');
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, SettingsFilePath().c_str(), times, 0), 0);
    EXPECT_TRUE(GetStringSetting("\\VLT", "A", v, false, ""));
    EXPECT_EQ(v, "1");
    // Rewritten by someone else: read again.
    std::ofstream(SettingsFilePath(), std::ios::binary | std::ios::trunc)
        << "[Software\\\\Quillon\\\\VLT]\nA=22\n";
    EXPECT_TRUE(GetStringSetting("\\VLT", "A", v, false, ""));
    EXPECT_EQ(v, "22");
}

TEST_F(SettingsStoreTest, StoreThatKeepsNothingNeitherReadsNorWrites) {
    ASSERT_TRUE(SaveStringSetting("\\VLT", "Kept", "yes", false));
    const std::string before = FileText(SettingsFilePath());
    UseNoSettingsStore(true);
    std::string v;
    EXPECT_EQ(
        RegReadString(RegRoot::CurrentUser, std::string(kMakerKey) + "\\VLT", "Kept", v).status,
        SettingsStatus::KeyNotFound);
    EXPECT_FALSE(GetStringSetting("\\VLT", "Kept", v, false, "default"));
    EXPECT_EQ(v, "default");
    EXPECT_FALSE(SaveStringSetting("\\VLT", "Kept", "no", false));
    {
        SettingsBatch batch;
        EXPECT_FALSE(SaveStringSetting("\\VLT", "Other", "1", false));
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(SettingsFileProblem(), "");
    UseNoSettingsStore(false);
    EXPECT_EQ(FileText(SettingsFilePath()), before);
    EXPECT_TRUE(GetStringSetting("\\VLT", "Kept", v, false, ""));
    EXPECT_EQ(v, "yes");
}

// Programs saving at the same time, each in a loop of single saves and of
// batches: every value each one saved is in the file at the end.  Without
// the lock around read, change and rename, one program's rename drops what
// the other saved in between.
std::string ValueName(int i, int k) {
    std::string name = "N";
    name += std::to_string(i);
    if (k >= 0) {
        name += "_";
        name += std::to_string(k);
    }
    return name;
}

TEST_F(SettingsStoreTest, ProgramsSavingAtOnceLoseNothing) {
    struct Writer {
        const char* key;
        bool batches;  // three values per batch instead of one per save
    };
    const Writer writers[] = {{"\\A", false}, {"\\B", false}, {"\\C", true}};
    constexpr int kSaves = 60;
    ASSERT_TRUE(SaveStringSetting("\\VLT", "Start", "1", false));
    std::vector<pid_t> children;
    for (const Writer& w : writers) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kSaves && ok; ++i) {
                if (w.batches) {
                    SettingsBatch batch;
                    for (int k = 0; k < 3; ++k) {
                        ok = ok &&
                             SaveStringSetting(w.key, ValueName(i, k), std::to_string(i), false);
                    }
                    ok = ok && batch.Commit();
                } else {
                    ok = SaveStringSetting(w.key, ValueName(i, -1), std::to_string(i), false);
                }
            }
            ::_exit(ok ? 0 : 1);
        }
        ASSERT_GT(pid, 0);
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    }
    // Counted in the file itself, not through the store under test.
    std::ifstream in(SettingsFilePath());
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int lost = 0;
    for (const Writer& w : writers) {
        // The file's section header, its backslashes written twice.
        std::string header = "[Software\\\\Quillon";
        for (const char* c = w.key; *c != '\0'; ++c)
            header += *c == '\\' ? "\\\\" : std::string(1, *c);
        header += "]";
        const std::size_t section = file.find(header);
        ASSERT_NE(section, std::string::npos) << w.key;
        const std::size_t next = file.find("\n[", section + 1);
        const std::string lines =
            file.substr(section, next == std::string::npos ? next : next + 1 - section);
        for (int i = 0; i < kSaves; ++i) {
            for (int k = 0; k < (w.batches ? 3 : 1); ++k) {
                std::string line = "\n";
                line += ValueName(i, w.batches ? k : -1);
                line += "=";
                line += std::to_string(i);
                line += "\n";
                if (lines.find(line) == std::string::npos && ++lost <= 3) {
                    ADD_FAILURE() << w.key << " lost" << line;
                }
            }
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_NE(file.find("Start=1"), std::string::npos);
}

}  // namespace
}  // namespace vlt
