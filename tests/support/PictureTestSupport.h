#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "Picture.h"

namespace mosaikon::test {

// A folder of the picture test data, e.g. dataPath("gen/hand/bpp1.ico").
std::string dataPath(const std::string& relative);

// A reference picture read with libspng directly, independent of the readers under test.
struct Reference {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
};
Reference readReferencePng(const std::string& path);

// Rows of a tab-separated index, the first line being the column names.
std::vector<std::vector<std::string>> readTsv(const std::string& path);

// Empty when the picture matches; otherwise where and how it differs first. Pixels that are
// fully transparent in both count as equal whatever their colour. With `opaqueOnly` (bitmaps)
// only the colours are compared where the reference is not fully transparent, and every pixel
// of the picture must be opaque.
std::string compareWithReference(const Picture& picture, const Reference& reference,
                                 bool opaqueOnly, int tolerance = 0);

// A fresh folder under the system's temporary folder, removed with the object.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The CRC a PNG chunk ends with, of `bytes` (its type and data).
std::uint32_t pngCrc32(std::span<const std::uint8_t> bytes);
// An icon file whose one entry is the PNG stream `png`.
std::vector<std::uint8_t> iconHolding(const std::vector<std::uint8_t>& png);

// Runs `body` in a child process and gives its result. When the tests run as the administrator,
// whom permissions do not bind, the child runs as the unprivileged user "nobody" instead.
bool withoutPrivileges(const std::function<bool()>& body);

}  // namespace mosaikon::test
