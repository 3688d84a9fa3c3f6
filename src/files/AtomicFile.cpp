#include "AtomicFile.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "FileError.h"

namespace mosaikon {

namespace fs = std::filesystem;

namespace {

std::string writeProblem(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            return "cannot be saved: you have no permission to write in its folder.";
        case ENOENT:
        case ENOTDIR:
            return "cannot be saved: its folder does not exist.";
        case ENOSPC:
            return "cannot be saved: the disk is full.";
        default:
            return "cannot be saved: " + std::generic_category().message(error) + ".";
    }
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : m_target(std::move(target)) {
    const fs::path targetPath(m_target);
    std::error_code error;
    const auto status = fs::status(targetPath, error);
    if (fs::is_directory(status)) {
        throw FileError(m_target, "cannot be saved: it is a folder.");
    }
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        // Renaming would replace it regardless, but a read-only file is meant to stay as it is.
        throw FileError(m_target, "cannot be saved: it is read-only.");
    }

    // A name of our own beside the target; "x" refuses to reuse a file that is already there.
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16 && !m_file; ++attempt) {
        m_temporary = m_target + ".~" + std::to_string(random() % 1000000u) + ".tmp";
        errno = 0;
        m_file.reset(std::fopen(m_temporary.c_str(), "wbx"));
        if (!m_file && errno != EEXIST) {
            throw FileError(m_target, writeProblem(errno));
        }
    }
    if (!m_file) {
        throw FileError(m_target, "cannot be saved: no temporary file could be made beside it.");
    }
}

AtomicFile::~AtomicFile() {
    if (!m_committed) {
        m_file.reset();
        std::error_code ignored;
        fs::remove(m_temporary, ignored);
    }
}

void AtomicFile::fail(const std::string& problem) {
    m_file.reset();
    std::error_code ignored;
    fs::remove(m_temporary, ignored);
    throw FileError(m_target, problem);
}

void AtomicFile::write(std::span<const std::uint8_t> bytes) {
    errno = 0;
    if (!bytes.empty() &&
        std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) != bytes.size()) {
        fail(writeProblem(errno != 0 ? errno : EIO));
    }
}

void AtomicFile::commit() {
    errno = 0;
    std::FILE* file = m_file.release();
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    if (std::fclose(file) != 0 || !flushed) {
        fail(writeProblem(flushError != 0 ? flushError : (errno != 0 ? errno : EIO)));
    }
    std::error_code error;
    const auto existing = fs::status(m_target, error);
    if (fs::exists(existing)) {
        // The new file keeps the permissions of the one it replaces.
        fs::permissions(m_temporary, existing.permissions(), error);
    }
    fs::rename(m_temporary, m_target, error);
    if (error) {
        fail(writeProblem(error.value()));
    }
    m_committed = true;
}

}  // namespace mosaikon
