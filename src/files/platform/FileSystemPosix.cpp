// The file layer's system calls on POSIX systems: Linux, macOS and the BSDs.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/FileSystemCalls.h"

namespace mosaikon::platform {

namespace fs = std::filesystem;

namespace {

FileStatus statusFrom(const struct stat& info) {
    FileStatus status;
    status.type = S_ISREG(info.st_mode)   ? FileStatus::Type::Regular
                  : S_ISDIR(info.st_mode) ? FileStatus::Type::Folder
                                          : FileStatus::Type::Other;
    status.size = static_cast<std::uint64_t>(info.st_size);
    const auto changed = static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL +
                         static_cast<long long>(info.st_mtim.tv_nsec);
    status.identity = std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino) + ':' +
                      std::to_string(info.st_size) + ':' + std::to_string(changed);
    return status;
}

}  // namespace

int openForReading(const std::string& path) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer forever; the reader's
    // check for a regular file follows at once.
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

int statusOfPath(const std::string& path, FileStatus& status) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return -1;
    }
    status = statusFrom(info);
    return 0;
}

int statusOfDescriptor(int descriptor, FileStatus& status) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        return -1;
    }
    status = statusFrom(info);
    return 0;
}

long long readAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> out) {
    return ::pread(descriptor, out.data(), out.size(), static_cast<off_t>(offset));
}

int closeFile(int descriptor) {
    // After EINTR the descriptor is gone all the same, and its bytes are already on the disk.
    return ::close(descriptor) == 0 || errno == EINTR ? 0 : -1;
}

fs::path pathOf(const std::string& name) { return fs::path(name); }

ExistingFile examine(const fs::path& path) {
    ExistingFile found;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return found;
    }
    found.exists = true;
    found.folder = S_ISDIR(info.st_mode);
    found.mode = static_cast<std::uint32_t>(info.st_mode & 07777);
    found.group = static_cast<std::uint32_t>(info.st_gid);
    // The rename would replace the file whatever its permissions, so they are read here: a
    // file marked read-only stays as it is even for the administrator, who may write anything
    // else, and a file this user may not write stays as it is whoever owns it.
    const int access = ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
    found.onReadOnlyDisk = access == EROFS;
    found.readOnly = (info.st_mode & S_IWUSR) == 0 || access == EACCES || access == EPERM;
    return found;
}

int createNew(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
}

void keepOwnership(int descriptor, const ExistingFile& existing) {
    // The group first: changing it may clear the set-group-id bit, which the mode restores.
    // Only a group this user belongs to may be given (EPERM otherwise); the file then keeps
    // this user's own group, as any new file would, and the save goes on.
    const bool groupKept =
        ::fchown(descriptor, static_cast<uid_t>(-1), static_cast<gid_t>(existing.group)) == 0;
    static_cast<void>(groupKept);
    static_cast<void>(::fchmod(descriptor, static_cast<mode_t>(existing.mode)));
}

long long writeSome(int descriptor, std::span<const std::uint8_t> bytes) {
    return ::write(descriptor, bytes.data(), bytes.size());
}

int flushToDisk(int descriptor) {
#ifdef __APPLE__
    // On macOS fsync() leaves the bytes in the drive's cache; this asks the drive as well.
    if (::fcntl(descriptor, F_FULLFSYNC) == 0) {
        return 0;
    }
#endif
    int result = 0;
    do {
        result = ::fsync(descriptor);
    } while (result != 0 && errno == EINTR);
    return result;
}

// Linux flushes everything written to the file system a descriptor lies on, and waits for it:
// one call in place of one flush per file when several files are saved together.
#ifdef __linux__
bool flushesWholeFileSystem() { return true; }
int flushFileSystemOf(int descriptor) { return ::syncfs(descriptor); }
#else
bool flushesWholeFileSystem() { return false; }
int flushFileSystemOf(int descriptor) { return flushToDisk(descriptor); }
#endif

int replaceFile(const fs::path& from, const fs::path& to) {
    return std::rename(from.c_str(), to.c_str());
}

int flushFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        // A folder we may write but not list cannot be opened; flushing every disk is the one
        // way left to make the rename permanent.
        ::sync();
        return 0;
    }
    const int result = flushToDisk(descriptor);
    const int error = errno;
    ::close(descriptor);
    // Some file systems cannot flush a folder at all (EINVAL); they keep renames in order
    // without it.
    if (result != 0 && error != EINVAL) {
        errno = error;
        return -1;
    }
    return 0;
}

void removeFile(const fs::path& path) { ::unlink(path.c_str()); }

long thisProcess() { return ::getpid(); }

bool processRuns(long process) {
    // EPERM means it runs under another user.
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno != ESRCH;
}

std::string fileNameOf(const fs::path& path) { return path.filename().native(); }

}  // namespace mosaikon::platform
