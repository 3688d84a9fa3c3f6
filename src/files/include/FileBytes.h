#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "ByteSource.h"

namespace mosaikon {

// A file on disk as a byte source: only the ranges asked for are read, so a file of any size
// costs what its reader uses. The name is the system's own bytes, kept as given: on POSIX
// systems it is opened exactly as it is, whatever its encoding; on Windows it is UTF-8.
class FileBytes final : public ByteSource {
public:
    // Opens `path` for reading. Throws FileError naming the cause: missing, behind a folder this
    // user may not enter, not readable, a folder or no regular file, or a failing device.
    explicit FileBytes(std::string path);
    ~FileBytes() override;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::uint64_t size() const override { return m_size; }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    const std::string& name() const override { return m_path; }
    // Closes the file; a later read reopens it and throws FileError when it has been removed,
    // replaced or changed since it was first opened.
    void release() override;

private:
    // Opens m_path, throwing FileError naming the cause; returns the descriptor and fills in
    // what identifies the file's present contents.
    int open(std::uint64_t& size, std::string& identity) const;

    std::string m_path;
    std::uint64_t m_size = 0;
    std::string m_identity;  // device, file number, size and time of last change
    int m_descriptor = -1;
};

// The length in bytes of the file at `path`. Throws FileError naming the cause, as FileBytes
// does, when there is no regular file there that this user can reach.
std::uint64_t fileLength(const std::string& path);

}  // namespace mosaikon
