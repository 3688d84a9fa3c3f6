#include "bitmap/BmpReader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <numeric>
#include <optional>

#include "FileError.h"
#include "bitmap/DibFormat.h"
#include "bitmap/DibRowDecoder.h"
#include "bitmap/FileBackedBitmap.h"
#include "bitmap/RleBitmap.h"
#include "bitmap/RleDecoder.h"
#include "bitmap/SampleGrid.h"
#include "bytes/FieldReader.h"

namespace mosaikon {

namespace {

// BITMAPFILEHEADER as Microsoft's "BITMAPFILEHEADER structure (wingdi.h)" page documents it:
// a packed structure, so its 32-bit fields are not aligned; only its type and the offset of
// the pixels matter here.
struct BitmapFileHeader {
    std::uint32_t offBits = 0;
    static constexpr std::size_t kSize = 14;
};

std::optional<BitmapFileHeader> parseFileHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<BitmapFileHeader>(bytes, [](FieldReader& in, BitmapFileHeader& h) {
        in.skip(2);  // the type, "BM", which looksLikeBitmapFile checks
        in.skip(8);  // the file's size and two reserved fields
        h.offBits = in.u32();
    });
}

constexpr std::array<std::uint8_t, 2> kBitmapType{'B', 'M'};

constexpr std::size_t kFileHeaderSize = BitmapFileHeader::kSize;
// Compressed bitmaps up to this size are expanded whatever their stream's length.
constexpr std::uint64_t kAlwaysJustifiedPixels = 1024u * 1024u;
// A V5 header, or an info header and its masks, with room to spare.
constexpr std::size_t kLargestDibHeader = dibheadersize::kV5 + 16;

// Where the colour table lies and how many entries of it there are. A core header's table may be
// shorter than its depth allows (its length is then what fits before the pixels); a table that
// would run into the pixels is cut the same way.
std::vector<Pixel> readPalette(ByteSource& file, const DibHeader& header, std::uint64_t offBits) {
    const std::uint32_t capacity = header.paletteCapacity();
    if (capacity == 0) {
        return {};
    }
    const std::uint64_t start = kFileHeaderSize + header.masksEnd;
    const std::uint32_t declared =
        header.colorsUsed != 0 ? std::min(header.colorsUsed, capacity) : capacity;
    const auto entrySize = static_cast<std::uint64_t>(header.paletteEntrySize);
    const std::uint64_t fits = offBits > start ? (offBits - start) / entrySize : 0;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(declared, fits));
    if (count == 0) {
        throw FileError(file.name(), "has no colour table although its pixels need one.");
    }
    std::vector<std::uint8_t> bytes(count * static_cast<std::size_t>(entrySize));
    file.read(start, bytes);
    return parsePalette(bytes, header.paletteEntrySize);
}

Picture readUncompressed(std::unique_ptr<ByteSource> file, const DibHeader& header,
                         std::vector<Pixel> palette, std::uint64_t offBits) {
    const std::uint64_t stride = header.rowStride();
    const auto height = static_cast<std::uint64_t>(header.height);
    const std::uint64_t available = file->size() - offBits;
    // stride · height may not fit in 64 bits, so compare by division.
    if (stride > available / height) {
        throw FileError(file->name(),
                        "is truncated: it holds fewer pixel rows than its header says (" +
                            std::to_string(header.width) + " × " + std::to_string(header.height) +
                            " pixels).");
    }
    DibRowDecoder decoder(header, std::move(palette), DibUse::Bitmap);
    const std::uint64_t pixels = static_cast<std::uint64_t>(header.width) * height;
    if (pixels > kFileBackedPixels) {
        return Picture(PictureKind::Bitmap,
                       std::make_shared<FileBackedBitmap>(std::move(file), header,
                                                          std::move(decoder), offBits));
    }
    // Small enough to hold: at most kFileBackedPixels pixels, and the rows are in the file.
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride * height));
    file->read(offBits, rows);
    const auto width = static_cast<std::size_t>(header.width);
    std::vector<Pixel> result(static_cast<std::size_t>(pixels));
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        const std::size_t stored = header.topDown ? y : static_cast<std::size_t>(height) - 1 - y;
        decoder.decodeRow(
            std::span<const std::uint8_t>(rows).subspan(stored * static_cast<std::size_t>(stride),
                                                        static_cast<std::size_t>(stride)),
            std::span<Pixel>(result).subspan(y * width, width));
    }
    return Picture::fromPixels(PictureKind::Bitmap, header.width, header.height, std::move(result));
}

Picture readCompressed(std::unique_ptr<ByteSource> file, const DibHeader& header,
                       std::vector<Pixel> palette, std::uint64_t offBits) {
    const std::string& path = file->name();
    if (header.topDown) {
        throw FileError(path,
                        "is a compressed bitmap stored top-down, which the format does not allow.");
    }
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height);
    if (pixels > kMaxCompressedPixels) {
        throw FileError(path, "is a compressed bitmap of " + std::to_string(header.width) + " × " +
                                  std::to_string(header.height) +
                                  " pixels, more than this program can open (" +
                                  std::to_string(kMaxCompressedPixels / (1024 * 1024)) +
                                  " million pixels at most).");
    }
    // Skips and an early end let a few bytes stand for many pixels, but not without limit: a
    // stream must hold at least one byte for every 1024 pixels before it is expanded.
    const std::uint64_t streamBytes = file->size() - offBits;
    if (pixels > kAlwaysJustifiedPixels && pixels / 1024 > streamBytes) {
        throw FileError(path, "is damaged: its compressed data is far too short for its " +
                                  std::to_string(header.width) + " × " +
                                  std::to_string(header.height) + " pixels.");
    }
    // A literal run costs at most two bytes per pixel with its padding, a row end two more. Runs
    // that overshoot their row waste bytes, so four times that much is read, and never more.
    const std::uint64_t longest =
        4 * (pixels * 2 + static_cast<std::uint64_t>(header.height) * 4) + 1024;
    RleStream stream{header, std::move(palette), offBits, std::min(streamBytes, longest)};
    if (pixels <= kFileBackedPixels) {
        std::vector<int> rows(static_cast<std::size_t>(header.height));
        std::iota(rows.begin(), rows.end(), 0);
        std::vector<int> columns(static_cast<std::size_t>(header.width));
        std::iota(columns.begin(), columns.end(), 0);
        SampleGrid whole(rows, columns);
        decodeRle(*file, stream, whole);
        return Picture::fromPixels(PictureKind::Bitmap, header.width, header.height,
                                   whole.takePixels());
    }
    // Too large to hold decoded: one pass now checks the whole stream, so a damaged one is
    // refused at once; drawing decodes it again, keeping what it samples.
    SampleGrid nothing;
    decodeRle(*file, stream, nothing);
    return Picture(PictureKind::Bitmap,
                   std::make_shared<RleBitmap>(std::move(file), std::move(stream)));
}

}  // namespace

bool looksLikeBitmapFile(std::span<const std::uint8_t> head) {
    return startsWith(head, kBitmapType);
}

BitmapHeaders readBitmapHeaders(ByteSource& file) {
    const std::vector<std::uint8_t> head = readUpTo(file, 0, kFileHeaderSize + kLargestDibHeader);
    const auto fileHeader = parseFileHeader(head);
    if (!fileHeader || !looksLikeBitmapFile(head)) {
        throw FileError(file.name(), "is not a bitmap file.");
    }
    const std::uint64_t offBits = fileHeader->offBits;
    const DibHeader header = parseDibHeader(
        std::span<const std::uint8_t>(head).subspan(kFileHeaderSize), DibUse::Bitmap, file.name());
    if (offBits < kFileHeaderSize + header.masksEnd) {
        throw FileError(file.name(), "is damaged: its pixels are said to start inside its header.");
    }
    if (offBits >= file.size()) {
        throw FileError(file.name(),
                        "is truncated: its pixels would start past the end of the file.");
    }
    return {header, offBits};
}

Picture readBitmapFile(std::unique_ptr<ByteSource> file) {
    const auto [header, offBits] = readBitmapHeaders(*file);
    std::vector<Pixel> palette = readPalette(*file, header, offBits);
    if (header.compression == DibCompression::Rle4 || header.compression == DibCompression::Rle8) {
        return readCompressed(std::move(file), header, std::move(palette), offBits);
    }
    return readUncompressed(std::move(file), header, std::move(palette), offBits);
}

}  // namespace mosaikon
