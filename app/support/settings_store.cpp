#include "app/support/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

namespace vlt {
namespace {

// Keys and value names compare without regard to case, as in the registry.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
                return std::tolower(x) < std::tolower(y);
            });
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

std::string SystemMessage(int err) {
    if (err == 0) return "The operation completed successfully.";
    return std::strerror(err);
}

// Escapes a text for one line of the file.  Names escape "=" as well, so
// that the first raw "=" of a line separates name and value.
std::string Escape(const std::string& s, bool isName) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size());
    for (unsigned char c : s) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (isName && (c == '=' || c == '[' || c == ';')) {
            out += '\\';
            out += "x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else if (c < 32 || c == 127) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
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

// Reads the store.  A missing, unreadable or garbled file gives what could be
// understood of it, often nothing; never an error.
Store Load(const std::string& path) {
    Store store;
    std::ifstream in(path, std::ios::binary);
    if (!in) return store;
    std::string line;
    Values* section = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            std::string key;
            if (line.size() >= 2 && line.back() == ']' &&
                Unescape(line.substr(1, line.size() - 2), key) && !key.empty()) {
                section = &store[key];
            } else {
                section = nullptr;  // values of a garbled key are dropped
            }
            continue;
        }
        const std::size_t eq = line.find('=');
        if (section == nullptr || eq == std::string::npos || eq == 0) continue;
        std::string name;
        std::string value;
        if (!Unescape(line.substr(0, eq), name) || !Unescape(line.substr(eq + 1), value)) continue;
        (*section)[name] = value;
    }
    return store;
}

std::string Serialise(const Store& store) {
    std::string text = "; Per-user settings of the Quillon programs.  Rewritten on every save.\n";
    for (const auto& [key, values] : store) {
        // Appended piece by piece: building "[" + key + "]" as one
        // temporary trips a false overlap warning of GCC 12 at -O3.
        text += '[';
        text += Escape(key, false);
        text += "]\n";
        for (const auto& [name, value] : values) {
            text += Escape(name, true);
            text += '=';
            text += Escape(value, false);
            text += '\n';
        }
    }
    return text;
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
int SaveAtomically(const std::string& folder, const std::string& path, const Store& store) {
    if (int err = MakeFolders(folder); err != 0) return err;
    const std::string tmp = path + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    const std::string text = Serialise(store);
    std::size_t done = 0;
    int err = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp.c_str());
        return err;
    }
    return 0;
}

// The open batch: the store as it will be saved, and whether it changed.
struct Batch {
    bool open = false;
    bool loaded = false;
    bool dirty = false;
    Store store;
};

Batch& CurrentBatch() {
    static Batch batch;
    return batch;
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
    if (!b.dirty) return true;
    const std::string folder = SettingsFolder();
    const int err = SaveAtomically(folder, folder + "/settings.ini", b.store);
    if (err == 0) b.dirty = false;
    return err == 0;
}

void SetSettingsFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    FolderOverride() = folder;
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

std::string RegWriteString(RegRoot /*root*/, const std::string& keyPath, const std::string& name,
                           const std::string& value) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    const std::string folder = SettingsFolder();
    const std::string path = folder + "/settings.ini";
    Batch& batch = CurrentBatch();
    int err = 0;
    bool existed = false;
    if (batch.open) {
        // The folder must be creatable now, so that the status tells the truth
        // about the key; the file itself is written when the batch closes.
        err = MakeFolders(folder);
        if (err == 0) {
            if (!batch.loaded) {
                batch.store = Load(path);
                batch.loaded = true;
            }
            existed = batch.store.find(keyPath) != batch.store.end();
            Values& values = batch.store[keyPath];
            if (!name.empty()) values[name] = value;
            batch.dirty = true;
        }
    } else {
        Store store = Load(path);
        existed = store.find(keyPath) != store.end();
        Values& values = store[keyPath];
        if (!name.empty()) values[name] = value;
        err = SaveAtomically(folder, path, store);
    }
    if (err != 0) {
        return std::to_string(err) + " Unable to create (or find) key.  " + SystemMessage(err);
    }
    return std::string(existed ? "0 Key already exists." : "0 New key created.") + "  " +
           SystemMessage(0);
}

std::string RegReadString(RegRoot /*root*/, const std::string& keyPath, const std::string& name,
                          std::string& value) {
    value.clear();
    if (keyPath.empty()) return "1 Key not found or is empty.";
    std::lock_guard<std::mutex> lock(StoreMutex());
    const Batch& batch = CurrentBatch();
    const Store store =
        batch.open && batch.loaded ? batch.store : Load(SettingsFolder() + "/settings.ini");
    const auto key = store.find(keyPath);
    if (key == store.end()) return "1 Key not found or is empty.";
    if (name.empty()) return "2 Name not specified.";
    const auto it = key->second.find(name);
    if (it == key->second.end() || it->second.empty()) return "3 Name not found.";
    std::string v = it->second;
    while (!v.empty() && static_cast<unsigned char>(v.back()) < 32) v.pop_back();
    value = v;
    return "0 OK";
}

bool SaveStringSetting(const std::string& subKey, const std::string& name,
                       const std::string& value, bool reportErrors, MessageBoxes* boxes) {
    const std::string stored = value.empty() ? std::string(" ") : value;
    const std::string status =
        RegWriteString(RegRoot::CurrentUser, std::string(kMakerKey) + subKey, name, stored);
    const bool ok = !status.empty() && status[0] == '0';
    if (!ok && reportErrors && boxes != nullptr) {
        boxes->Show("Error saving to registry:\nstrKey=" + subKey + "\nstrName=" + name +
                        "\nstrValue=" + stored,
                    " ", MsgButtons::Ok, MsgIcon::None);
    }
    return ok;
}

bool GetStringSetting(const std::string& subKey, const std::string& name, std::string& value,
                      bool reportErrors, const std::string& defaultValue, MessageBoxes* boxes) {
    const std::string status =
        RegReadString(RegRoot::CurrentUser, std::string(kMakerKey) + subKey, name, value);
    const bool ok = !status.empty() && status[0] == '0';
    if (!ok) {
        if (reportErrors && boxes != nullptr) {
            boxes->Show("Error restoring from registry:\nstrKey=" + subKey + "\nstrName=" + name +
                            "\nstrValue=" + value + "\nstrDefaultValueOnError=" + defaultValue,
                        kDefaultTitle, MsgButtons::Ok, MsgIcon::None);
        }
        value = defaultValue;
    }
    return ok;
}

}  // namespace vlt
