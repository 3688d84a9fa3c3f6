#include "AtomicFile.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include "FileError.h"
#include "platform/FileSystemCalls.h"
#include "saving/SaveProblems.h"
#include "saving/SaveTemporaries.h"

namespace mosaikon {

namespace fs = std::filesystem;

namespace {

// As many links as Linux follows in one path before it gives up.
constexpr int kMaxLinksFollowed = 40;

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

}  // namespace mosaikon
