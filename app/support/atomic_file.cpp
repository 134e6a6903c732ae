#include "app/support/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "app/support/file_bytes.h"

namespace vlt {
namespace {

// A name beside the target that no other writer picks: hidden, and unique
// to this process and call.  O_EXCL guards against what is left of a
// crashed writer with the same process number.
int CreateTemporary(const std::string& path, mode_t permissions, std::string& tmp) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOfPath(path);
    const std::string name = NameInPath(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmp = folder + "/." + name + ".tmp-" + std::to_string(::getpid()) + "-" +
              std::to_string(counter++);
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Flushes the data to the device: a full disk may only show here.  Files
// that cannot be synced (a pipe, some special file systems) are taken as
// written.
int SyncFile(int fd) {
    if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS) return 0;
    return errno;
}

// Makes the rename itself durable; a folder that cannot be synced is no
// reason to report the write as failed, since the file is in place.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// A device, a pipe or a socket, also one a link points to: such a file
// cannot be replaced (a rename would put a plain file in the place of
// /dev/null), so it is written as it stands.
bool IsSpecialFile(const std::string& path, const struct stat& atName) {
    struct stat st {};
    if (S_ISLNK(atName.st_mode)) {
        if (::stat(path.c_str(), &st) != 0) return false;  // a dangling link
    } else {
        st = atName;
    }
    return S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) ||
           S_ISSOCK(st.st_mode);
}

int WriteInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = WriteAllBytes(fd, bytes);
    if (err == 0) err = SyncFile(fd);
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameInPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t permissions) {
    const std::string name = NameInPath(path);
    if (name.empty() || name == "." || name == "..") return EISDIR;
    struct stat old {};
    const bool exists = ::lstat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return EISDIR;
    if (IsSpecialFile(path, old)) return WriteInPlace(path, bytes);
    // A file the user made read-only is not replaced behind their back.
    if (exists && S_ISREG(old.st_mode) && ::access(path.c_str(), W_OK) != 0) return errno;
    // A regular file that is replaced keeps its permissions; a link or a
    // new name gets the caller's.
    const bool keepMode = exists && S_ISREG(old.st_mode);
    std::string tmp;
    const int fd = CreateTemporary(path, permissions, tmp);
    if (fd < 0) return errno;
    int err = WriteAllBytes(fd, bytes);
    if (err == 0 && keepMode && ::fchmod(fd, old.st_mode & 07777) != 0) err = errno;
    if (err == 0) err = SyncFile(fd);
    if (::close(fd) != 0 && err == 0) err = errno;
    // rename() replaces the name itself: a symbolic link there is replaced,
    // the file it pointed to is left alone.
    if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp.c_str());
        return err;
    }
    SyncFolder(FolderOfPath(path));
    return 0;
}

}  // namespace vlt
