#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mosaikon {

// The directory in front of the images of an icon file (ICONDIR and ICONDIRENTRY) and of an
// icon group resource in a program file (GRPICONDIR and GRPICONDIRENTRY), as Microsoft's
// "Icons" article lays them out. Both start with the same six-byte header, and their entries
// share their first twelve bytes; then an icon file's entry gives the image's offset in the
// file, a group's entry the number of the image resource.

struct IconDirectoryHeader {
    static constexpr std::size_t kSize = 6;
    std::uint16_t reserved = 0;
    std::uint16_t type = 0;  // 1 for icons, 2 for cursors
    std::uint16_t count = 0;
};

// What an entry of either kind says of its image. In a cursor file the planes and bit-count
// fields hold the hotspot instead, so a reader trusts the image's own header over them.
struct IconEntryDescription {
    static constexpr std::size_t kSize = 12;
    std::uint8_t width = 0;  // 0 means 256
    std::uint8_t height = 0;
    std::uint8_t colourCount = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;    // a cursor's hotspot x
    std::uint16_t bitCount = 0;  // a cursor's hotspot y
    std::uint32_t bytesInResource = 0;

    int widthInPixels() const { return width == 0 ? 256 : width; }
    int heightInPixels() const { return height == 0 ? 256 : height; }
};

// An entry of an icon file's directory.
struct IconFileEntry {
    static constexpr std::size_t kSize = IconEntryDescription::kSize + 4;
    IconEntryDescription image;
    std::uint32_t imageOffset = 0;
};

// An entry of an icon group resource.
struct IconGroupEntry {
    static constexpr std::size_t kSize = IconEntryDescription::kSize + 2;
    IconEntryDescription image;
    std::uint16_t imageId = 0;
};

// Each parses the structure at the start of `bytes`, or gives nothing when `bytes` is shorter.
std::optional<IconDirectoryHeader> parseIconDirectoryHeader(std::span<const std::uint8_t> bytes);
std::optional<IconFileEntry> parseIconFileEntry(std::span<const std::uint8_t> bytes);
std::optional<IconGroupEntry> parseIconGroupEntry(std::span<const std::uint8_t> bytes);

// The largest icon group resource: its header and 65535 entries.
inline constexpr std::uint64_t kMaxIconGroupBytes =
    IconDirectoryHeader::kSize + 0xFFFFull * IconGroupEntry::kSize;

// The entries of the icon group resource in `bytes`: as many as its count gives and its bytes
// hold. Throws FileError, naming `path`, when it is cut short or lists no image.
std::vector<IconGroupEntry> parseIconGroup(std::span<const std::uint8_t> bytes,
                                           const std::string& path);

}  // namespace mosaikon
