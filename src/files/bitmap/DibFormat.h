#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Picture.h"

namespace mosaikon {

// The lengths of the header versions of a device-independent bitmap met in real files: the
// size field each starts with says which version follows.
namespace dibheadersize {
inline constexpr std::uint32_t kCore = 12;      // BITMAPCOREHEADER, also OS/2 1.x
inline constexpr std::uint32_t kOs2Short = 16;  // the OS/2 2.x header cut after its bit count
inline constexpr std::uint32_t kInfo = 40;      // BITMAPINFOHEADER
inline constexpr std::uint32_t kV2 = 52;        // the info header with red, green, blue masks
inline constexpr std::uint32_t kV3 = 56;        // and an alpha mask
inline constexpr std::uint32_t kOs2 = 64;       // the whole OS/2 2.x header
inline constexpr std::uint32_t kV4 = 108;       // BITMAPV4HEADER
inline constexpr std::uint32_t kV5 = 124;       // BITMAPV5HEADER
}  // namespace dibheadersize

// Compression values of a device-independent bitmap header.
enum class DibCompression : std::uint32_t {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    Bitfields = 3,
    Jpeg = 4,
    Png = 5,
    AlphaBitfields = 6,
};
// The value a header stores for `compression`.
constexpr std::uint32_t codeOf(DibCompression compression) {
    return static_cast<std::uint32_t>(compression);
}
// The last compression of the list above: larger values are none this reader knows.
inline constexpr DibCompression kLastDibCompression = DibCompression::AlphaBitfields;

// Where a DIB comes from decides two things: an icon image's header height counts the colour rows
// and the AND-mask rows together, and only an icon image may take its opacity from a fourth byte.
enum class DibUse { Bitmap, IconImage };

// The facts of a DIB header, checked: sizes positive and in range, a bit depth and compression
// this reader knows, and bit-field masks filled in for every depth that uses them.
struct DibHeader {
    std::uint32_t headerSize = 0;
    int width = 0;
    int height = 0;  // picture rows (an icon image's header says twice as many)
    bool topDown = false;
    int bitCount = 0;
    DibCompression compression = DibCompression::Rgb;
    std::uint32_t colorsUsed = 0;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue, for 16 and 32 bits per pixel
    int paletteEntrySize = 4;              // 3 for the OS/2 1.x core header
    std::size_t masksEnd = 0;              // offset just after the header and any separate masks

    std::uint64_t rowStride() const;        // bytes per stored row, padded to four
    std::uint32_t paletteCapacity() const;  // entries the depth can index; 0 above 8 bits
};

// Reads the header at the start of `bytes`. Throws FileError naming `path`.
DibHeader parseDibHeader(std::span<const std::uint8_t> bytes, DibUse use, const std::string& path);

// The colour table `table` holds, entries of `entrySize` bytes (blue, green, red, [reserved]),
// as opaque pixels: as many entries as the bytes hold whole, never more.
std::vector<Pixel> parsePalette(std::span<const std::uint8_t> table, int entrySize);

}  // namespace mosaikon
