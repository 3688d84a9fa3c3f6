#include "DibFormat.h"

#include <bit>
#include <cstddef>
#include <limits>

#include "ByteReader.h"
#include "FileError.h"

namespace mosaikon {

namespace {

// The header layouts follow Microsoft's "BITMAPCOREHEADER structure (wingdi.h)",
// "BITMAPINFOHEADER structure (wingdi.h)" and "BITMAPV5HEADER structure (wingdi.h)" pages.
// They are read field by field at these offsets, never copied over raw bytes, so the byte order
// of the machine does not matter.
struct BitmapCoreHeader {
    std::uint32_t bcSize;
    std::uint16_t bcWidth;
    std::uint16_t bcHeight;
    std::uint16_t bcPlanes;
    std::uint16_t bcBitCount;
};
static_assert(sizeof(BitmapCoreHeader) == 12);

struct BitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
    // The V2 (52 bytes), V3 (56), V4 (108) and V5 (124) headers continue with these masks.
    std::uint32_t bV5RedMask;
    std::uint32_t bV5GreenMask;
    std::uint32_t bV5BlueMask;
    std::uint32_t bV5AlphaMask;
};
static_assert(sizeof(BitmapInfoHeader) == 56);

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kOs2V2HeaderSize = 64;

// Header sizes met in real files: core, the OS/2 2.x header cut to 16 bytes, info, V2, V3,
// the full OS/2 2.x header, V4 and V5. Anything else is a header this reader does not know.
bool knownHeaderSize(std::uint32_t size) {
    switch (size) {
        case 12:
        case 16:
        case 40:
        case 52:
        case 56:
        case 64:
        case 108:
        case 124:
            return true;
        default:
            return false;
    }
}

std::string compressionName(std::uint32_t compression) {
    switch (compression) {
        case 4:
            return "JPEG";
        case 5:
            return "PNG";
        default:
            return "number " + std::to_string(compression);
    }
}

}  // namespace

std::uint64_t DibHeader::rowStride() const {
    // At most (2^31 − 1) · 32 + 31 bits: no overflow in 64 bits.
    return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
}

std::uint32_t DibHeader::paletteCapacity() const { return bitCount <= 8 ? (1u << bitCount) : 0u; }

DibHeader parseDibHeader(std::span<const std::uint8_t> bytes, DibUse use, const std::string& path) {
    const ByteReader in(bytes);
    const std::string what = use == DibUse::IconImage ? "an icon image" : "the bitmap";
    const auto size = in.u32(0);
    if (!size) {
        throw FileError(path, "is truncated: " + what + " has no complete header.");
    }
    if (!knownHeaderSize(*size)) {
        throw FileError(path, "has " + what + " with an unknown header (" + std::to_string(*size) +
                                  " bytes); it is not a bitmap format this program reads.");
    }
    if (!in.has(0, *size)) {
        throw FileError(path, "is truncated: " + what + "'s header is cut off.");
    }

    DibHeader header;
    header.headerSize = *size;
    std::int64_t width = 0;
    std::int64_t storedHeight = 0;
    std::uint32_t compression = 0;
    if (*size == kCoreHeaderSize) {
        width = *in.u16(offsetof(BitmapCoreHeader, bcWidth));
        storedHeight = *in.u16(offsetof(BitmapCoreHeader, bcHeight));
        header.bitCount = *in.u16(offsetof(BitmapCoreHeader, bcBitCount));
        header.paletteEntrySize = 3;
    } else {
        width = *in.i32(offsetof(BitmapInfoHeader, biWidth));
        storedHeight = *in.i32(offsetof(BitmapInfoHeader, biHeight));
        header.bitCount = *in.u16(offsetof(BitmapInfoHeader, biBitCount));
        if (*size >= kInfoHeaderSize) {
            compression = *in.u32(offsetof(BitmapInfoHeader, biCompression));
            header.colorsUsed = *in.u32(offsetof(BitmapInfoHeader, biClrUsed));
        }
    }

    // Heights are signed: negative means rows from the top. The negation is done in 64 bits so
    // that the smallest 32-bit value cannot overflow.
    header.topDown = storedHeight < 0;
    std::int64_t height = header.topDown ? -storedHeight : storedHeight;
    if (use == DibUse::IconImage) {
        if (header.topDown) {
            throw FileError(path, "has an icon image stored top-down, which icon files never use.");
        }
        height /= 2;  // the header counts the AND mask's rows too
    }
    if (width <= 0 || height <= 0 || width > std::numeric_limits<std::int32_t>::max() ||
        height > std::numeric_limits<std::int32_t>::max()) {
        throw FileError(path, "has " + what + " with an impossible size (" + std::to_string(width) +
                                  " × " + std::to_string(height) + " pixels).");
    }
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);

    // The full OS/2 2.x header numbers its compressions differently: 3 and 4 are its own
    // Huffman and 24-bit run-length schemes, not bit fields.
    if (*size == kOs2V2HeaderSize && compression >= 3) {
        throw FileError(path, "uses an OS/2 compression that this program does not support.");
    }
    if (compression == 4 || compression == 5) {
        throw FileError(path,
                        "holds an embedded " + compressionName(compression) +
                            " picture; only uncompressed and run-length bitmaps can be opened.");
    }
    if (compression > 6) {
        throw FileError(path,
                        "uses an unknown compression (" + compressionName(compression) + ").");
    }
    header.compression = static_cast<DibCompression>(compression);

    const int bpp = header.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        throw FileError(path, "has " + what + " with " + std::to_string(bpp) +
                                  " bits per pixel, which this program does not support.");
    }
    const bool rleOk = (header.compression == DibCompression::Rle8 && bpp == 8) ||
                       (header.compression == DibCompression::Rle4 && bpp == 4);
    const bool fieldsOk = (header.compression == DibCompression::Bitfields ||
                           header.compression == DibCompression::AlphaBitfields) &&
                          (bpp == 16 || bpp == 32);
    if (header.compression != DibCompression::Rgb && !rleOk && !fieldsOk) {
        throw FileError(path, "has " + what + " whose compression does not fit its " +
                                  std::to_string(bpp) + " bits per pixel.");
    }
    if (use == DibUse::IconImage && (header.compression == DibCompression::Rle4 ||
                                     header.compression == DibCompression::Rle8)) {
        throw FileError(path, "has a run-length compressed icon image, which icons do not use.");
    }

    header.masksEnd = *size;
    if (fieldsOk) {
        // Masks live inside a V2 or later header; after a plain info header they follow it.
        const std::size_t masksInFile =
            header.compression == DibCompression::AlphaBitfields ? 4 : 3;
        std::size_t at = offsetof(BitmapInfoHeader, bV5RedMask);
        if (*size == kInfoHeaderSize) {
            header.masksEnd = kInfoHeaderSize + 4 * masksInFile;
        }
        for (std::size_t i = 0; i < 3; ++i, at += 4) {
            const auto mask = in.u32(at);
            if (!mask) {
                throw FileError(path, "is truncated: the bitmap's colour masks are cut off.");
            }
            header.masks[i] = *mask;
        }
    } else if (bpp == 16) {
        header.masks = {0x7C00u, 0x03E0u, 0x001Fu};
    } else if (bpp == 32) {
        header.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    }
    return header;
}

std::vector<Pixel> parsePalette(std::span<const std::uint8_t> bytes, std::size_t count,
                                int entrySize) {
    std::vector<Pixel> palette;
    palette.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes.data() + i * static_cast<std::size_t>(entrySize);
        palette.push_back(opaquePixel(Colour::fromRgb(entry[2], entry[1], entry[0])));
    }
    return palette;
}

std::uint8_t DibRowDecoder::Channel::scale(std::uint32_t value) const {
    if (bits == 0) {
        return 0;
    }
    const std::uint32_t v = (value & mask) >> shift;
    if (bits >= 8) {
        return static_cast<std::uint8_t>(v >> (bits - 8));
    }
    // Bit replication: five bits abcde become abcdeabc, so full intensity stays 255.
    std::uint32_t scaled = 0;
    int have = 0;
    while (have < 8) {
        scaled = (scaled << bits) | v;
        have += bits;
    }
    return static_cast<std::uint8_t>(scaled >> (have - 8));
}

DibRowDecoder::DibRowDecoder(const DibHeader& header, std::vector<Pixel> palette, DibUse use)
    : m_bitCount(header.bitCount),
      m_alphaFromFourthByte(use == DibUse::IconImage && header.bitCount == 32 &&
                            header.compression == DibCompression::Rgb),
      m_palette(std::move(palette)) {
    for (std::size_t i = 0; i < 3; ++i) {
        Channel& channel = m_channels[i];
        channel.mask = header.masks[i];
        if (channel.mask != 0) {
            channel.shift = std::countr_zero(channel.mask);
            // The span from the lowest to the highest set bit; gaps inside a mask count as bits.
            channel.bits = 32 - std::countl_zero(channel.mask) - channel.shift;
        }
    }
}

Pixel DibRowDecoder::fromMasks(std::uint32_t value) const {
    return opaquePixel(Colour::fromRgb(m_channels[0].scale(value), m_channels[1].scale(value),
                                       m_channels[2].scale(value)));
}

std::uint64_t DibRowDecoder::firstByteOf(int column) const {
    return static_cast<std::uint64_t>(column) * static_cast<std::uint64_t>(m_bitCount) / 8;
}

std::uint64_t DibRowDecoder::endByteOf(int column) const {
    return (static_cast<std::uint64_t>(column) + 1) * static_cast<std::uint64_t>(m_bitCount) / 8 +
           (m_bitCount < 8 ? 1 : 0);
}

Pixel DibRowDecoder::pixel(std::span<const std::uint8_t> bytes, std::uint64_t firstByte,
                           int x) const {
    const std::uint64_t bit =
        static_cast<std::uint64_t>(x) * static_cast<std::uint64_t>(m_bitCount);
    const std::uint8_t* p = bytes.data() + (bit / 8 - firstByte);
    switch (m_bitCount) {
        case 1:
        case 4:
        case 8: {
            const int shift = 8 - m_bitCount - static_cast<int>(bit % 8);
            const std::size_t index = (*p >> shift) & ((1u << m_bitCount) - 1);
            return index < m_palette.size() ? m_palette[index] : opaquePixel(colours::kBlack);
        }
        case 16:
            return fromMasks(static_cast<std::uint32_t>(p[0] | (p[1] << 8)));
        case 24:
            return opaquePixel(Colour::fromRgb(p[2], p[1], p[0]));
        default: {
            const std::uint32_t value =
                static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
            const Pixel colour = fromMasks(value);
            return m_alphaFromFourthByte ? makePixel(pixelColour(colour), p[3]) : colour;
        }
    }
}

void DibRowDecoder::decodeRow(std::span<const std::uint8_t> row, std::span<Pixel> out) const {
    for (std::size_t x = 0; x < out.size(); ++x) {
        out[x] = pixel(row, 0, static_cast<int>(x));
    }
}

}  // namespace mosaikon
