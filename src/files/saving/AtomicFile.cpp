#include "AtomicFile.h"

#include <cerrno>
#include <map>
#include <memory>
#include <system_error>

#include "FileError.h"
#include "platform/FileSystemCalls.h"
#include "saving/SaveTemporaries.h"

namespace mosaikon {

namespace fs = std::filesystem;

namespace {

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
    fs::path current = platform::pathOf(name);
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
    const platform::ExistingFile existing = platform::examine(m_destination);
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
        m_descriptor = platform::createNew(m_temporary);
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
        platform::keepOwnership(m_descriptor, existing);
    }
}

AtomicFile::~AtomicFile() { discardTemporary(); }

void AtomicFile::discardTemporary() noexcept {
    if (m_descriptor >= 0) {
        platform::closeFile(m_descriptor);
        m_descriptor = -1;
    }
    if (!m_temporary.empty()) {
        platform::removeFile(m_temporary);
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
        const long long written = platform::writeSome(m_descriptor, bytes);
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
    if (platform::flushToDisk(m_descriptor) != 0) {
        fail(errno);
    }
    closeAndPlace();
    removeStaleTemporaries(m_folder);
    if (platform::flushFolder(m_folder) != 0) {
        throw notMadePermanent(m_target, errno);
    }
}

void AtomicFile::closeAndPlace() {
    if (m_descriptor < 0) {
        fail(EBADF);
    }
    const int closed = platform::closeFile(m_descriptor);
    m_descriptor = -1;
    if (closed != 0) {
        fail(errno);
    }
    if (platform::replaceFile(m_temporary, m_destination) != 0) {
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
    const bool wholeFileSystem = platform::flushesWholeFileSystem();
    std::map<fs::path, int> folderFlushes;  // folder → errno of its flush, 0 when it worked
    std::map<const AtomicFile*, int> fileFlushes;
    for (const std::unique_ptr<AtomicFile>& file : files) {
        if (!wholeFileSystem) {
            fileFlushes[file.get()] =
                platform::flushFileSystemOf(file->m_descriptor) == 0 ? 0 : errno;
        } else if (!folderFlushes.contains(file->m_folder)) {
            folderFlushes[file->m_folder] =
                platform::flushFileSystemOf(file->m_descriptor) == 0 ? 0 : errno;
        }
    }
    std::map<fs::path, std::vector<std::string>> placed;  // each folder's saved targets
    for (std::unique_ptr<AtomicFile>& file : files) {
        const int flushError =
            wholeFileSystem ? folderFlushes[file->m_folder] : fileFlushes[file.get()];
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
        if (platform::flushFolder(folder) != 0) {
            const int error = errno;
            for (const std::string& target : targets) {
                failures.push_back(notMadePermanent(target, error));
            }
        }
    }
    return failures;
}

}  // namespace mosaikon
