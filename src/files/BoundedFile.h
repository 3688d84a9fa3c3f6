#pragma once

#include <string>

#include "ByteSource.h"
#include "InputFile.h"

namespace mosaikon {

// A file on disk as a byte source: read only where asked, through the same bounded file
// reading the picture readers use. Nothing is ever read whole, so a program file of any size
// is cheap.
class BoundedFile final : public ByteSource {
public:
    // Opens `path` (UTF-8); throws FileError when it is missing, a folder or unreadable.
    explicit BoundedFile(const std::string& path) : m_file(path) {}

    std::uint64_t size() const override { return m_file.size(); }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override {
        m_file.readAt(offset, out);
    }
    const std::string& name() const override { return m_file.path(); }

private:
    InputFile m_file;
};

}  // namespace mosaikon
