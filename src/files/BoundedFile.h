#pragma once

#include <fstream>
#include <string>

#include "ByteSource.h"

namespace mosaikon {

// A file on disk read only where asked: opening it costs one size query, and every later read
// seeks to its range. Nothing is ever read whole, so a program file of any size is cheap.
class BoundedFile final : public ByteSource {
public:
    // Opens `path` (UTF-8); throws FileError when it is missing, a folder or unreadable.
    explicit BoundedFile(const std::string& path);

    std::uint64_t size() const override { return m_size; }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    const std::string& name() const override { return m_path; }

private:
    std::string m_path;
    std::ifstream m_stream;
    std::uint64_t m_size = 0;
};

}  // namespace mosaikon
