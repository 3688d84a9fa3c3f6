#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "FileError.h"
#include "SaveTemporaries.h"

namespace mosaikon {

namespace {

// As many links as the system itself follows in one path before it gives up (Linux's limit).
constexpr int kMaxLinksFollowed = 40;

std::string writeProblem(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "cannot be saved: you have no permission to write in its folder.";
        case EROFS:
            return "cannot be saved: its disk can only be read.";
        case ENOENT:
        case ENOTDIR:
            return "cannot be saved: its folder does not exist.";
        case ENOSPC:
        case EDQUOT:
            return "cannot be saved: the disk is full.";
        case ENAMETOOLONG:
            return "cannot be saved: its name is too long for the disk.";
        case ELOOP:
            return "cannot be saved: it is a link that leads round in a circle.";
        default:
            return "cannot be saved: " + std::generic_category().message(error) + ".";
    }
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save of `path` replaces: `path` itself, or where its chain of symbolic links ends.
// A relative link is read from the folder that holds it. Where the chain ends at nothing, the
// save creates that file, as writing through the link would.
std::string followLinks(const std::string& path) {
    std::string current = path;
    for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
            return current;
        }
        const std::string link = std::filesystem::read_symlink(current, error).native();
        if (error) {
            throw FileError(path, writeProblem(error.value()));
        }
        current = link.starts_with('/') ? link : folderOf(current) + '/' + link;
    }
    throw FileError(path, writeProblem(ELOOP));
}

// Flushes what was written through `descriptor` to the disk itself, not just to its cache.
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

// Makes the rename in `folder` permanent. Returns 0 or the error.
int flushFolder(const std::string& folder) {
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
    return result == 0 || error == EINVAL ? 0 : error;
}

}  // namespace

AtomicFile::AtomicFile(std::string target)
    : m_target(std::move(target)), m_destination(followLinks(m_target)) {
    struct stat existing {};
    const bool replacing = ::stat(m_destination.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode)) {
        throw FileError(m_target, "cannot be saved: it is a folder.");
    }
    // The rename would replace the file whatever its permissions, so they are checked here: a
    // file marked read-only stays as it is even for the administrator, and a file this user may
    // not write stays as it is whoever owns it.
    if (replacing) {
        const int access =
            ::faccessat(AT_FDCWD, m_destination.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
        if (access == EROFS) {
            throw FileError(m_target, writeProblem(EROFS));
        }
        if ((existing.st_mode & S_IWUSR) == 0 || access == EACCES || access == EPERM) {
            throw FileError(m_target, "cannot be saved: it is read-only.");
        }
    }

    m_folder = folderOf(m_destination);
    // "Exclusive" refuses a name that is already taken; a few fresh names settle such a clash.
    for (int attempt = 0; attempt < 16 && m_descriptor < 0; ++attempt) {
        m_temporary = m_folder + '/' + makeTemporaryName();
        m_descriptor =
            ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (m_descriptor < 0 && errno != EEXIST) {
            const int error = errno;
            m_temporary.clear();
            throw FileError(m_target, writeProblem(error));
        }
    }
    if (m_descriptor < 0) {
        m_temporary.clear();
        throw FileError(m_target, "cannot be saved: no temporary file could be made beside it.");
    }
    if (replacing) {
        // The group first: changing it may clear the set-group-id bit, which the mode restores.
        // Only a group this user belongs to may be given (EPERM otherwise); the file then
        // keeps this user's own group, as any new file would.
        static_cast<void>(::fchown(m_descriptor, static_cast<uid_t>(-1), existing.st_gid));
        static_cast<void>(::fchmod(m_descriptor, existing.st_mode & 07777));
    }
}

AtomicFile::~AtomicFile() { discardTemporary(); }

void AtomicFile::discardTemporary() noexcept {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

void AtomicFile::fail(int error) {
    discardTemporary();
    throw FileError(m_target, writeProblem(error != 0 ? error : EIO));
}

void AtomicFile::write(std::span<const std::uint8_t> bytes) {
    if (m_descriptor < 0) {
        fail(EBADF);
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            fail(written < 0 ? errno : EIO);
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
}

void AtomicFile::commit() {
    if (m_descriptor < 0) {
        fail(EBADF);
    }
    // The bytes reach the disk before the name points at them: otherwise a power cut soon
    // after the rename can leave the target empty.
    if (flushToDisk(m_descriptor) != 0) {
        fail(errno);
    }
    const int closed = ::close(m_descriptor);
    m_descriptor = -1;
    // After EINTR the descriptor is gone all the same, and its bytes are already on the disk.
    if (closed != 0 && errno != EINTR) {
        fail(errno);
    }
    if (std::rename(m_temporary.c_str(), m_destination.c_str()) != 0) {
        fail(errno);
    }
    m_temporary.clear();
    removeStaleTemporaries(m_folder);
    if (const int error = flushFolder(m_folder); error != 0) {
        throw FileError(m_target, "may not be saved: the disk failed to make the save permanent (" +
                                      std::generic_category().message(error) + ").");
    }
}

}  // namespace mosaikon
