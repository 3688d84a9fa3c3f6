#include "FileBytes.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "FileError.h"
#include "platform/FileSystemCalls.h"

namespace mosaikon {

namespace {

using platform::FileStatus;

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
            if (platform::statusOfPath(path, status) != 0 && (errno == EACCES || errno == EPERM)) {
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
    if (status.type == FileStatus::Type::Folder) {
        throw FileError(path, "is a folder, not a file.");
    }
    if (status.type != FileStatus::Type::Regular) {
        throw FileError(path, "is not a regular file (it is a device, a pipe or a socket).");
    }
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
    const int descriptor = platform::openForReading(m_path);
    if (descriptor < 0) {
        throw FileError(m_path, accessProblem(m_path, errno));
    }
    FileStatus status{};
    if (platform::statusOfDescriptor(descriptor, status) != 0) {
        const int error = errno;
        platform::closeFile(descriptor);
        throw FileError(m_path, accessProblem(m_path, error));
    }
    try {
        requireRegularFile(m_path, status);
    } catch (...) {
        platform::closeFile(descriptor);
        throw;
    }
    size = status.size;
    identity = status.identity;
    return descriptor;
}

FileBytes::~FileBytes() { release(); }

void FileBytes::release() {
    if (m_descriptor >= 0) {
        platform::closeFile(m_descriptor);
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
            platform::closeFile(descriptor);
            throw FileError(m_path, "has changed since it was opened; open it again.");
        }
        m_descriptor = descriptor;
    }
    while (!out.empty()) {
        const long long got = platform::readAt(m_descriptor, offset, out);
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
    if (platform::statusOfPath(path, status) != 0) {
        throw FileError(path, accessProblem(path, errno));
    }
    requireRegularFile(path, status);
    return status.size;
}

}  // namespace mosaikon
