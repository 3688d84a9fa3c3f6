#include "FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "FileError.h"

#ifdef _WIN32
#include <io.h>

#include <filesystem>
#else
#include <unistd.h>
#endif

namespace mosaikon {

namespace {

#ifdef _WIN32
// Windows names reach the program as UTF-8; the wide form is what the system takes.
int openDescriptor(const std::string& path) {
    const std::filesystem::path native(std::u8string(path.begin(), path.end()));
    return ::_wopen(native.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}
using FileStatus = struct ::_stat64;
int statusOfPath(const std::string& path, FileStatus& status) {
    const std::filesystem::path native(std::u8string(path.begin(), path.end()));
    return ::_wstat64(native.c_str(), &status);
}
int statusOfDescriptor(int descriptor, FileStatus& status) {
    return ::_fstat64(descriptor, &status);
}
void closeDescriptor(int descriptor) { ::_close(descriptor); }
// One read at `offset`; the count is at most what `out` holds and fits an unsigned int.
long long readAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> out) {
    if (::_lseeki64(descriptor, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    constexpr std::size_t kMostAtOnce = 1u << 30;
    return ::_read(descriptor, out.data(),
                   static_cast<unsigned>(out.size() < kMostAtOnce ? out.size() : kMostAtOnce));
}
#else
int openDescriptor(const std::string& path) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer forever; the check for a
    // regular file follows at once.
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}
using FileStatus = struct ::stat;
int statusOfPath(const std::string& path, FileStatus& status) {
    return ::stat(path.c_str(), &status);
}
int statusOfDescriptor(int descriptor, FileStatus& status) { return ::fstat(descriptor, &status); }
void closeDescriptor(int descriptor) { ::close(descriptor); }
long long readAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> out) {
    return ::pread(descriptor, out.data(), out.size(), static_cast<off_t>(offset));
}
#endif

// What a failed open or status query means to the person who asked for the file.
std::string accessProblem(const std::string& path, int error) {
    switch (error) {
        case ENOENT:
            return "does not exist (it may have been moved or deleted).";
        case ENOTDIR:
            return "does not exist: a part of its path is a file, not a folder.";
        case EACCES:
        case EPERM: {
            // The same error comes for an unreadable file and for a folder on the way to it that
            // this user may not enter; only the second also hides the file's status.
            FileStatus status{};
            if (statusOfPath(path, status) != 0 && (errno == EACCES || errno == EPERM)) {
                return "cannot be reached: you have no permission to open a folder that leads "
                       "to it.";
            }
            return "cannot be opened: you have no permission to read it.";
        }
#ifdef ELOOP
        case ELOOP:
            return "cannot be opened: its path goes round a loop of symbolic links.";
#endif
        case ENAMETOOLONG:
            return "cannot be opened: its name is longer than the system allows.";
        case EIO:
            return "cannot be read: the disk reported an input/output error.";
        case EMFILE:
        case ENFILE:
            return "cannot be opened: too many files are open at the moment.";
        default:
            return "cannot be opened: " + std::generic_category().message(error) + ".";
    }
}

// Throws unless `status` describes a regular file.
void requireRegularFile(const std::string& path, const FileStatus& status) {
    if ((status.st_mode & S_IFMT) == S_IFDIR) {
        throw FileError(path, "is a folder, not a file.");
    }
    if ((status.st_mode & S_IFMT) != S_IFREG) {
        throw FileError(path, "is not a regular file (it is a device, a pipe or a socket).");
    }
}

// What tells this version of a file from another: the same file number on the same device,
// of the same size, last changed at the same moment.
std::string identityOf(const FileStatus& status) {
#ifdef _WIN32
    const auto changed = static_cast<long long>(status.st_mtime);
#else
    const auto changed = static_cast<long long>(status.st_mtim.tv_sec) * 1'000'000'000LL +
                         static_cast<long long>(status.st_mtim.tv_nsec);
#endif
    return std::to_string(status.st_dev) + ':' + std::to_string(status.st_ino) + ':' +
           std::to_string(status.st_size) + ':' + std::to_string(changed);
}

}  // namespace

FileBytes::FileBytes(std::string path) : m_path(std::move(path)) {
    m_descriptor = open(m_size, m_identity);
}

int FileBytes::open(std::uint64_t& size, std::string& identity) const {
    if (m_path.find('\0') != std::string::npos) {
        throw FileError(m_path, "cannot be opened: its name holds a zero byte.");
    }
    errno = 0;
    const int descriptor = openDescriptor(m_path);
    if (descriptor < 0) {
        throw FileError(m_path, accessProblem(m_path, errno));
    }
    FileStatus status{};
    if (statusOfDescriptor(descriptor, status) != 0) {
        const int error = errno;
        closeDescriptor(descriptor);
        throw FileError(m_path, accessProblem(m_path, error));
    }
    try {
        requireRegularFile(m_path, status);
    } catch (...) {
        closeDescriptor(descriptor);
        throw;
    }
    size = static_cast<std::uint64_t>(status.st_size);
    identity = identityOf(status);
    return descriptor;
}

FileBytes::~FileBytes() { release(); }

void FileBytes::release() {
    if (m_descriptor >= 0) {
        closeDescriptor(m_descriptor);
        m_descriptor = -1;
    }
}

void FileBytes::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    checkInside(*this, offset, out.size());
    if (out.empty()) {
        return;
    }
    if (m_descriptor < 0) {
        std::uint64_t size = 0;
        std::string identity;
        const int descriptor = open(size, identity);
        if (identity != m_identity) {
            closeDescriptor(descriptor);
            throw FileError(m_path, "has changed since it was opened; open it again.");
        }
        m_descriptor = descriptor;
    }
    while (!out.empty()) {
        const long long got = readAt(m_descriptor, offset, out);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            throw FileError(
                m_path, error == EIO
                            ? "could not be read: the disk reported an "
                              "input/output error."
                            : "could not be read: " + std::generic_category().message(error) + ".");
        }
        if (got == 0) {
            throw FileError(m_path,
                            "could not be read to the end: it was cut short while being read.");
        }
        offset += static_cast<std::uint64_t>(got);
        out = out.subspan(static_cast<std::size_t>(got));
    }
}

std::uint64_t fileLength(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        throw FileError(path, "cannot be opened: its name holds a zero byte.");
    }
    FileStatus status{};
    if (statusOfPath(path, status) != 0) {
        throw FileError(path, accessProblem(path, errno));
    }
    requireRegularFile(path, status);
    return static_cast<std::uint64_t>(status.st_size);
}

}  // namespace mosaikon
