#pragma once

#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace mosaikon {

// A file opened for reading through bounded reads only: every read names its offset and length
// and is checked against the file's size, so a reader never takes more than it asked for and
// never trusts a size field to say how much there is.
class InputFile {
public:
    // Opens `path` (UTF-8); throws FileError when it is missing, a folder, or not readable.
    explicit InputFile(const std::string& path);

    const std::string& path() const { return m_path; }
    std::uint64_t size() const { return m_size; }

    // Fills `out` with the bytes at `offset`; throws FileError ("is truncated") when the file
    // ends before.
    void readAt(std::uint64_t offset, std::span<std::uint8_t> out);
    // Reads min(`count`, what is left from `offset`) bytes.
    std::vector<std::uint8_t> readUpTo(std::uint64_t offset, std::uint64_t count);

private:
    std::string m_path;
    std::ifstream m_stream;
    std::uint64_t m_size = 0;
};

// The length of the file at `path` in bytes; throws FileError when there is no such file.
std::uint64_t fileLength(const std::string& path);

}  // namespace mosaikon
