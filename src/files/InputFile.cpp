#include "InputFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "FileError.h"

namespace mosaikon {

namespace {

// Seeking past 2 GiB needs the platform's 64-bit call; std::fseek takes a long, which is
// 32 bits on Windows.
bool seekTo(std::FILE* file, std::uint64_t offset) {
#if defined(_WIN32)
    return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::string openProblem(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "does not exist (it may have been moved or deleted).";
    case EACCES:
    case EPERM:
        return "cannot be opened: you have no permission to read it.";
    default:
        return "cannot be opened: " + std::generic_category().message(error) + ".";
    }
}

}  // namespace

std::uint64_t fileLength(const std::string& path) {
    std::error_code error;
    const std::filesystem::path fsPath(path);
    const auto status = std::filesystem::status(fsPath, error);
    if (error || !std::filesystem::exists(status)) {
        throw FileError(path, "does not exist (it may have been moved or deleted).");
    }
    if (std::filesystem::is_directory(status)) {
        throw FileError(path, "is a folder, not a picture file.");
    }
    const auto length = std::filesystem::file_size(fsPath, error);
    if (error) {
        throw FileError(path, "cannot be measured: " + error.message() + ".");
    }
    return length;
}

InputFile::InputFile(const std::string& path) : m_path(path) {
    m_size = fileLength(path);
    errno = 0;
    m_file.reset(std::fopen(path.c_str(), "rb"));
    if (!m_file) {
        throw FileError(path, openProblem(errno));
    }
}

void InputFile::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > m_size || out.size() > m_size - offset) {
        throw FileError(m_path, "is truncated: it ends before the data it describes.");
    }
    if (out.empty()) {
        return;
    }
    if (!seekTo(m_file.get(), offset) ||
        std::fread(out.data(), 1, out.size(), m_file.get()) != out.size()) {
        // The file was shorter than when it was opened, or the device failed.
        throw FileError(m_path, "could not be read to the end; it may have changed while being read.");
    }
}

std::vector<std::uint8_t> InputFile::readUpTo(std::uint64_t offset, std::uint64_t count) {
    const std::uint64_t available = offset < m_size ? m_size - offset : 0;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(available, count)));
    readAt(offset, bytes);
    return bytes;
}

}  // namespace mosaikon
