#pragma once
// The per-user settings store: named text values under the maker's key
// "Software\Quillon" and sub-keys below it.  On Linux the store is one file,
// Quillon/settings.ini in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config).  Every write replaces the file through
// a temporary file and a rename, so a crash or a full disk leaves either the
// old or the new store, never half of one.  Each save reads the file afresh,
// sets its values and renames under an advisory lock (flock on
// settings.ini.lock beside it), so that two programs saving at once both
// keep their values.  A write changes only the lines
// of the values it sets: comments, other programs' sections and lines that
// this program cannot read stay as they are.  The file is read once and kept
// in memory until it changes on disk.  Lines that make no sense read as
// nothing saved; a file that cannot be read at all (larger than 1 MB, not a
// regular file, no permission) is never written over.
//
// Each operation reports its outcome as a status, together with the status
// text (a digit, "0" meaning success, a blank and a description) that a user
// or a log may be shown.

#include <string>

#include "app/support/message_box.h"

namespace vlt {

// The settings hive.  Only the current user's exists on this platform.
enum class RegRoot { CurrentUser };

// The key below which the program keeps its values.
inline constexpr const char* kMakerKey = "Software\\Quillon";

enum class SettingsStatus {
    NewKeyCreated,     // write: the key did not exist and was created
    KeyAlreadyExists,  // write: the key existed
    KeyNotCreated,     // write: the store cannot be written
    Ok,                // read: the value was found
    KeyNotFound,       // read: empty key path, or no such key
    NameNotSpecified,  // read: empty value name
    NameNotFound,      // read: no such value, or an empty one
};

struct SettingsResult {
    SettingsStatus status;
    std::string text;

    bool Succeeded() const {
        return status == SettingsStatus::NewKeyCreated ||
               status == SettingsStatus::KeyAlreadyExists || status == SettingsStatus::Ok;
    }
};

// Writes one string value, creating the key when needed.  Status text:
// "0 New key created." / "0 Key already exists." followed by two blanks and
// the system's message for the write; or the error number, a blank,
// "Unable to create (or find) key.", two blanks and the system's message.
SettingsResult RegWriteString(RegRoot root, const std::string& keyPath, const std::string& name,
                              const std::string& value);

// Reads one string value into `value` (empty on failure).  Status text:
// "0 OK", "1 Key not found or is empty.", "2 Name not specified." or
// "3 Name not found.".  Trailing characters below code 32 (line ends) are
// removed from the value.
SettingsResult RegReadString(RegRoot root, const std::string& keyPath, const std::string& name,
                             std::string& value);

// Saves `value` under kMakerKey + subKey; an empty value is stored as a single
// blank.  On failure, with reportErrors set and `boxes` given, a message box
// tells what could not be saved.
bool SaveStringSetting(const std::string& subKey, const std::string& name, const std::string& value,
                       bool reportErrors, MessageBoxes* boxes = nullptr);

// Reads kMakerKey + subKey; on failure `value` becomes `defaultValue` (and,
// with reportErrors set and `boxes` given, a message box tells so).
bool GetStringSetting(const std::string& subKey, const std::string& name, std::string& value,
                      bool reportErrors, const std::string& defaultValue,
                      MessageBoxes* boxes = nullptr);

// Groups many writes into one save of the file: while a batch is open, writes
// change the store in memory; closing the batch saves the file once (through
// the same temporary file and rename).  Saving the window's thirty-odd values
// one file rewrite each would make "Save state" and quitting sluggish.
// Batches do not nest.
class SettingsBatch {
public:
    SettingsBatch();
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;
    // Saves now; true when the file was written (or nothing had changed).
    // The destructor commits what is left.
    bool Commit();
    // Why the last Commit failed, in words ("Permission denied"); "" after
    // a success.
    std::string ErrorText() const;
};

// A settings file larger than this is not the program's: it is neither read
// nor written.
inline constexpr long long kSettingsFileMaxBytes = 1 << 20;

// "" when the settings file can be read (or does not exist yet), else a
// message that names it and says why it is not read and left untouched
// (larger than 1 MB, not a regular file, no permission).
std::string SettingsFileProblem();

// The words for the last failed write or batch commit ("Is a directory").
std::string LastSettingsWriteError();

// The folder that holds the store.  An empty folder restores the default
// (the user's configuration folder); tests point the store elsewhere.
void SetSettingsFolder(const std::string& folder);
// A store that keeps nothing: every read finds nothing and every write is
// refused, and no file or folder is touched.  For front ends that must
// neither read nor write the saved program state (vlt-report).
void UseNoSettingsStore(bool on);
std::string SettingsFolder();
std::string SettingsFilePath();

}  // namespace vlt
