#include "BoundedFile.h"

#include <filesystem>
#include <limits>
#include <system_error>

#include "FileError.h"

namespace mosaikon {

namespace {

// Paths arrive as UTF-8 from the dialog; going through char8_t keeps them intact on platforms
// whose narrow encoding is not UTF-8.
std::filesystem::path nativePath(const std::string& path) {
    return {std::u8string(path.begin(), path.end())};
}

}  // namespace

BoundedFile::BoundedFile(const std::string& path) : m_path(path) {
    const std::filesystem::path native = nativePath(path);
    std::error_code error;
    if (std::filesystem::is_directory(native, error)) {
        throw FileError(path, "is a folder, not a file.");
    }
    const std::uintmax_t length = std::filesystem::file_size(native, error);
    if (error) {
        throw FileError(path, "cannot be read: " + error.message() + ".");
    }
    m_stream.open(native, std::ios::binary);
    if (!m_stream) {
        throw FileError(path, "cannot be opened for reading.");
    }
    m_size = length;
}

void BoundedFile::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (out.empty()) {
        return;
    }
    constexpr auto maxOffset =
        static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max());
    if (offset > maxOffset ||
        out.size() > static_cast<std::size_t>(std::numeric_limits<std::streamsize>::max())) {
        throw FileError(m_path, "cannot be read at offset " + std::to_string(offset) + ".");
    }
    m_stream.clear();
    m_stream.seekg(static_cast<std::streamoff>(offset));
    m_stream.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!m_stream || static_cast<std::size_t>(m_stream.gcount()) != out.size()) {
        throw FileError(m_path, "ended early: it may have been changed while it was being read.");
    }
}

}  // namespace mosaikon
