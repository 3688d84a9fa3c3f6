#include "InputFile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "FileError.h"

namespace mosaikon {

namespace {

// Paths arrive as UTF-8 from the dialog; going through char8_t keeps them intact on platforms
// whose narrow encoding is not UTF-8.
std::filesystem::path nativePath(const std::string& path) {
    return {std::u8string(path.begin(), path.end())};
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
    const std::filesystem::path fsPath = nativePath(path);
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
    m_stream.open(nativePath(path), std::ios::binary);
    if (!m_stream) {
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
    // Offsets and lengths fit the stream's types: both are within the file's size, which the
    // file system reported through the same types.
    m_stream.clear();
    m_stream.seekg(static_cast<std::streamoff>(offset));
    m_stream.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!m_stream || static_cast<std::size_t>(m_stream.gcount()) != out.size()) {
        // The file was shorter than when it was opened, or the device failed.
        throw FileError(m_path,
                        "could not be read to the end; it may have changed while being read.");
    }
}

std::vector<std::uint8_t> InputFile::readUpTo(std::uint64_t offset, std::uint64_t count) {
    const std::uint64_t available = offset < m_size ? m_size - offset : 0;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(available, count)));
    readAt(offset, bytes);
    return bytes;
}

}  // namespace mosaikon
