#include "bitmap/DibFormat.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <optional>

#include "FileError.h"
#include "bytes/FieldReader.h"

namespace mosaikon {

namespace {

// The header layouts follow Microsoft's "BITMAPCOREHEADER structure (wingdi.h)",
// "BITMAPINFOHEADER structure (wingdi.h)" and "BITMAPV5HEADER structure (wingdi.h)" pages.
// Each is parsed by one function that checks its length once and reads its fields in the order
// they are stored (FieldReader), so the byte order of the machine does not matter.

// The size field every header version starts with: it says which version follows.
struct DibHeaderSize {
    std::uint32_t size;
    static constexpr std::size_t kSize = 4;
};

std::optional<DibHeaderSize> parseHeaderSize(std::span<const std::uint8_t> bytes) {
    return parseFields<DibHeaderSize>(bytes,
                                      [](FieldReader& in, DibHeaderSize& h) { h.size = in.u32(); });
}

struct BitmapCoreHeader {
    std::uint32_t size;
    std::uint16_t width;
    std::uint16_t height;
    std::uint16_t planes;
    std::uint16_t bitCount;
    static constexpr std::size_t kSize = dibheadersize::kCore;
};

std::optional<BitmapCoreHeader> parseCoreHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<BitmapCoreHeader>(bytes, [](FieldReader& in, BitmapCoreHeader& h) {
        h.size = in.u32();
        h.width = in.u16();
        h.height = in.u16();
        h.planes = in.u16();
        h.bitCount = in.u16();
    });
}

// Also the start of the V2 to V5 headers and of the OS/2 2.x header. That header may be cut
// after its bit count (16 bytes); the fields it leaves out are then zero.
struct BitmapInfoHeader {
    std::uint32_t size;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t sizeImage;
    std::int32_t xPelsPerMeter;
    std::int32_t yPelsPerMeter;
    std::uint32_t colorsUsed;
    std::uint32_t colorsImportant;
    static constexpr std::size_t kSize = dibheadersize::kInfo;
    static constexpr std::size_t kShortOs2Size = dibheadersize::kOs2Short;
};

std::optional<BitmapInfoHeader> parseInfoHeader(std::span<const std::uint8_t> bytes) {
    // A short header is read as the full one with its missing fields zero.
    std::array<std::uint8_t, BitmapInfoHeader::kSize> full{};
    if (bytes.size() < BitmapInfoHeader::kShortOs2Size) return std::nullopt;
    std::copy_n(bytes.begin(), std::min(bytes.size(), full.size()), full.begin());
    return parseFields<BitmapInfoHeader>(full, [](FieldReader& in, BitmapInfoHeader& h) {
        h.size = in.u32();
        h.width = in.i32();
        h.height = in.i32();
        h.planes = in.u16();
        h.bitCount = in.u16();
        h.compression = in.u32();
        h.sizeImage = in.u32();
        h.xPelsPerMeter = in.i32();
        h.yPelsPerMeter = in.i32();
        h.colorsUsed = in.u32();
        h.colorsImportant = in.u32();
    });
}

// One entry of a colour table: RGBTRIPLE (three bytes, after a core header) or RGBQUAD (four,
// the last of them reserved).
struct PaletteEntry {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    static constexpr std::size_t kTripleSize = 3;
};

std::optional<PaletteEntry> parsePaletteEntry(std::span<const std::uint8_t> bytes,
                                              std::size_t entrySize) {
    return parseFields<PaletteEntry>(bytes, entrySize, [entrySize](FieldReader& in, auto& e) {
        e.blue = in.u8();
        e.green = in.u8();
        e.red = in.u8();
        in.skip(entrySize - PaletteEntry::kTripleSize);  // an RGBQUAD's reserved byte
    });
}

// The red, green and blue masks: inside a V2 or later header, or right after an info header.
struct BitmapColourMasks {
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
    static constexpr std::size_t kOffset = dibheadersize::kInfo;
    static constexpr std::size_t kSize = 12;
};

std::optional<BitmapColourMasks> parseColourMasks(std::span<const std::uint8_t> bytes) {
    return parseFields<BitmapColourMasks>(bytes, [](FieldReader& in, BitmapColourMasks& m) {
        m.red = in.u32();
        m.green = in.u32();
        m.blue = in.u32();
    });
}

// The whole OS/2 2.x header numbers its compressions differently from 3 on: 3 and 4 are its
// own Huffman and 24-bit run-length schemes, not bit fields.
constexpr std::uint32_t kFirstOs2OnlyCompression = 3;

// Anything but the header versions met in real files is one this reader does not know.
bool knownHeaderSize(std::uint32_t size) {
    using namespace dibheadersize;
    switch (size) {
        case kCore:
        case kOs2Short:
        case kInfo:
        case kV2:
        case kV3:
        case kOs2:
        case kV4:
        case kV5:
            return true;
        default:
            return false;
    }
}

std::string compressionName(std::uint32_t compression) {
    switch (compression) {
        case codeOf(DibCompression::Jpeg):
            return "JPEG";
        case codeOf(DibCompression::Png):
            return "PNG";
        default:
            return "number " + std::to_string(compression);
    }
}

// The size field of the header at the start of `bytes`, once the whole header is known to be
// there. `what` names the picture in messages.
std::uint32_t checkedHeaderSize(std::span<const std::uint8_t> bytes, const std::string& what,
                                const std::string& path) {
    const std::optional<DibHeaderSize> declared = parseHeaderSize(bytes);
    if (!declared) {
        throw FileError(path, "is truncated: " + what + " has no complete header.");
    }
    if (!knownHeaderSize(declared->size)) {
        throw FileError(path, "has " + what + " with an unknown header (" +
                                  std::to_string(declared->size) +
                                  " bytes); it is not a bitmap format this program reads.");
    }
    if (bytes.size() < declared->size) {
        throw FileError(path, "is truncated: " + what + "'s header is cut off.");
    }
    return declared->size;
}

// The fields the header versions share, as stored: the core header's, or the info header's
// (which every later version starts with).
struct StoredFields {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows from the top
    int bitCount = 0;
    std::uint32_t compression = codeOf(DibCompression::Rgb);
    std::uint32_t colorsUsed = 0;
    int paletteEntrySize = 4;
};

StoredFields readStoredFields(std::span<const std::uint8_t> header) {
    StoredFields fields;
    if (header.size() == dibheadersize::kCore) {
        const BitmapCoreHeader core = *parseCoreHeader(header);
        fields.width = core.width;
        fields.height = core.height;
        fields.bitCount = core.bitCount;
        fields.paletteEntrySize = PaletteEntry::kTripleSize;
    } else {
        const BitmapInfoHeader info = *parseInfoHeader(header);
        fields.width = info.width;
        fields.height = info.height;
        fields.bitCount = info.bitCount;
        fields.compression = info.compression;
        fields.colorsUsed = info.colorsUsed;
    }
    return fields;
}

// Sets the picture's size and row order from the stored width and height.
void setSize(DibHeader& header, const StoredFields& fields, DibUse use, const std::string& what,
             const std::string& path) {
    // Heights are signed: negative means rows from the top. The negation is done in 64 bits so
    // that the smallest 32-bit value cannot overflow.
    header.topDown = fields.height < 0;
    std::int64_t height = header.topDown ? -fields.height : fields.height;
    if (use == DibUse::IconImage) {
        if (header.topDown) {
            throw FileError(path, "has an icon image stored top-down, which icon files never use.");
        }
        height /= 2;  // the header counts the AND mask's rows too
    }
    const std::int64_t width = fields.width;
    if (width <= 0 || height <= 0 || width > std::numeric_limits<std::int32_t>::max() ||
        height > std::numeric_limits<std::int32_t>::max()) {
        throw FileError(path, "has " + what + " with an impossible size (" + std::to_string(width) +
                                  " × " + std::to_string(height) + " pixels).");
    }
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
}

// The stored compression, when it is one this reader decodes or at least knows.
DibCompression checkedCompression(std::uint32_t compression, std::uint32_t headerSize,
                                  const std::string& path) {
    if (headerSize == dibheadersize::kOs2 && compression >= kFirstOs2OnlyCompression) {
        throw FileError(path, "uses an OS/2 compression that this program does not support.");
    }
    if (compression == codeOf(DibCompression::Jpeg) || compression == codeOf(DibCompression::Png)) {
        throw FileError(path,
                        "holds an embedded " + compressionName(compression) +
                            " picture; only uncompressed and run-length bitmaps can be opened.");
    }
    if (compression > codeOf(kLastDibCompression)) {
        throw FileError(path,
                        "uses an unknown compression (" + compressionName(compression) + ").");
    }
    return static_cast<DibCompression>(compression);
}

// Checks that the depth is one this reader decodes and the compression fits it; true when the
// pixels are bit fields.
bool checkDepthAndCompression(const DibHeader& header, DibUse use, const std::string& what,
                              const std::string& path) {
    const int bpp = header.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        throw FileError(path, "has " + what + " with " + std::to_string(bpp) +
                                  " bits per pixel, which this program does not support.");
    }
    const bool runLength =
        header.compression == DibCompression::Rle4 || header.compression == DibCompression::Rle8;
    const bool rleOk = (header.compression == DibCompression::Rle8 && bpp == 8) ||
                       (header.compression == DibCompression::Rle4 && bpp == 4);
    const bool fieldsOk = (header.compression == DibCompression::Bitfields ||
                           header.compression == DibCompression::AlphaBitfields) &&
                          (bpp == 16 || bpp == 32);
    if (header.compression != DibCompression::Rgb && !rleOk && !fieldsOk) {
        throw FileError(path, "has " + what + " whose compression does not fit its " +
                                  std::to_string(bpp) + " bits per pixel.");
    }
    if (use == DibUse::IconImage && runLength) {
        throw FileError(path, "has a run-length compressed icon image, which icons do not use.");
    }
    return fieldsOk;
}

// Sets the colour masks, and where the header with any separate masks ends.
void setMasks(DibHeader& header, std::span<const std::uint8_t> bytes, bool bitFields,
              const std::string& path) {
    header.masksEnd = header.headerSize;
    if (bitFields) {
        // Masks live inside a V2 or later header; after a plain info header they follow it.
        const std::size_t masksInFile =
            header.compression == DibCompression::AlphaBitfields ? 4 : 3;
        if (header.headerSize == dibheadersize::kInfo) {
            header.masksEnd = dibheadersize::kInfo + 4 * masksInFile;
        }
        const auto masks = parseColourMasks(bytesFrom(bytes, BitmapColourMasks::kOffset));
        if (!masks) {
            throw FileError(path, "is truncated: the bitmap's colour masks are cut off.");
        }
        header.masks = {masks->red, masks->green, masks->blue};
    } else if (header.bitCount == 16) {
        header.masks = {0x7C00u, 0x03E0u, 0x001Fu};  // five bits each
    } else if (header.bitCount == 32) {
        header.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    }
}

}  // namespace

std::uint64_t DibHeader::rowStride() const {
    // At most (2^31 − 1) · 32 + 31 bits: no overflow in 64 bits.
    return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
}

std::uint32_t DibHeader::paletteCapacity() const { return bitCount <= 8 ? (1u << bitCount) : 0u; }

DibHeader parseDibHeader(std::span<const std::uint8_t> bytes, DibUse use, const std::string& path) {
    const std::string what = use == DibUse::IconImage ? "an icon image" : "the bitmap";
    DibHeader header;
    header.headerSize = checkedHeaderSize(bytes, what, path);
    const StoredFields fields = readStoredFields(bytes.first(header.headerSize));
    header.bitCount = fields.bitCount;
    header.colorsUsed = fields.colorsUsed;
    header.paletteEntrySize = fields.paletteEntrySize;
    setSize(header, fields, use, what, path);
    header.compression = checkedCompression(fields.compression, header.headerSize, path);
    const bool bitFields = checkDepthAndCompression(header, use, what, path);
    setMasks(header, bytes, bitFields, path);
    return header;
}

std::vector<Pixel> parsePalette(std::span<const std::uint8_t> table, int entrySize) {
    const auto step = static_cast<std::size_t>(entrySize);
    std::vector<Pixel> palette;
    palette.reserve(table.size() / step);
    for (std::size_t at = 0; at < table.size(); at += step) {
        const std::optional<PaletteEntry> entry = parsePaletteEntry(table.subspan(at), step);
        if (!entry) {
            break;  // a last entry cut short
        }
        palette.push_back(opaquePixel(Colour::fromRgb(entry->red, entry->green, entry->blue)));
    }
    return palette;
}

}  // namespace mosaikon
