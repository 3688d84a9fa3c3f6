#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <system_error>

#include "FileError.h"
#include "saving/SaveTemporaries.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace mosaikon {

namespace fs = std::filesystem;

namespace {

// What a save needs to know of the file it replaces.
struct Existing {
    bool exists = false;
    bool folder = false;
    bool readOnly = false;  // marked read-only, or this user may not write it
    bool onReadOnlyDisk = false;
#ifndef _WIN32
    mode_t mode = 0;
    gid_t group = 0;
#endif
};

// The system calls of a save. Each returns -1 and sets errno on failure, as POSIX calls do.
#ifdef _WIN32

fs::path toPath(const std::string& name) {
    // Windows names reach the program as UTF-8; the wide form is what the system takes.
    return fs::path(std::u8string(name.begin(), name.end()));
}

Existing examine(const fs::path& path) {
    Existing found;
    struct ::_stat64 info {};
    if (::_wstat64(path.c_str(), &info) == 0) {
        found.exists = true;
        found.folder = (info.st_mode & _S_IFDIR) != 0;
        found.readOnly = (info.st_mode & _S_IWRITE) == 0;  // the read-only attribute
    }
    return found;
}

int createNew(const fs::path& path) {
    return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

void keepOwnership(int, const Existing&) {}

long long writeSome(int descriptor, const std::uint8_t* bytes, std::size_t count) {
    constexpr std::size_t kMostAtOnce = 1u << 30;
    return ::_write(descriptor, bytes, static_cast<unsigned>(std::min(count, kMostAtOnce)));
}

int flushToDisk(int descriptor) { return ::_commit(descriptor); }

// Windows has no flush of a whole disk from a file; each file is flushed on its own.
constexpr bool kFlushesWholeFileSystem = false;
int flushFileSystemOf(int descriptor) { return flushToDisk(descriptor); }

int closeFile(int descriptor) { return ::_close(descriptor); }

void removeFile(const fs::path& path) { ::_wunlink(path.c_str()); }

// With "write through" the move is on the disk, folder entry included, when it returns.
int replaceFile(const fs::path& from, const fs::path& to) {
    if (::MoveFileExW(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return 0;
    }
    errno = ::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return -1;
}

int flushFolder(const fs::path&) { return 0; }

#else

fs::path toPath(const std::string& name) { return fs::path(name); }

Existing examine(const fs::path& path) {
    Existing found;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return found;
    }
    found.exists = true;
    found.folder = S_ISDIR(info.st_mode);
    found.mode = info.st_mode & 07777;
    found.group = info.st_gid;
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

void keepOwnership(int descriptor, const Existing& existing) {
    // The group first: changing it may clear the set-group-id bit, which the mode restores.
    // Only a group this user belongs to may be given (EPERM otherwise); the file then keeps
    // this user's own group, as any new file would, and the save goes on.
    const bool groupKept = ::fchown(descriptor, static_cast<uid_t>(-1), existing.group) == 0;
    static_cast<void>(groupKept);
    static_cast<void>(::fchmod(descriptor, existing.mode));
}

long long writeSome(int descriptor, const std::uint8_t* bytes, std::size_t count) {
    return ::write(descriptor, bytes, count);
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

// Flushes everything written to the file system that `descriptor` lies on, and waits for it:
// one call in place of one flush per file when several files are saved together.
#ifdef __linux__
constexpr bool kFlushesWholeFileSystem = true;
int flushFileSystemOf(int descriptor) { return ::syncfs(descriptor); }
#else
constexpr bool kFlushesWholeFileSystem = false;
int flushFileSystemOf(int descriptor) { return flushToDisk(descriptor); }
#endif

int closeFile(int descriptor) {
    // After EINTR the descriptor is gone all the same, and its bytes are already on the disk.
    return ::close(descriptor) == 0 || errno == EINTR ? 0 : -1;
}

void removeFile(const fs::path& path) { ::unlink(path.c_str()); }

int replaceFile(const fs::path& from, const fs::path& to) {
    return std::rename(from.c_str(), to.c_str());
}

// Makes the rename in `folder` permanent.
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

#endif

// As many links as Linux follows in one path before it gives up.
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
#ifdef EDQUOT
        case EDQUOT:
#endif
            return "cannot be saved: the disk is full.";
        case ENAMETOOLONG:
            return "cannot be saved: its name is too long for the disk.";
        case ELOOP:
            return "cannot be saved: it is a link that leads round in a circle.";
        case EIO:
            return "cannot be saved: the disk reported an error while writing it.";
        default:
            return "cannot be saved: " + std::generic_category().message(error) + ".";
    }
}

// The error of a save whose new file is in place but whose folder could not be flushed, so that
// the rename is not known to be permanent.
FileError notMadePermanent(const std::string& target, int error) {
    return FileError(target, "may not be saved: the disk failed to make the save permanent (" +
                                 std::generic_category().message(error) + ").");
}

// The file a save of `name` replaces: `name` itself, or where its chain of symbolic links ends.
// A relative link is read from the folder that holds it. Where the chain ends at nothing, the
// save creates that file, as writing through the link would.
fs::path followLinks(const std::string& name) {
    fs::path current = toPath(name);
    for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            return current;
        }
        const fs::path link = fs::read_symlink(current, error);
        if (error) {
            throw FileError(name, writeProblem(error.default_error_condition().value()));
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    throw FileError(name, writeProblem(ELOOP));
}

}  // namespace

AtomicFile::AtomicFile(std::string target)
    : m_target(std::move(target)), m_destination(followLinks(m_target)) {
    const Existing existing = examine(m_destination);
    if (existing.folder) {
        throw FileError(m_target, "cannot be saved: it is a folder.");
    }
    if (existing.onReadOnlyDisk) {
        throw FileError(m_target, writeProblem(EROFS));
    }
    if (existing.readOnly) {
        throw FileError(m_target, "cannot be saved: it is read-only.");
    }

    m_folder = m_destination.has_parent_path() ? m_destination.parent_path() : fs::path(".");
    // "Exclusive" refuses a name that is already taken; a few fresh names settle such a clash.
    for (int attempt = 0; attempt < 16 && m_descriptor < 0; ++attempt) {
        m_temporary = m_folder / makeTemporaryName();
        m_descriptor = createNew(m_temporary);
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
    if (existing.exists) {
        keepOwnership(m_descriptor, existing);
    }
}

AtomicFile::~AtomicFile() { discardTemporary(); }

void AtomicFile::discardTemporary() noexcept {
    if (m_descriptor >= 0) {
        closeFile(m_descriptor);
        m_descriptor = -1;
    }
    if (!m_temporary.empty()) {
        removeFile(m_temporary);
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
        const long long written = writeSome(m_descriptor, bytes.data(), bytes.size());
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
    closeAndPlace();
    removeStaleTemporaries(m_folder);
    if (flushFolder(m_folder) != 0) {
        throw notMadePermanent(m_target, errno);
    }
}

void AtomicFile::closeAndPlace() {
    if (m_descriptor < 0) {
        fail(EBADF);
    }
    const int closed = closeFile(m_descriptor);
    m_descriptor = -1;
    if (closed != 0) {
        fail(errno);
    }
    if (replaceFile(m_temporary, m_destination) != 0) {
        fail(errno);
    }
    m_temporary.clear();
}

void AtomicFileBatch::add(std::string target, std::span<const std::uint8_t> bytes) {
    auto file = std::make_unique<AtomicFile>(std::move(target));
    file->write(bytes);
    m_files.push_back(std::move(file));
}

std::vector<FileError> AtomicFileBatch::commit() {
    std::vector<FileError> failures;
    std::vector<std::unique_ptr<AtomicFile>> files = std::move(m_files);
    m_files.clear();
    // Every new file reaches the disk before any name points at it: one flush per file system
    // where the system can flush a whole one (the files of one folder share theirs), else one
    // per file. A file whose flush failed is not put in place.
    std::map<fs::path, int> folderFlushes;  // folder → errno of its flush, 0 when it worked
    std::map<const AtomicFile*, int> fileFlushes;
    for (const std::unique_ptr<AtomicFile>& file : files) {
        if (!kFlushesWholeFileSystem) {
            fileFlushes[file.get()] = flushFileSystemOf(file->m_descriptor) == 0 ? 0 : errno;
        } else if (!folderFlushes.contains(file->m_folder)) {
            folderFlushes[file->m_folder] = flushFileSystemOf(file->m_descriptor) == 0 ? 0 : errno;
        }
    }
    std::map<fs::path, std::vector<std::string>> placed;  // each folder's saved targets
    for (std::unique_ptr<AtomicFile>& file : files) {
        const int flushError =
            kFlushesWholeFileSystem ? folderFlushes[file->m_folder] : fileFlushes[file.get()];
        if (flushError != 0) {
            failures.emplace_back(file->m_target, writeProblem(flushError));
            file.reset();  // removes its temporary file
            continue;
        }
        try {
            file->closeAndPlace();
            placed[file->m_folder].push_back(file->m_target);
        } catch (const FileError& failure) {
            failures.push_back(failure);
        }
    }
    // Then each folder once, so that the renames last.
    for (const auto& [folder, targets] : placed) {
        removeStaleTemporaries(folder);
        if (flushFolder(folder) != 0) {
            const int error = errno;
            for (const std::string& target : targets) {
                failures.push_back(notMadePermanent(target, error));
            }
        }
    }
    return failures;
}

}  // namespace mosaikon
