#include "icon/IconImage.h"

#include <algorithm>
#include <cstring>

#include "FileError.h"
#include "bitmap/DibFormat.h"
#include "bitmap/DibRowDecoder.h"
#include "bytes/FieldReader.h"
#include "png/PngImage.h"

namespace mosaikon {

namespace {

// No bitmap icon image is wider or taller than this; the largest in use are 256, so this only
// stops absurd headers before anything is allocated. PNG images may be of any size: they are
// decoded as they are drawn when large.
constexpr int kMaxIconEdge = 4096;

void checkEdges(int width, int height, const std::string& path) {
    if (width > kMaxIconEdge || height > kMaxIconEdge) {
        throw FileError(path, "has an icon image of " + std::to_string(width) + " × " +
                                  std::to_string(height) + " pixels, larger than any icon (" +
                                  std::to_string(kMaxIconEdge) + " pixels a side at most).");
    }
}

// The AND mask: one bit per pixel, rows from the bottom, each row padded to four bytes. A mask
// that is cut short, or missing, counts as 0 (opaque) where its bytes are absent, which is how
// the desktop draws such icons.
class AndMask {
public:
    AndMask(std::span<const std::uint8_t> bytes, int width, int height)
        : m_bytes(bytes),
          m_stride((static_cast<std::size_t>(width) + 31) / 32 * 4),
          m_height(static_cast<std::size_t>(height)) {}
    bool transparent(std::size_t x, std::size_t y) const {
        const std::size_t at = (m_height - 1 - y) * m_stride + x / 8;
        return at < m_bytes.size() && ((m_bytes[at] >> (7 - x % 8)) & 1) != 0;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_stride;
    std::size_t m_height;
};

Picture decodeDibIcon(std::span<const std::uint8_t> bytes, const std::string& path) {
    const DibHeader header = parseDibHeader(bytes, DibUse::IconImage, path);
    checkEdges(header.width, header.height, path);

    std::size_t at = header.masksEnd;
    std::vector<Pixel> palette;
    if (const std::uint32_t capacity = header.paletteCapacity(); capacity != 0) {
        // A colour count above what the depth can index is clamped, so a huge count cannot make
        // the table run on through the pixels.
        const std::size_t count =
            header.colorsUsed != 0 ? std::min(header.colorsUsed, capacity) : capacity;
        const auto table =
            bytesAt(bytes, at, count * static_cast<std::size_t>(header.paletteEntrySize));
        if (!table) {
            throw FileError(path, "is truncated: an icon image's colour table is cut off.");
        }
        palette = parsePalette(*table, header.paletteEntrySize);
        at += table->size();
    }

    // Both edges are at most kMaxIconEdge, so these products are small.
    const auto stride = static_cast<std::size_t>(header.rowStride());
    const auto width = static_cast<std::size_t>(header.width);
    const auto height = static_cast<std::size_t>(header.height);
    const auto colourRows = bytesAt(bytes, at, stride * height);
    if (!colourRows) {
        throw FileError(path, "is truncated: an icon image's pixels are cut off.");
    }
    const AndMask mask(bytesFrom(bytes, at + stride * height), header.width, header.height);
    const DibRowDecoder decoder(header, std::move(palette), DibUse::IconImage);

    std::vector<Pixel> pixels(width * height);
    for (std::size_t y = 0; y < height; ++y) {
        decoder.decodeRow(colourRows->subspan((height - 1 - y) * stride, stride),
                          std::span<Pixel>(pixels).subspan(y * width, width));
    }
    // A 32-bit image carries its own opacity, unless every alpha byte is 0: older tools wrote
    // such images with the opacity only in the AND mask.
    const bool ownAlpha =
        header.bitCount == 32 && header.compression == DibCompression::Rgb &&
        std::any_of(pixels.begin(), pixels.end(), [](Pixel p) { return pixelAlpha(p) != 0; });
    if (!ownAlpha) {
        for (std::size_t y = 0; y < height; ++y) {
            for (std::size_t x = 0; x < width; ++x) {
                Pixel& p = pixels[y * width + x];
                p = makePixel(pixelColour(p), mask.transparent(x, y) ? 0 : 255);
            }
        }
    }
    return Picture::fromPixels(PictureKind::Icon, header.width, header.height, std::move(pixels));
}

}  // namespace

Picture decodeIconImage(std::span<const std::uint8_t> imageBytes,
                        const std::string& pathForMessages) {
    if (hasPngSignature(imageBytes)) {
        return iconPictureFromPng(imageBytes, pathForMessages);
    }
    return decodeDibIcon(imageBytes, pathForMessages);
}

IconCandidate describeIconImage(std::span<const std::uint8_t> imageBytes,
                                const std::string& pathForMessages) {
    if (hasPngSignature(imageBytes)) {
        const PngSize size = readPngSize(imageBytes, pathForMessages);
        return IconCandidate{size.width, size.height, size.bitCount};
    }
    const DibHeader header = parseDibHeader(imageBytes, DibUse::IconImage, pathForMessages);
    return IconCandidate{header.width, header.height, header.bitCount};
}

}  // namespace mosaikon
