#pragma once
// Replacing a file's content all at once: the bytes go to a new file in the
// same folder, which is renamed over the old one only when every byte has
// reached the disk.  A reader, a crash or a full disk then sees either the
// old file or the new one, never half of one; and a symbolic link standing
// at the name is itself replaced, never followed into another file.

#include <sys/types.h>

#include <string>
#include <string_view>

namespace vlt {

// Writes `bytes` to `path` as described above.  A new file gets
// `permissions` less the process's umask; a file that is replaced keeps its
// own; one the user cannot write to (read-only) is refused, as it would be
// by a write in place.  A device or a pipe (/dev/null, a named pipe, also
// through a link) cannot be replaced and is written as it stands.  `path` is
// taken byte for byte, whatever its encoding.  Returns 0, or
// the system's error number of the step that failed; the old file, if any,
// is then untouched and no temporary file is left behind.
int WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t permissions);

// The folder part of `path` ("." for a bare name) and its last part.
std::string FolderOfPath(const std::string& path);
std::string NameInPath(const std::string& path);

}  // namespace vlt
