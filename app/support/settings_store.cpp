#include "app/support/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/support/escaped_text.h"
#include "app/support/file_bytes.h"

namespace vlt {
namespace {

// Keys and value names compare without regard to case, as in the registry.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    }
};

using Values = std::map<std::string, std::string, NoCaseLess>;
using Store = std::map<std::string, Values, NoCaseLess>;

std::mutex& StoreMutex() {
    static std::mutex m;
    return m;
}

std::string& FolderOverride() {
    static std::string folder;
    return folder;
}

bool& NoStore() {
    static bool none = false;
    return none;
}

std::string SystemMessage(int err) {
    if (err == 0) return "The operation completed successfully.";
    return std::strerror(err);
}

// Escapes a text for one line of the file.  Names escape "=" as well, so
// that the first raw "=" of a line separates name and value.
std::string Escape(const std::string& s, bool isName) {
    return EscapedText(s, true, false, isName ? "=[;" : "");
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Undoes Escape; false for a malformed escape (the line is then ignored).
bool Unescape(const std::string& s, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (i + 1 >= s.size()) return false;
        const char e = s[++i];
        if (e == '\\') {
            out += '\\';
        } else if (e == 'n') {
            out += '\n';
        } else if (e == 'r') {
            out += '\r';
        } else if (e == 'x') {
            if (i + 2 >= s.size()) return false;
            const int hi = HexDigit(s[i + 1]);
            const int lo = HexDigit(s[i + 2]);
            if (hi < 0 || lo < 0) return false;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

// The file as it stands: its lines verbatim (without their line feeds; a CR
// of a CR LF file stays part of its line), so that a save changes only the
// lines of the values it writes and keeps everything else byte for byte:
// comments, other programs' sections, lines this program cannot read.  The
// values it can read are indexed by key and name.
struct Document {
    std::vector<std::string> lines;
    bool finalLineFeed = true;
    Store store;
};

// Parses one line: a section header (key set) or a value line (name and
// value set); false for anything else.
bool ParseHeader(std::string line, std::string& key) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 2 || line[0] != '[' || line.back() != ']') return false;
    return Unescape(line.substr(1, line.size() - 2), key) && !key.empty();
}

bool ParseValue(std::string line, std::string& name, std::string& value) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';' || line[0] == '[') return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    return Unescape(line.substr(0, eq), name) && Unescape(line.substr(eq + 1), value);
}

void Index(Document& doc) {
    doc.store.clear();
    bool inSection = false;
    std::string key;
    for (const std::string& line : doc.lines) {
        if (!line.empty() && line[0] == '[') {
            inSection = ParseHeader(line, key);
            if (inSection) doc.store[key];
            continue;
        }
        std::string name;
        std::string value;
        if (inSection && ParseValue(line, name, value)) doc.store[key][name] = value;
    }
}

Document Parse(const std::string& text) {
    Document doc;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) {
            doc.lines.push_back(text.substr(start));
            doc.finalLineFeed = false;
            break;
        }
        doc.lines.push_back(text.substr(start, lf - start));
        start = lf + 1;
    }
    Index(doc);
    return doc;
}

std::string Serialise(const Document& doc) {
    if (doc.lines.empty()) return std::string();
    std::string text;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        text += doc.lines[i];
        if (i + 1 < doc.lines.size() || doc.finalLineFeed) text += '\n';
    }
    return text;
}

bool SameKey(const std::string& a, const std::string& b) {
    return !NoCaseLess()(a, b) && !NoCaseLess()(b, a);
}

// A new section for the key at the end of the file (after the file's
// heading comment when the file is new).
void AppendSection(Document& doc, const std::string& keyPath) {
    if (doc.lines.empty()) doc.lines.push_back("; Per-user settings of the Quillon programs.");
    std::string header = "[";
    header += Escape(keyPath, false);
    header += ']';
    doc.lines.push_back(header);
    doc.finalLineFeed = true;
}

// Sets one value: its line is rewritten where it stands (the last one, which
// is the one read), a new value goes after the last line of its key's last
// section, a new key at the end of the file.
void SetValue(Document& doc, const std::string& keyPath, const std::string& name,
              const std::string& value) {
    std::string line = Escape(name, true);
    line += '=';
    line += Escape(value, false);
    bool inSection = false;
    std::string key;
    std::ptrdiff_t found = -1;
    std::ptrdiff_t sectionEnd = -1;  // the last non-blank line of the key's section
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const std::string& raw = doc.lines[i];
        if (!raw.empty() && raw[0] == '[') {
            inSection = ParseHeader(raw, key) && SameKey(key, keyPath);
            if (inSection) sectionEnd = static_cast<std::ptrdiff_t>(i);
            continue;
        }
        if (!inSection) continue;
        if (raw.find_first_not_of(" \t\r") != std::string::npos) {
            sectionEnd = static_cast<std::ptrdiff_t>(i);
        }
        std::string n;
        std::string v;
        if (ParseValue(raw, n, v) && SameKey(n, name)) found = static_cast<std::ptrdiff_t>(i);
    }
    if (name.empty()) {
        // Only the key: a section of its own when it has none yet.
        if (sectionEnd < 0) AppendSection(doc, keyPath);
        doc.store[keyPath];
        return;
    }
    if (found >= 0) {
        std::string& raw = doc.lines[static_cast<std::size_t>(found)];
        // A CR LF file keeps its line ends.
        if (!raw.empty() && raw.back() == '\r') line += '\r';
        raw = line;
    } else if (sectionEnd >= 0) {
        const std::string& before = doc.lines[static_cast<std::size_t>(sectionEnd)];
        if (!before.empty() && before.back() == '\r') line += '\r';
        doc.lines.insert(doc.lines.begin() + sectionEnd + 1, line);
    } else {
        AppendSection(doc, keyPath);
        doc.lines.push_back(line);
    }
    if (!name.empty()) doc.store[keyPath][name] = value;
    doc.store[keyPath];
}

// What the file held when it was last read: its identity and size, so that
// it is read again only when it changed.
struct Signature {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNanos = 0;
    bool operator==(const Signature&) const = default;
};

// The file read once and kept; reread only when its signature changes.
struct Cache {
    bool valid = false;
    std::string path;
    Signature signature;
    int error = 0;  // why the file could not be read (0: it was, or is absent)
    Document doc;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

// The file's identity and size; statError is set when it cannot be looked at.
Signature LookAt(const std::string& path, struct stat& st, int& statError) {
    Signature sig;
    if (::stat(path.c_str(), &st) == 0) {
        sig.exists = true;
        sig.device = st.st_dev;
        sig.inode = st.st_ino;
        sig.size = st.st_size;
        sig.modifiedNanos =
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    } else {
        statError = errno;
    }
    return sig;
}

// Reads the whole file, stopping once it grows past kSettingsFileMaxBytes.
// Returns 0 or the system's error number.
int ReadWholeFile(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    int error = 0;
    char block[1 << 14];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0) break;
        text.append(block, static_cast<std::size_t>(n));
        if (static_cast<std::int64_t>(text.size()) > kSettingsFileMaxBytes) {
            error = EFBIG;
            break;
        }
    }
    ::close(fd);
    return error;
}

// Loads the file into the cache when it changed.  A missing file is an empty
// store; a file that cannot be read, is not a regular file or is larger than
// kSettingsFileMaxBytes leaves error set, and is never written over.
void Refresh(const std::string& path) {
    Cache& c = TheCache();
    struct stat st {};
    int statError = 0;
    const Signature sig = LookAt(path, st, statError);
    if (c.valid && c.path == path && c.signature == sig) return;
    c = Cache{};
    c.valid = true;
    c.path = path;
    c.signature = sig;
    if (!sig.exists) {
        // No file (or no folder for it): nothing saved yet.
        if (statError != ENOENT && statError != ENOTDIR) c.error = statError;
        return;
    }
    if (S_ISDIR(st.st_mode)) {
        c.error = EISDIR;
    } else if (!S_ISREG(st.st_mode)) {
        c.error = EINVAL;
    } else if (st.st_size > kSettingsFileMaxBytes) {
        c.error = EFBIG;
    }
    if (c.error != 0) return;
    std::string text;
    c.error = ReadWholeFile(path, text);
    if (c.error == 0) c.doc = Parse(text);
}

std::string ErrorWords(int err) {
    if (err == EINVAL) return "it is not a regular file";
    if (err == EFBIG) return "it is larger than 1 MB";
    return std::strerror(err);
}

int MakeFolders(const std::string& folder) {
    std::string path;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        path = folder.substr(0, pos);
        if (path.empty()) continue;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ENOTDIR;
    return 0;
}

// Writes the whole store beside the old file and renames it over the old
// one.  Returns 0 or the system's error number.
int SaveAtomically(const std::string& folder, const std::string& path, const Document& doc) {
    if (int err = MakeFolders(folder); err != 0) return err;
    const std::string tmp = path + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    const std::string text = Serialise(doc);
    int err = WriteAllBytes(fd, text);
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp.c_str());
        return err;
    }
    // What was written is what the cache holds from now on.
    Cache& c = TheCache();
    c.valid = false;
    Refresh(path);
    return 0;
}

// The advisory lock of the store, on a file beside it (settings.ini.lock),
// held from the moment the file is read for a change until the new file is
// renamed into place.  Without it, two programs saving at once would each
// read the old file, set their own values and rename: the second rename
// would drop the first program's values.  The lock file itself is never
// removed (removing it would let a third program lock a new file while the
// old one is still held).  Closing the descriptor releases the lock, also
// when the program dies.
class StoreFileLock {
public:
    explicit StoreFileLock(const std::string& path) {
        fd_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            // A file system without locks: saved as before, unlocked.
            if (errno != ENOLCK && errno != EOPNOTSUPP) error_ = errno;
            break;
        }
    }
    ~StoreFileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    StoreFileLock(const StoreFileLock&) = delete;
    StoreFileLock& operator=(const StoreFileLock&) = delete;
    int Error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

// Takes the lock and reads the file afresh under it: what another program
// saved a moment ago is the base of this change.  Returns 0, or the error of
// the lock or of the file (a file that cannot be read is never written
// over).
int LockAndReload(const std::string& path, std::optional<StoreFileLock>& lock) {
    lock.emplace(path);
    if (lock->Error() != 0) return lock->Error();
    TheCache().valid = false;
    Refresh(path);
    return TheCache().error;
}

// The open batch: the file as it will be saved, and whether it changed.
struct Batch {
    bool open = false;
    bool loaded = false;
    bool dirty = false;
    Document doc;
    // The values this batch wrote, in order: only these are set on the file
    // when it is saved.
    std::vector<std::array<std::string, 3>> writes;
    int error = 0;  // of the last commit
};

Batch& CurrentBatch() {
    static Batch batch;
    return batch;
}

// The one place a caller's key (such as "\\VLT") becomes the key path of
// the file's sections: always below the maker's key.
std::string FullKeyPath(const std::string& subKey) { return std::string(kMakerKey) + subKey; }

std::string& LastWriteError() {
    static std::string words;
    return words;
}

}  // namespace

SettingsBatch::SettingsBatch() {
    std::lock_guard<std::mutex> lock(StoreMutex());
    CurrentBatch() = Batch{};
    CurrentBatch().open = true;
}

SettingsBatch::~SettingsBatch() {
    Commit();
    std::lock_guard<std::mutex> lock(StoreMutex());
    CurrentBatch() = Batch{};
}

bool SettingsBatch::Commit() {
    std::lock_guard<std::mutex> lock(StoreMutex());
    Batch& b = CurrentBatch();
    if (NoStore()) {
        b.dirty = false;
        b.writes.clear();
        return true;
    }
    if (!b.dirty) return b.error == 0;
    const std::string folder = SettingsFolder();
    const std::string path = folder + "/settings.ini";
    // The file may have been changed by another program since the batch
    // began: its own lines are taken again and this batch's values set on
    // them, so that nothing of theirs is lost.
    b.error = MakeFolders(folder);
    std::optional<StoreFileLock> fileLock;
    if (b.error == 0) b.error = LockAndReload(path, fileLock);
    if (b.error == 0) {
        Document doc = TheCache().doc;
        for (const auto& [key, name, value] : b.writes) SetValue(doc, key, name, value);
        b.error = SaveAtomically(folder, path, doc);
    }
    if (b.error == 0) {
        b.dirty = false;
        b.writes.clear();
    }
    if (b.error != 0) LastWriteError() = ErrorWords(b.error);
    return b.error == 0;
}

std::string SettingsBatch::ErrorText() const {
    std::lock_guard<std::mutex> lock(StoreMutex());
    const int err = CurrentBatch().error;
    return err == 0 ? std::string() : ErrorWords(err);
}

std::string LastSettingsWriteError() {
    std::lock_guard<std::mutex> lock(StoreMutex());
    return LastWriteError();
}

std::string SettingsFileProblem() {
    std::lock_guard<std::mutex> lock(StoreMutex());
    if (NoStore()) return std::string();
    const std::string path = SettingsFilePath();
    Refresh(path);
    const int err = TheCache().error;
    if (err == 0) return std::string();
    return "The settings file " + path + " cannot be read (" + ErrorWords(err) +
           "). The saved program state is not restored, and the file is left as it is.";
}

void SetSettingsFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    FolderOverride() = folder;
    // The file kept in memory is forgotten: the next read takes it afresh.
    TheCache() = Cache{};
}

void UseNoSettingsStore(bool on) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    NoStore() = on;
}

std::string SettingsFolder() {
    if (!FolderOverride().empty()) return FolderOverride();
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr && home[0] != '\0' ? home : ".") + "/.config";
    }
    return base + "/Quillon";
}

std::string SettingsFilePath() { return SettingsFolder() + "/settings.ini"; }

SettingsResult RegWriteString(RegRoot /*root*/, const std::string& keyPath, const std::string& name,
                              const std::string& value) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    if (NoStore()) {
        return {
            SettingsStatus::KeyNotCreated,
            std::to_string(EROFS) + " Unable to create (or find) key.  " + SystemMessage(EROFS)};
    }
    const std::string folder = SettingsFolder();
    const std::string path = folder + "/settings.ini";
    Batch& batch = CurrentBatch();
    int err = MakeFolders(folder);
    bool existed = false;
    // A write outside a batch saves at once, under the lock; a batch's writes
    // wait for its commit, which takes the lock then.
    std::optional<StoreFileLock> fileLock;
    if (err == 0 && !batch.open) {
        err = LockAndReload(path, fileLock);
    } else if (err == 0) {
        Refresh(path);
        err = TheCache().error;  // a file that cannot be read is never written over
    }
    if (err == 0 && batch.open) {
        // The file itself is written when the batch closes.
        if (!batch.loaded) {
            batch.doc = TheCache().doc;
            batch.loaded = true;
        }
        existed = batch.doc.store.find(keyPath) != batch.doc.store.end();
        SetValue(batch.doc, keyPath, name, value);
        batch.writes.push_back({keyPath, name, value});
        batch.dirty = true;
    } else if (err == 0) {
        Document doc = TheCache().doc;
        existed = doc.store.find(keyPath) != doc.store.end();
        SetValue(doc, keyPath, name, value);
        err = SaveAtomically(folder, path, doc);
    }
    if (err != 0) {
        LastWriteError() = ErrorWords(err);
        return {SettingsStatus::KeyNotCreated,
                std::to_string(err) + " Unable to create (or find) key.  " + SystemMessage(err)};
    }
    if (existed) {
        return {SettingsStatus::KeyAlreadyExists, "0 Key already exists.  " + SystemMessage(0)};
    }
    return {SettingsStatus::NewKeyCreated, "0 New key created.  " + SystemMessage(0)};
}

SettingsResult RegReadString(RegRoot /*root*/, const std::string& keyPath, const std::string& name,
                             std::string& value) {
    static const SettingsResult kKeyNotFound{SettingsStatus::KeyNotFound,
                                             "1 Key not found or is empty."};
    value.clear();
    if (keyPath.empty()) return kKeyNotFound;
    std::lock_guard<std::mutex> lock(StoreMutex());
    if (NoStore()) return kKeyNotFound;
    const Batch& batch = CurrentBatch();
    if (!(batch.open && batch.loaded)) Refresh(SettingsFilePath());
    const Store& store = batch.open && batch.loaded ? batch.doc.store : TheCache().doc.store;
    const auto key = store.find(keyPath);
    if (key == store.end()) return kKeyNotFound;
    if (name.empty()) return {SettingsStatus::NameNotSpecified, "2 Name not specified."};
    const auto it = key->second.find(name);
    if (it == key->second.end() || it->second.empty()) {
        return {SettingsStatus::NameNotFound, "3 Name not found."};
    }
    std::string v = it->second;
    while (!v.empty() && static_cast<unsigned char>(v.back()) < 32) v.pop_back();
    value = v;
    return {SettingsStatus::Ok, "0 OK"};
}

bool SaveStringSetting(const std::string& subKey, const std::string& name, const std::string& value,
                       bool reportErrors, MessageBoxes* boxes) {
    const std::string stored = value.empty() ? std::string(" ") : value;
    const bool ok =
        RegWriteString(RegRoot::CurrentUser, FullKeyPath(subKey), name, stored).Succeeded();
    if (!ok && reportErrors && boxes != nullptr) {
        boxes->Show("Error saving to registry:\nThe setting \"" + name + "\" under " + subKey +
                        " could not be saved (value \"" + stored + "\").",
                    " ", MsgButtons::Ok, MsgIcon::None);
    }
    return ok;
}

bool GetStringSetting(const std::string& subKey, const std::string& name, std::string& value,
                      bool reportErrors, const std::string& defaultValue, MessageBoxes* boxes) {
    const bool ok =
        RegReadString(RegRoot::CurrentUser, FullKeyPath(subKey), name, value).Succeeded();
    if (!ok) {
        if (reportErrors && boxes != nullptr) {
            boxes->Show("Error restoring from registry:\nThe setting \"" + name + "\" under " +
                            subKey + " could not be read; \"" + defaultValue +
                            "\" is used instead.",
                        kDefaultTitle, MsgButtons::Ok, MsgIcon::None);
        }
        value = defaultValue;
    }
    return ok;
}

}  // namespace vlt
